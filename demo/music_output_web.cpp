// music_output_web.cpp: the page's music output. MikMod_Update, once a frame, mixes into a ring
// enough to keep it a little ahead of SDL's audio, whose callback drains it into the page's sound.
// As with a desktop sound server's stream, the sound stops when the frame loop stops updating
// the music (the pause menu) and volume changes are heard after the ring's short delay. The
// callback runs only while the frame loop waits in the browser, so the ring needs no lock.
#include "music_output_web.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "software_mixer_driver.h"

namespace {

constexpr int kChannels = 2;
constexpr size_t kFrameBytes = kChannels * sizeof(int16_t);
// SDL's callback asks for this many sample frames at a time.
constexpr Uint16 kCallbackFrames = 512;
// How far the mix runs ahead of the callback: a callback's worth and two slow frames.
constexpr size_t kAheadFrames = 2048;
constexpr size_t kRingBytes = 4096 * kFrameBytes;

std::array<uint8_t, kRingBytes> ucRing;
size_t ulRingRead = 0, ulRingFill = 0;  // bytes

// SDL's audio callback: the ring's oldest bytes, then silence for what the mix has not reached.
void PlayFromRing(void*, Uint8* stream, int length) {
  size_t wanted = static_cast<size_t>(std::max(length, 0));
  while (wanted > 0 && ulRingFill > 0) {
    const size_t chunk = std::min({wanted, ulRingFill, kRingBytes - ulRingRead});
    std::memcpy(stream, ucRing.data() + ulRingRead, chunk);
    stream += chunk;
    wanted -= chunk;
    ulRingFill -= chunk;
    ulRingRead = (ulRingRead + chunk) % kRingBytes;
  }
  std::memset(stream, 0, wanted);
}

// Mixes until the ring holds kAheadFrames, or less when it is already that far ahead.
void MixIntoRing() {
  const size_t target = kAheadFrames * kFrameBytes;
  while (ulRingFill < target) {
    const size_t write = (ulRingRead + ulRingFill) % kRingBytes;
    const size_t chunk = std::min(target - ulRingFill, kRingBytes - write);
    const ULONG mixed = VC_WriteBytes(reinterpret_cast<SBYTE*>(ucRing.data() + write), chunk);
    if (mixed == 0) break;
    ulRingFill += mixed;
  }
}

BOOL WebIsPresent() { return SDL_WasInit(SDL_INIT_AUDIO) != 0; }

int WebInit() {
  if (VC_Init() != 0) return 1;
  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(md_mixfreq);
  wanted.format = AUDIO_S16LSB;
  wanted.channels = kChannels;
  wanted.samples = kCallbackFrames;
  wanted.callback = PlayFromRing;
  if (SDL_OpenAudio(&wanted, nullptr) != 0) {
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
  ulRingRead = ulRingFill = 0;
  if (VC_PlayStart() != 0) return 1;
  SDL_PauseAudio(0);
  return 0;
}

void WebPlayStop() {
  SDL_PauseAudio(1);
  VC_PlayStop();
}

MDRIVER drv_web = VKR_SoftwareMixerDriver(
    "Page audio", "page",
    {.isPresent = WebIsPresent, .init = WebInit, .exit = WebExit, .playStart = WebPlayStart,
     .playStop = WebPlayStop, .update = MixIntoRing});

}  // namespace

MDRIVER* const* VKR_RegisterWebMusicDrivers() {
  static MDRIVER* const drivers[] = {&drv_web, nullptr};
  MikMod_RegisterDriver(&drv_web);
  return drivers;
}
