// quiet_sound_output.cpp: sound library calls with standard error sent to /dev/null for their
// duration, and the one line that replaces what they would have said. libmikmod's ALSA driver is
// left out of every output list on purpose: with no sound device it aborts the process inside
// MikMod_Init.
#include "quiet_sound_output.h"

#include <SDL.h>
#include <fcntl.h>
#include <mikmod.h>
#include <unistd.h>

#include <cstdio>

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

MDRIVER drv_quietPulseAudio = drv_pulseaudio;
MDRIVER drv_quietSDL = drv_sdl;

BOOL QuietPulseAudioIsPresent() { return Quietly(drv_pulseaudio.IsPresent); }
int QuietPulseAudioInit() { return Quietly(drv_pulseaudio.Init); }
BOOL QuietSDLIsPresent() { return Quietly(drv_sdl.IsPresent); }
int QuietSDLInit() { return Quietly(drv_sdl.Init); }

}  // namespace

void VKR_StartDesktopAudioQuietly() {
  Quietly([] { return SDL_InitSubSystem(SDL_INIT_AUDIO); });
}

MDRIVER* VKR_QuietPulseAudioDriver() {
  drv_quietPulseAudio.IsPresent = QuietPulseAudioIsPresent;
  drv_quietPulseAudio.Init = QuietPulseAudioInit;
  return &drv_quietPulseAudio;
}

MDRIVER* VKR_QuietSDLDriver() {
  drv_quietSDL.IsPresent = QuietSDLIsPresent;
  drv_quietSDL.Init = QuietSDLInit;
  return &drv_quietSDL;
}

void VKR_SayPlayingWithoutSound() {
  std::fputs("No sound device found: the demo plays without sound.\n", stderr);
}
