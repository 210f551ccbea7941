// sim_sound.cpp: the simulated console's sound output. The console's own output device is not
// simulated; the mix is played on the host in real-time mode (quietly, as the desktop program
// plays it), or taken and dropped at the pace of the console's clock, so the music keeps time with
// the virtual clock and, in real time, where the host has no sound device.
#include "sim_sound.h"

#include <mikmod.h>

#include <algorithm>
#include <array>

#include "quiet_sound_output.h"
#include "sim.h"
#include "software_mixer_driver.h"

namespace {

// The console time up to which the mix has been taken; main thread only.
uint64_t g_ulSimSoundTakenNs = 0;
std::array<SBYTE, 4096> g_scSimSoundBuffer;

BOOL PacedIsPresent() { return 1; }

int PacedPlayStart() {
  g_ulSimSoundTakenNs = SimNowNs();
  return VC_PlayStart();
}

void PacedUpdate() {
  const uint64_t now = SimNowNs();
  const uint64_t elapsedNs = std::min<uint64_t>(now - g_ulSimSoundTakenNs, 1000000000);
  const uint32_t frameBytes = (md_mode & DMODE_16BITS ? 2 : 1) * (md_mode & DMODE_STEREO ? 2 : 1);
  const uint64_t sampleFrames = uint64_t{md_mixfreq} * elapsedNs / 1000000000;
  g_ulSimSoundTakenNs += sampleFrames * 1000000000 / std::max<uint64_t>(md_mixfreq, 1);
  if (now - g_ulSimSoundTakenNs > 1000000000) g_ulSimSoundTakenNs = now;
  uint64_t bytes = sampleFrames * frameBytes;
  while (bytes > 0) {
    const uint32_t chunk = static_cast<uint32_t>(
        std::min<uint64_t>(bytes, g_scSimSoundBuffer.size() / frameBytes * frameBytes));
    VC_WriteBytes(g_scSimSoundBuffer.data(), chunk);
    bytes -= chunk;
  }
}

int SilentInit() {
  VKR_SayPlayingWithoutSound();
  return VC_Init();
}

MDRIVER drv_simPaced = VKR_SoftwareMixerDriver(
    "Console clock paced output", "simpaced",
    {.isPresent = PacedIsPresent, .playStart = PacedPlayStart, .update = PacedUpdate});
// The same in real time where the host's outputs did not open: said once.
MDRIVER drv_simSilent = VKR_SoftwareMixerDriver(
    "Silent output", "simsilent",
    {.isPresent = PacedIsPresent, .init = SilentInit, .playStart = PacedPlayStart,
     .update = PacedUpdate});

}  // namespace

MDRIVER* const* SimRegisterSoundDrivers() {
  static MDRIVER* const realTime[] = {VKR_QuietPulseAudioDriver(), VKR_QuietSDLDriver(),
                                      &drv_simSilent, nullptr};
  static MDRIVER* const paced[] = {&drv_simPaced, nullptr};
  MDRIVER* const* drivers = SimCurrentConfig().realTime ? realTime : paced;
  for (MDRIVER* const* driver = drivers; *driver; ++driver) MikMod_RegisterDriver(*driver);
  return drivers;
}
