// music_output_web.cpp: the page's music output: libmikmod's software mixer run by SDL's audio
// callback, which the page's sound asks for a little ahead of playing it. While the player is
// paused (the pause menu) the callback hands out silence, so the music stops as it does in the
// window, where nothing is mixed while paused. The callback runs only while the frame loop waits
// in the browser, never inside a libmikmod call, so it needs no lock.
#include "music_output_web.h"

#include <SDL.h>

#include <cstring>

#include "software_mixer_driver.h"

namespace {

// Sample frames a callback fills: 23 ms at 22050 Hz.
constexpr Uint16 kCallbackFrames = 512;

void MixForPage(void*, Uint8* stream, int length) {
  if (length <= 0) return;
  const ULONG bytes = static_cast<ULONG>(length);
  if (Player_Paused() || VC_WriteBytes(reinterpret_cast<SBYTE*>(stream), bytes) != bytes)
    std::memset(stream, 0, bytes);
}

BOOL WebIsPresent() { return SDL_WasInit(SDL_INIT_AUDIO) != 0; }

int WebInit() {
  if (VC_Init() != 0) return 1;
  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(md_mixfreq);
  wanted.format = AUDIO_S16LSB;
  wanted.channels = (md_mode & DMODE_STEREO) ? 2 : 1;
  wanted.samples = kCallbackFrames;
  wanted.callback = MixForPage;
  if (!(md_mode & DMODE_16BITS) || SDL_OpenAudio(&wanted, nullptr) != 0) {
    VC_Exit();
    MikMod_errno = MMERR_OPENING_AUDIO;
    return 1;
  }
  return 0;
}

void WebExit() {
  SDL_CloseAudio();
  VC_Exit();
}

int WebPlayStart() {
  if (VC_PlayStart() != 0) return 1;
  SDL_PauseAudio(0);
  return 0;
}

void WebPlayStop() {
  SDL_PauseAudio(1);
  VC_PlayStop();
}

// The callback mixes; a frame's update has nothing left to do.
void WebUpdate() {}

MDRIVER drv_web = VKR_SoftwareMixerDriver(
    "Page audio", "page",
    {.isPresent = WebIsPresent, .init = WebInit, .exit = WebExit, .playStart = WebPlayStart,
     .playStop = WebPlayStop, .update = WebUpdate});

}  // namespace

MDRIVER* const* VKR_RegisterWebMusicDrivers() {
  static MDRIVER* const drivers[] = {&drv_web, nullptr};
  MikMod_RegisterDriver(&drv_web);
  return drivers;
}
