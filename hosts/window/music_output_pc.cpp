// music_output_pc.cpp: the desktop program's music outputs. libmikmod's ALSA driver is left out on
// purpose: with no sound device it aborts the process inside MikMod_Init. The sound libraries
// print their own complaints when there is no device; those are kept off the terminal, and the
// silent output says once in a line of ours that the demo plays without sound.
#include "music_output_pc.h"

#include <SDL.h>
#include <fcntl.h>
#include <mikmod.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "software_mixer_driver.h"
#include "vkr_lowLevel.h"

namespace {

// Runs a call into a sound library with standard error sent to /dev/null.
template <typename Call>
auto Quietly(Call call) {
  std::fflush(stderr);
  const int saved = ::dup(STDERR_FILENO);
  const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved >= 0 && null >= 0) ::dup2(null, STDERR_FILENO);
  const auto result = call();
  std::fflush(stderr);
  if (saved >= 0 && null >= 0) ::dup2(saved, STDERR_FILENO);
  if (saved >= 0) ::close(saved);
  if (null >= 0) ::close(null);
  return result;
}

// libmikmod's PulseAudio and SDL drivers with their detection and opening made quiet.
MDRIVER drv_quietPulseAudio = drv_pulseaudio;
MDRIVER drv_quietSDL = drv_sdl;

BOOL QuietPulseAudioIsPresent() { return Quietly(drv_pulseaudio.IsPresent); }
int QuietPulseAudioInit() { return Quietly(drv_pulseaudio.Init); }
BOOL QuietSDLIsPresent() { return Quietly(drv_sdl.IsPresent); }
int QuietSDLInit() { return Quietly(drv_sdl.Init); }

// Mixes and drops as many sample frames as the clock has moved on since the last update.
uint32_t ulSilentLastMs = 0;
std::array<SBYTE, 4096> silentMixBuffer;

BOOL SilentIsPresent() { return 1; }

int SilentInit() {
  std::fputs("No sound device found: the demo plays without sound.\n", stderr);
  return VC_Init();
}

int SilentPlayStart() {
  VKR_GetTime(&ulSilentLastMs);
  return VC_PlayStart();
}

void SilentUpdate() {
  uint32_t now = 0;
  VKR_GetTime(&now);
  const uint32_t elapsed = std::min<uint32_t>(now - ulSilentLastMs, 1000);
  ulSilentLastMs = now;
  const uint32_t frameBytes = (md_mode & DMODE_16BITS ? 2 : 1) * (md_mode & DMODE_STEREO ? 2 : 1);
  uint32_t bytes = static_cast<uint32_t>(uint64_t{md_mixfreq} * elapsed / 1000) * frameBytes;
  while (bytes > 0) {
    const uint32_t chunk = std::min<uint32_t>(bytes, silentMixBuffer.size() / frameBytes * frameBytes);
    VC_WriteBytes(silentMixBuffer.data(), chunk);
    bytes -= chunk;
  }
}

MDRIVER drv_silent = VKR_SoftwareMixerDriver(
    "Silent output", "silent",
    {.isPresent = SilentIsPresent, .init = SilentInit, .playStart = SilentPlayStart,
     .update = SilentUpdate});

}  // namespace

void VKR_StartDesktopAudioQuietly() {
  Quietly([] { return SDL_InitSubSystem(SDL_INIT_AUDIO); });
}

MDRIVER* const* VKR_RegisterDesktopMusicDrivers() {
  drv_quietPulseAudio.IsPresent = QuietPulseAudioIsPresent;
  drv_quietPulseAudio.Init = QuietPulseAudioInit;
  drv_quietSDL.IsPresent = QuietSDLIsPresent;
  drv_quietSDL.Init = QuietSDLInit;
  static MDRIVER* const drivers[] = {&drv_quietPulseAudio, &drv_quietSDL, &drv_silent, nullptr};
  for (MDRIVER* const* driver = drivers; *driver; ++driver) MikMod_RegisterDriver(*driver);
  return drivers;
}
