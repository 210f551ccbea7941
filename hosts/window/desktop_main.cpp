// desktop_main.cpp: main for a program on the desktop back end: a window unless the options ask
// for a recording or --headless.
#include "desktop_host.h"

int main(int argc, char** argv) { return DesktopHost_Main(argc, argv, DesktopHostSettings{}); }
