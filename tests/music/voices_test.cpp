// Each tonal voice sounds at the pitch its notes name: a C-5 played by libmikmod comes out at
// middle C. This checks the loop lengths and playback rates the synthesizer derives together.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "it_writer.h"
#include "mikmod_mixdown.h"
#include "voices.h"

using namespace mkmusic;

namespace {

constexpr double kMiddleC = 261.6256;

// One held note of `voice` on an otherwise silent channel, mixed to mono.
std::vector<double> PlayOneNote(Voice voice, int note) {
  Module m;
  m.title = "Pitch";
  m.initial_speed = 6;
  m.initial_tempo = 125;
  m.channel_pan = {32};
  AddVoices(m);
  m.song.channels = 1;
  m.song.rows = 32;
  m.song.pattern_starts = {0};
  m.song.cells.assign(32, Cell{});
  m.song.cells[0] = {note, InstrumentNumber(voice), 64, 0, 0};
  std::vector<std::uint8_t> file;
  std::string error;
  EXPECT_TRUE(EncodeImpulseModule(m, file, error)) << error;
  MODULE* mod = Player_LoadMem(reinterpret_cast<const char*>(file.data()), static_cast<int>(file.size()), 64, 0);
  EXPECT_NE(mod, nullptr) << MikMod_strerror(MikMod_errno);
  if (!mod) return {};
  const std::vector<std::int16_t> frames = MixDown(mod, 2.0);
  Player_Free(mod);
  std::vector<double> mono(frames.size() / 2);
  for (std::size_t i = 0; i < mono.size(); ++i) mono[i] = 0.5 * (frames[2 * i] + frames[2 * i + 1]);
  return mono;
}

// The fundamental between lo and hi Hz, from the strongest normalised autocorrelation of a
// stretch of the note, refined between neighbouring lags.
double Fundamental(const std::vector<double>& x, std::size_t from, std::size_t count, double lo, double hi) {
  const int min_lag = static_cast<int>(kMixRate / hi), max_lag = static_cast<int>(kMixRate / lo) + 1;
  std::vector<double> score(max_lag + 2, 0.0);
  for (int lag = min_lag - 1; lag <= max_lag + 1; ++lag) {
    double cross = 0.0, energy = 0.0;
    for (std::size_t i = from; i < from + count; ++i) {
      cross += x[i] * x[i + lag];
      energy += x[i] * x[i];
    }
    score[lag] = energy > 0.0 ? cross / energy : 0.0;
  }
  int best = min_lag;
  for (int lag = min_lag; lag <= max_lag; ++lag)
    if (score[lag] > score[best]) best = lag;
  const double a = score[best - 1], b = score[best], c = score[best + 1];
  const double offset = (a - 2 * b + c) != 0.0 ? 0.5 * (a - c) / (a - 2 * b + c) : 0.0;
  return kMixRate / (best + offset);
}

}  // namespace

TEST(Voices, TonalVoicesSoundMiddleCAtC5) {
  ASSERT_TRUE(StartMikMod()) << MikMod_strerror(MikMod_errno);
  for (Voice voice : {kBass, kPad, kLead, kPluck}) {
    const std::vector<double> mono = PlayOneNote(voice, 60);
    ASSERT_GT(mono.size(), 8000u);
    // 0.1 s into the note, past the bass's filter sweep and the pluck's attack.
    const double hz = Fundamental(mono, 2205, 2048, 200.0, 340.0);
    EXPECT_NEAR(hz, kMiddleC, kMiddleC * 0.01) << "voice " << voice;
  }
}
