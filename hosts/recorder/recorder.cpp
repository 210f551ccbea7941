// recorder.cpp: the desktop back end as a recording host: the frame hook hands each composed
// picture to the recording, buttons become key events of the window, bitmaps come from the
// library's capture, the program's music is mixed in step with the virtual clock.
#include "recorder.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "vkr_lowLevel.h"
#include "vkr_winHost.h"

extern int g_nDiskWriteFrameID;

namespace {

const char* SaveDesktopBitmap(const char* prefix) {
  static char bitmapFile[4096];
  std::snprintf(bitmapFile, sizeof bitmapFile, "%s_%.6d.bmp", prefix, g_nDiskWriteFrameID);
  return VKR_LowLevelAPI_SaveBMP(prefix) ? bitmapFile : nullptr;
}

}  // namespace

void VKR_WinPushButtonKey(uint32_t button, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.type = event.type;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = static_cast<SDLKey>(VKR_WinKeyOfButton(button));
  SDL_PushEvent(&event);
}

namespace {

void OnFrameComposed(void*) {
  int width = 0, height = 0;
  size_t pitch = 0;
  const uint8_t* pixels = VKR_WinFramePicture(&width, &height, &pitch);
  RecordingFrame(pixels, width, height, pitch);
}

// A recording never shows a window, so it neither opens a real one nor copies into it.
void SetUpDesktop(const RecorderOptions& options) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  VKR_WinSetPresenting(false);
  VKR_WinUseVirtualClock(0);
  VKR_WinSetStartupDisplayMode(options.startupDisplayMode);
  VKR_WinSetFrameHook(OnFrameComposed, nullptr);
}

void TakeDownDesktop() {
  VKR_WinSetFrameHook(nullptr, nullptr);
  VKR_WinSetPresenting(true);
  VKR_WinSetStartupDisplayMode(0);
  VKR_WinUseSystemClock();
}

}  // namespace

RecorderResult RecordOnDesktop(const RecorderOptions& options) {
  RecordingHost host{SaveDesktopBitmap, VKR_WinPushButtonKey, VKR_WinAdvanceVirtualClock};
  host.nowMs = [] { return uint64_t{VKR_WinNowMS()}; };
  host.setUp = SetUpDesktop;
  host.tearDown = TakeDownDesktop;
  return RecordProgram(options, host, g_nDiskWriteFrameID);
}
