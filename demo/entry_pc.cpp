// entry_pc.cpp: the entry point of copperbramble-pc.
#include "demo_main.h"
#include "music_output_pc.h"

int main(int, char**) {
  VKR_StartDesktopAudioQuietly();
  DemoHost host;
  host.registerMusicDrivers = VKR_RegisterDesktopMusicDrivers;
  return VKR_Demo_Run(host);
}
