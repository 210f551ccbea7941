// record_main.cpp: copperbramble-record, which records the demo on the desktop back end
// frame-exact to a video: pictures and music in step with a virtual clock, optionally as a
// television shows it and with timed key presses.
#include "demo_layout.h"
#include "desktop_host.h"

int main(int argc, char** argv) {
  DesktopHostSettings settings;
  settings.alwaysRecord = true;
  settings.progressBar = true;
  settings.expectedRunMs = kDemoPartEndMs;
  return DesktopHost_Main(argc, argv, settings);
}
