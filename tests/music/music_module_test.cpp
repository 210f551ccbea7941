// The demo's music as the build leaves it in the data folder: libmikmod loads it within the
// demo's 64 channels, it plays past the demo's end, its mixdown is never silent for ten seconds
// and is balanced, its sections turn where the demo turns, and it is exactly what the tool makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>

#include "composition.h"
#include "it_reader.h"
#include "it_writer.h"
#include "mikmod_mixdown.h"

namespace {

constexpr double kDemoEnd = 117.3;
constexpr double kFirstPictureChange = 39.1;
constexpr double kGreetings = 72.3;
constexpr double kSecondPictureChange = 78.2;

std::vector<std::uint8_t> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Mixdown {
  bool loaded = false;
  int channels = 0;
  std::vector<std::int16_t> frames;  // interleaved stereo at kMixRate

  double Seconds() const { return static_cast<double>(frames.size()) / 2 / kMixRate; }
};

// Loaded and mixed once, the way the demo loads it, and shared by the tests that listen.
const Mixdown& TheMixdown() {
  static const Mixdown mixdown = [] {
    Mixdown m;
    if (!StartMikMod()) return m;
    MODULE* module = Player_Load("main.it", 64, 0);
    if (!module) return m;
    m.loaded = true;
    m.channels = module->numchn;
    m.frames = MixDown(module, 300.0);
    Player_Free(module);
    return m;
  }();
  return mixdown;
}

enum class Band { kAll, kLow, kHigh };

// RMS of the mono sum over [from, to) seconds; kLow keeps what is below about 150 Hz (kick,
// bass), kHigh what is above about 6 kHz (hats, cymbals).
double Rms(const Mixdown& m, double from, double to, Band band) {
  const double low_pole = 1.0 - std::exp(-2.0 * std::numbers::pi * 150.0 / kMixRate);
  const double high_pole = 1.0 - std::exp(-2.0 * std::numbers::pi * 6000.0 / kMixRate);
  const std::size_t first = static_cast<std::size_t>(from * kMixRate);
  const std::size_t last = std::min(static_cast<std::size_t>(to * kMixRate), m.frames.size() / 2);
  double low1 = 0.0, low2 = 0.0, high_lp = 0.0, sum = 0.0;
  for (std::size_t i = first; i < last; ++i) {
    const double x = 0.5 * (m.frames[2 * i] + m.frames[2 * i + 1]);
    low1 += low_pole * (x - low1);
    low2 += low_pole * (low1 - low2);
    high_lp += high_pole * (x - high_lp);
    const double y = band == Band::kLow ? low2 : band == Band::kHigh ? x - high_lp : x;
    sum += y * y;
  }
  return last > first ? std::sqrt(sum / (last - first)) : 0.0;
}

ItModule ReadTheModule() {
  ItModule module;
  EXPECT_TRUE(ReadItModule(ReadFile("main.it"), module)) << "main.it missing or malformed in the data folder";
  return module;
}

}  // namespace

TEST(MusicModule, LoadsInLibmikmodWithinTheDemosChannels) {
  ASSERT_TRUE(StartMikMod()) << MikMod_strerror(MikMod_errno);
  const Mixdown& m = TheMixdown();
  ASSERT_TRUE(m.loaded) << "Player_Load(\"main.it\"): " << MikMod_strerror(MikMod_errno);
  EXPECT_GT(m.channels, 0);
  EXPECT_LE(m.channels, 64);
}

TEST(MusicModule, PlaysPastTheDemosEndThenStops) {
  const double counted = ItSongSeconds(ReadTheModule());
  EXPECT_GE(counted, kDemoEnd);
  const Mixdown& m = TheMixdown();
  ASSERT_TRUE(m.loaded);
  EXPECT_GE(m.Seconds(), kDemoEnd);
  // The player stops where the order list ends, within one mixing chunk.
  EXPECT_NEAR(m.Seconds(), counted, 0.05);
}

TEST(MusicModule, MixdownIsNeverSilentForTenSeconds) {
  const Mixdown& m = TheMixdown();
  ASSERT_TRUE(m.loaded);
  ASSERT_GE(m.Seconds(), 10.0);
  constexpr double kSilence = 0.01 * 32768;  // -40 dB of full scale
  double quietest = 1e9, quietest_at = 0.0;
  for (double from = 0.0;; from += 0.5) {
    const double start = std::min(from, m.Seconds() - 10.0);
    const double rms = Rms(m, start, start + 10.0, Band::kAll);
    if (rms < quietest) {
      quietest = rms;
      quietest_at = start;
    }
    if (start != from) break;
  }
  EXPECT_GT(quietest, kSilence) << "quietest window starts at " << quietest_at << " s";
}

// The kick and the bass sit in the middle, so left and right carry about the same.
TEST(MusicModule, MixdownIsBalancedBetweenLeftAndRight) {
  const Mixdown& m = TheMixdown();
  ASSERT_TRUE(m.loaded);
  double left = 0.0, right = 0.0;
  for (std::size_t i = 0; i + 1 < m.frames.size(); i += 2) {
    left += static_cast<double>(m.frames[i]) * m.frames[i];
    right += static_cast<double>(m.frames[i + 1]) * m.frames[i + 1];
  }
  ASSERT_GT(right, 0.0);
  EXPECT_LT(std::fabs(10.0 * std::log10(left / right)), 1.5);
}

TEST(MusicModule, SectionsTurnWhereTheDemoTurns) {
  const std::vector<double> starts = ItPatternStartSeconds(ReadTheModule());
  for (double turn : {kFirstPictureChange, kGreetings, kSecondPictureChange}) {
    double nearest = 1e9;
    for (double s : starts) nearest = std::min(nearest, std::fabs(s - turn));
    EXPECT_LT(nearest, 0.1) << "no pattern starts near " << turn << " s";
  }

  // Kick and bass rest in the intro and in the break and drive the theme and the finale; the
  // hats arrive with the build-up.
  const Mixdown& m = TheMixdown();
  ASSERT_TRUE(m.loaded);
  const double theme_low = Rms(m, kFirstPictureChange + 0.5, kGreetings - 0.5, Band::kLow);
  const double finale_low = Rms(m, kSecondPictureChange + 0.5, kDemoEnd - 3.0, Band::kLow);
  EXPECT_LT(Rms(m, 0.0, 15.0, Band::kLow), theme_low / 4);
  EXPECT_LT(Rms(m, kGreetings + 0.5, kSecondPictureChange - 0.5, Band::kLow), theme_low / 4);
  EXPECT_GT(finale_low, theme_low / 2);
  EXPECT_GT(Rms(m, kFirstPictureChange + 0.5, kGreetings - 0.5, Band::kHigh), 3 * Rms(m, 0.0, 15.0, Band::kHigh));
}

TEST(MusicModule, IsWhatTheToolMakesOnEveryRun) {
  std::vector<std::uint8_t> first, second;
  std::string error;
  ASSERT_TRUE(mkmusic::EncodeImpulseModule(mkmusic::ComposeModule(), first, error)) << error;
  ASSERT_TRUE(mkmusic::EncodeImpulseModule(mkmusic::ComposeModule(), second, error)) << error;
  EXPECT_TRUE(first == second);
  EXPECT_TRUE(ReadFile("main.it") == first) << "main.it in the data folder is not what the tool writes now";
  EXPECT_LT(first.size(), 1u << 20);
}
