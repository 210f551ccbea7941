// libmikmod set-up and capture for the music tests.
#include "mikmod_mixdown.h"

bool StartMikMod() {
  static const bool started = [] {
    MikMod_RegisterDriver(&drv_nos);
    MikMod_RegisterLoader(&load_it);
    md_mixfreq = kMixRate;
    md_mode = DMODE_16BITS | DMODE_STEREO | DMODE_SOFT_SNDFX | DMODE_SOFT_MUSIC;
    return MikMod_Init("") == 0;
  }();
  return started;
}

std::vector<std::int16_t> MixDown(MODULE* module, double max_seconds) {
  constexpr int kChunkFrames = 256;  // 11.6 ms: the resolution of the measured length
  std::vector<std::int16_t> frames;
  std::int16_t chunk[2 * kChunkFrames];
  const std::size_t limit = static_cast<std::size_t>(max_seconds * kMixRate) * 2;
  Player_Start(module);
  while (Player_Active() && frames.size() < limit) {
    VC_WriteBytes(reinterpret_cast<SBYTE*>(chunk), sizeof chunk);
    frames.insert(frames.end(), chunk, chunk + 2 * kChunkFrames);
  }
  Player_Stop();
  return frames;
}
