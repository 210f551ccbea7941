// recorder.cpp: the desktop back end as a recording host: the frame hook hands each composed
// picture to the recording, buttons become key events of the window, bitmaps come from the
// library's capture.
#include "recorder.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "vkr_lowLevel.h"
#include "vkr_winHost.h"
#include "wav_music_driver.h"

extern int g_nDiskWriteFrameID;

namespace {

const char* SaveDesktopBitmap(const char* prefix) {
  static char bitmapFile[4096];
  std::snprintf(bitmapFile, sizeof bitmapFile, "%s_%.6d.bmp", prefix, g_nDiskWriteFrameID);
  return VKR_LowLevelAPI_SaveBMP(prefix) ? bitmapFile : nullptr;
}

void PushButtonKey(uint32_t button, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.type = event.type;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = static_cast<SDLKey>(VKR_WinKeyOfButton(button));
  SDL_PushEvent(&event);
}

void OnFrameComposed(void*) {
  int width = 0, height = 0;
  size_t pitch = 0;
  const uint8_t* pixels = VKR_WinFramePicture(&width, &height, &pitch);
  RecordingFrame(pixels, width, height, pitch);
}

}  // namespace

RecorderResult RecordDemo(const RecorderOptions& options) {
  RecorderResult result;
  result.firstFrameNumber = g_nDiskWriteFrameID;
  const RecordingHost host{SaveDesktopBitmap, PushButtonKey, VKR_WinAdvanceVirtualClock,
                           &result.report};
  if (!RecordingBegin(options, host)) {
    result.status = 1;
    return result;
  }
  // A recording never shows a window, so it neither opens a real one nor copies into it.
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  VKR_WinSetPresenting(false);
  VKR_WinUseVirtualClock(0);
  VKR_WinSetStartupDisplayMode(options.startupDisplayMode);
  VKR_WinSetFrameHook(OnFrameComposed, nullptr);

  DemoHost demoHost;
  demoHost.registerMusicDrivers = VKR_Rec_RegisterMusicDriver;
  demoHost.report = &result.report;
  result.status = VKR_Demo_Run(demoHost);

  VKR_WinSetFrameHook(nullptr, nullptr);
  VKR_WinSetPresenting(true);
  VKR_WinSetStartupDisplayMode(0);
  VKR_WinUseSystemClock();
  RecordingEnd(&result);
  return result;
}
