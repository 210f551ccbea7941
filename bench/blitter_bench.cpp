// blitter_bench.cpp: the intro's per-frame blitter work, one 720 x 480 clear with operation 0 and
// 25 colour-keyed 40 x 40 sprite copies, beside memset and SDL 1.2's SDL_FillRect and
// SDL_BlitSurface on the same rectangles in the same run; the ratios are printed at the end.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>

#include "vkr_lowLevel.h"

namespace {

constexpr int kWidth = 720, kHeight = 480;
constexpr int kSprites = 25, kSpriteSize = 40, kSheetWidth = 200;
constexpr uint32_t kSheetOffset = 0x200000;
constexpr uint16_t kKey = 0xF81F;
constexpr uint32_t kKeyedCopy = 0x40C;

struct Scene {
  uint8_t* video = nullptr;
  SDL_Surface* screen = nullptr;
  SDL_Surface* sheet = nullptr;
  SDL_Rect from[kSprites], to[kSprites];
};
Scene g_scene;

// A sheet of 5 x 5 round sprites on the key colour, the same pixels in video memory and in SDL.
bool SetUpScene() {
  if (VKR_InitLowLevelAPI("blitter bench") != VKR_OK) return false;
  VKR_GetVideoBasePtr(&g_scene.video);
  g_scene.screen =
      SDL_CreateRGBSurface(SDL_SWSURFACE, kWidth, kHeight, 16, 0xF800, 0x07E0, 0x001F, 0);
  g_scene.sheet =
      SDL_CreateRGBSurface(SDL_SWSURFACE, kSheetWidth, kSheetWidth, 16, 0xF800, 0x07E0, 0x001F, 0);
  if (!g_scene.screen || !g_scene.sheet) return false;
  SDL_SetColorKey(g_scene.sheet, SDL_SRCCOLORKEY, kKey);
  std::mt19937 random(17);
  uint8_t* sheet = g_scene.video + kSheetOffset;
  for (int y = 0; y < kSheetWidth; ++y) {
    for (int x = 0; x < kSheetWidth; ++x) {
      const int dx = x % kSpriteSize - 20, dy = y % kSpriteSize - 20;
      const uint16_t pixel =
          dx * dx + dy * dy < 18 * 18 ? static_cast<uint16_t>(random() % 0xF81F) : kKey;
      std::memcpy(sheet + 2 * (y * kSheetWidth + x), &pixel, 2);
      std::memcpy(static_cast<uint8_t*>(g_scene.sheet->pixels) + y * g_scene.sheet->pitch + 2 * x,
                  &pixel, 2);
    }
  }
  // The sprites on a ring, as the intro's first formation.
  for (int i = 0; i < kSprites; ++i) {
    const double angle = 2 * M_PI * i / kSprites;
    g_scene.from[i] = {static_cast<Sint16>(i % 5 * kSpriteSize),
                       static_cast<Sint16>(i / 5 * kSpriteSize), kSpriteSize, kSpriteSize};
    g_scene.to[i] = {static_cast<Sint16>(340 + 280 * std::cos(angle)),
                     static_cast<Sint16>(220 + 180 * std::sin(angle)), kSpriteSize, kSpriteSize};
  }
  return true;
}

void BlitSprites() {
  for (int i = 0; i < kSprites; ++i) {
    const SDL_Rect& from = g_scene.from[i];
    const SDL_Rect& to = g_scene.to[i];
    VKR_HwBitBlt(2 * (to.y * kWidth + to.x), kWidth, kSpriteSize, kSpriteSize,
                 kSheetOffset + 2 * (from.y * kSheetWidth + from.x), kSheetWidth, kKeyedCopy, kKey,
                 0, 0);
  }
}

void BlitSpritesSDL() {
  for (int i = 0; i < kSprites; ++i) {
    SDL_Rect from = g_scene.from[i], to = g_scene.to[i];
    SDL_BlitSurface(g_scene.sheet, &from, g_scene.screen, &to);
  }
}

// Both ways must draw the same frame, or the comparison means nothing.
bool SameFrames() {
  VKR_HwBitBlt(0, kWidth, kWidth, kHeight, 0, kWidth, 0, 0, 0, 0);
  SDL_FillRect(g_scene.screen, nullptr, 0);
  BlitSprites();
  BlitSpritesSDL();
  for (int y = 0; y < kHeight; ++y) {
    const uint8_t* sdlRow =
        static_cast<const uint8_t*>(g_scene.screen->pixels) + y * g_scene.screen->pitch;
    if (std::memcmp(sdlRow, g_scene.video + 2 * y * kWidth, 2 * kWidth) != 0) return false;
  }
  return true;
}

void Clear_HwBitBltOp0(benchmark::State& state) {
  for (auto _ : state) {
    VKR_HwBitBlt(0, kWidth, kWidth, kHeight, kSheetOffset, kWidth, 0, 0, 0, 0);
    benchmark::ClobberMemory();
  }
}
void Clear_Memset(benchmark::State& state) {
  for (auto _ : state) {
    std::memset(g_scene.video, 0, 2 * kWidth * kHeight);
    benchmark::ClobberMemory();
  }
}
void Clear_SDL_FillRect(benchmark::State& state) {
  for (auto _ : state) {
    SDL_FillRect(g_scene.screen, nullptr, 0);
    benchmark::ClobberMemory();
  }
}
void Sprites_HwBitBltKeyed(benchmark::State& state) {
  for (auto _ : state) {
    BlitSprites();
    benchmark::ClobberMemory();
  }
}
void Sprites_SDL_BlitSurface(benchmark::State& state) {
  for (auto _ : state) {
    BlitSpritesSDL();
    benchmark::ClobberMemory();
  }
}

BENCHMARK(Clear_HwBitBltOp0)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(Clear_Memset)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(Clear_SDL_FillRect)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(Sprites_HwBitBltKeyed)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(Sprites_SDL_BlitSurface)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// Keeps the median of each benchmark for the ratios.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        medians[run.run_name.function_name] = run.GetAdjustedRealTime();
  }
  std::map<std::string, double> medians;
};

void PrintRatio(const MedianReporter& reporter, const char* what, const char* ours,
                const char* theirs, double goal) {
  const auto a = reporter.medians.find(ours), b = reporter.medians.find(theirs);
  if (a == reporter.medians.end() || b == reporter.medians.end()) return;
  const double ratio = a->second / b->second;
  std::printf("%-34s %8.1f us / %8.1f us = %5.2fx (goal <= %.2fx) %s\n", what, a->second, b->second,
              ratio, goal, ratio <= goal ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  benchmark::Initialize(&argc, argv);
  if (!SetUpScene() || !SameFrames()) {
    std::fprintf(stderr, "blitter bench: set-up failed or the two ways drew different frames\n");
    return 1;
  }
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nmedian times, ours over theirs:\n");
  PrintRatio(reporter, "clear op 0 / memset", "Clear_HwBitBltOp0", "Clear_Memset", 1.25);
  PrintRatio(reporter, "clear op 0 / SDL_FillRect", "Clear_HwBitBltOp0", "Clear_SDL_FillRect", 1.0);
  PrintRatio(reporter, "25 keyed sprites / SDL_BlitSurface", "Sprites_HwBitBltKeyed",
             "Sprites_SDL_BlitSurface", 1.0);
  SDL_FreeSurface(g_scene.sheet);
  SDL_FreeSurface(g_scene.screen);
  VKR_FreeLowLevelAPI(0);
  benchmark::Shutdown();
  return 0;
}
