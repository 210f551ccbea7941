// entry_web.cpp: the entry point of copperbramble-web, the desktop program on a web page. The
// page learns of every frame shown (Module.cbOnFrame) and of the end (Module.cbOnExit), when it
// defines them.
#include <emscripten.h>

#include "demo_main.h"
#include "music_output_web.h"
#include "tinymenu_vol.h"
#include "vkr_winHost.h"

namespace {

DemoReport report;

// After each composed frame once the demo part has painted: the demo time of the last paint
// (what the frame shows), the volume level the overlay shows and whether the pause menu is open.
void TellPageOfFrame(void*) {
  if (report.paints == 0) return;
  const int menuOpen = VKR_TMV_TinyMenu_GetState() == 1;
  EM_ASM({ if (Module['cbOnFrame']) Module['cbOnFrame']($0 >>> 0, $1, $2); }, report.lastPaintMs,
         VKR_TMV_Vol_GetLevel(), menuOpen);
}

}  // namespace

int main(int, char**) {
  DemoHost host;
  host.registerMusicDrivers = VKR_RegisterWebMusicDrivers;
  host.report = &report;
  VKR_WinSetFrameHook(TellPageOfFrame, nullptr);
  const int status = VKR_Demo_Run(host);
  VKR_WinSetFrameHook(nullptr, nullptr);
  EM_ASM({ if (Module['cbOnExit']) Module['cbOnExit']($0); }, status);
  return status;
}
