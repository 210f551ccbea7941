// entry_handheld.cpp: the entry point of copperbramble, the console's program.
#include "demo_main.h"
#include "music_output_handheld.h"

int main(int, char**) {
  DemoHost host;
  host.registerMusicDrivers = VKR_RegisterHandheldMusicDrivers;
  return VKR_Demo_Run(host);
}
