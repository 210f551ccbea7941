// web_main.cpp: main for a program on a web page: the desktop back end on the page's canvas, the
// music through Web Audio, the second core's commands on the page's one thread. The page learns of every frame shown (Module.cbOnFrame, with the time
// the program reported for its paint) and of the end (Module.cbOnExit), when it defines them.
#include <emscripten.h>

#include <cstdint>
#include <vector>

#include "music_output_web.h"
#include "program_host.h"
#include "vkr_host.h"
#include "vkr_winHost.h"

namespace {

// Frames composed since the program started: what a program that reports no paints has its
// frames keyed by, as in the recorder.
uint32_t g_ulWebFramesShown = 0;

void TellPageOfFrame(void*) {
  const ProgramPaints& paints = Host_Paints();
  const uint32_t frame = g_ulWebFramesShown++;
  const uint32_t programMs = paints.paints ? paints.lastPaintMs : frame;
  EM_ASM({ if (Module['cbOnFrame']) Module['cbOnFrame']($0 >>> 0); }, programMs);
}

}  // namespace

int main(int argc, char** argv) {
  Host_SetMusicDrivers(VKR_RegisterWebMusicDrivers);
  VKR_WinRunSecondCoreOnCaller(true);
  Host_SetProgramArguments(std::vector<char*>(argv, argv + argc));
  VKR_WinSetFrameHook(TellPageOfFrame, nullptr);
  const int status = AppMain(Host_ProgramArgumentCount(), Host_ProgramArguments());
  VKR_WinSetFrameHook(nullptr, nullptr);
  EM_ASM({ if (Module['cbOnExit']) Module['cbOnExit']($0); }, status);
  return status;
}
