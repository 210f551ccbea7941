// music_output_pc.cpp: the desktop program's music outputs: PulseAudio and SDL audio made quiet
// (quiet_sound_output), then a silent output that says once in a line of ours that the demo plays
// without sound.
#include "music_output_pc.h"

#include <mikmod.h>

#include <algorithm>
#include <array>

#include "quiet_sound_output.h"
#include "software_mixer_driver.h"
#include "vkr_lowLevel.h"

namespace {

// Mixes and drops as many sample frames as the clock has moved on since the last update.
uint32_t ulSilentLastMs = 0;
std::array<SBYTE, 4096> silentMixBuffer;

BOOL SilentIsPresent() { return 1; }

int SilentInit() {
  VKR_SayPlayingWithoutSound();
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

MDRIVER* const* VKR_RegisterDesktopMusicDrivers() {
  static MDRIVER* const drivers[] = {VKR_QuietPulseAudioDriver(), VKR_QuietSDLDriver(),
                                     &drv_silent, nullptr};
  for (MDRIVER* const* driver = drivers; *driver; ++driver) MikMod_RegisterDriver(*driver);
  return drivers;
}
