// entry_pc.cpp: the entry point of copperbramble-pc.
#include "demo_main.h"
#include "music_output_pc.h"
#include "vkr_winHost.h"

int main(int, char**) {
  VKR_StartDesktopAudioQuietly();
  DemoHost host;
  host.registerMusicDrivers = VKR_RegisterDesktopMusicDrivers;
  // Closing the window ends the demo the way Exit does.
  host.endRequested = VKR_WinCloseRequested;
  return VKR_Demo_Run(host);
}
