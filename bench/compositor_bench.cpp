// compositor_bench.cpp: the cost of composing the demo's frame at LCD, NTSC and PAL (and at PAL
// without its band or its cursor), of each step alone, and of a YUV-only PAL frame, beside a cold
// memcpy of the 720 x 576 x 3 surface and libyuv's YUY2 to RGB24 of the same picture; prints the
// ratios against their targets by wall clock and by CPU time.
#include <benchmark/benchmark.h>
#include <libyuv.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "compositor/reference_compositor.h"
#include "vkr_lowLevel.h"
#include "disp_compose.h"
#include "vkr_winHost.h"
#include "vkr_winState.h"

namespace {

constexpr int kWidth = 720, kHeight = 576;
constexpr size_t kSurfaceBytes = size_t{kWidth} * kHeight * 3;
constexpr uint32_t kPicture = 0;          // 720 x 576 YUY2, 1440 bytes a line
constexpr uint32_t kPage = 0x0CA800;      // RGB page, 720 x 576 RGB565
constexpr uint32_t kCursor = 0x7F5800;    // 64 x 128 two-bit bitmap
constexpr uint32_t kOSD = 0x700000, kSPU = 0x780000;

uint8_t* Video() { return g_GP2X_VIDEO_BASE_PTR; }

// The display component composes the library's model into the desktop's frame surface.
void Compose(DISP_Kernels kernels = g_nWinComposeKernels) {
  DISP_ComposeFrame(VKR_WinDisplayModel(), Video(), VKR_WinFrameSurface(), kernels);
}

// A picture with smooth gradients, texture and chroma in every quadrant.
void MakePicture() {
  std::mt19937 random(7);
  for (int y = 0; y < kHeight; ++y)
    for (int pair = 0; pair < kWidth / 2; ++pair) {
      uint8_t* at = Video() + kPicture + y * kWidth * 2 + pair * 4;
      at[0] = uint8_t(16 + (pair + y) % 220 + random() % 8);
      at[1] = uint8_t(128 + 100 * ((pair / 40) % 3 - 1) + random() % 16);
      at[2] = uint8_t(16 + (pair * 2 + y) % 220 + random() % 8);
      at[3] = uint8_t(128 + 90 * ((y / 50) % 3 - 1) + random() % 16);
    }
}

// The intro's page: black with 25 sprites whose corners are the magenta key.
void MakePage() {
  std::mt19937 random(11);
  std::memset(Video() + kPage, 0, size_t{kWidth} * kHeight * 2);
  for (int s = 0; s < 25; ++s) {
    const int x0 = int(random() % (kWidth - 64)), y0 = int(random() % (kHeight - 64));
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        const bool corner = (x - 32) * (x - 32) + (y - 32) * (y - 32) > 32 * 32;
        const uint16_t pixel = corner ? 0xF81F : uint16_t(random());
        std::memcpy(Video() + kPage + 2 * ((y0 + y) * kWidth + x0 + x), &pixel, 2);
      }
  }
  std::memset(Video() + kCursor, 0x5A, 2048);
}

// The demo's frame: plane A over the screen, the keyed band at alpha 8, the cursor on, gamma off.
void DemoFrame(uint32_t mode) {
  VKR_SetDisplayMode(mode, 16);
  const bool pal = mode >= 19, lcd = mode <= 4;
  VKR_SetYUVVideoPlane(1, 1, 0, pal ? 25 : 0, lcd ? 319 : 719, pal ? 264 : 240, pal ? 264 : 240,
                       720, pal ? 72000 : 0, 0, 0, 0, 0, 0);
  VKR_SetYUVVideoPlaneScaler(1, 1, 1024, 1024);
  for (uint32_t r = 1; r <= 5; ++r) VKR_SetRGBRegionOperation(r, 0, 0, 0, 0, 0, 0, 0, 0);
  VKR_SetRGBRegionColorKey(0xFF00FF);
  VKR_SetRGBRegionOperation(4, 1, 1, 1, 8, 0, pal ? 65 : 40, lcd ? 319 : 719, pal ? 223 : 198);
  VKR_SetRGBStartAddress(kPage);
  VKR_SetCursorParams(1, lcd ? 32 : 64, 0xFFFFFFFF, 0x80000000, kCursor);
  VKR_MoveCursor(lcd ? 140 : 320, lcd ? 100 : 120);
  VKR_EnableGamma(0);
  VKR_SetOSDPlane(0, 0, 0);
  VKR_SetSPUPlane(0, 0, 0, 0, 0);
}

// Only plane A, over the whole PAL screen: the picture to RGB24, as libyuv does it.
void YUVOnlyFrame() {
  VKR_SetDisplayMode(20, 16);
  VKR_SetYUVVideoPlane(1, 1, 0, 0, 719, 288, 288, 720, kPicture, 0, 0, 0, 0, 0);
  for (uint32_t r = 1; r <= 5; ++r) VKR_SetRGBRegionOperation(r, 0, 0, 0, 0, 0, 0, 0, 0);
  VKR_SetCursorParams(0, 64, 0, 0, kCursor);
  VKR_SetOSDPlane(0, 0, 0);
  VKR_SetSPUPlane(0, 0, 0, 0, 0);
}

void Frame(benchmark::State& state, uint32_t mode, DISP_Kernels kernels = g_nWinComposeKernels) {
  DemoFrame(mode);
  for (auto _ : state) {
    Compose(kernels);
    benchmark::ClobberMemory();
  }
}
void BM_FrameLCD(benchmark::State& s) { Frame(s, 0); }
void BM_FrameNTSC(benchmark::State& s) { Frame(s, 6); }
void BM_FramePAL(benchmark::State& s) { Frame(s, 20); }

// The PAL frame less one of its layers: what the band and the cursor each add to it.
void BM_FramePALWithoutBand(benchmark::State& state) {
  DemoFrame(20);
  VKR_SetRGBRegionOperation(4, 0, 0, 0, 0, 0, 0, 0, 0);
  for (auto _ : state) {
    Compose();
    benchmark::ClobberMemory();
  }
}
void BM_FramePALWithoutCursor(benchmark::State& state) {
  DemoFrame(20);
  VKR_SetCursorParams(0, 64, 0xFFFFFFFF, 0x80000000, kCursor);
  for (auto _ : state) {
    Compose();
    benchmark::ClobberMemory();
  }
}

void BM_FramePALPortableKernels(benchmark::State& state) {
  Frame(state, 20, DISP_KERNELS_PORTABLE);
}

void BM_YUVToRGBFullScreenPAL(benchmark::State& state) {
  YUVOnlyFrame();
  for (auto _ : state) {
    Compose();
    benchmark::ClobberMemory();
  }
}

// Each step alone over the PAL surface, as the named operations do it.
template <uint32_t (*Step)()>
void Stage(benchmark::State& state) {
  DemoFrame(20);
  VKR_EnableGamma(1);
  VKR_SetOSDPlane(1, kOSD, kOSD);
  VKR_SetSPUPlane(1, 0, 0, kSPU, 0);
  Compose();
  for (auto _ : state) {
    Step();
    benchmark::ClobberMemory();
  }
}
uint32_t PlaneA() { return VKR_LowLevelAPI_SoftRender_YUV_Layer(1, 1); }
uint32_t Conversion() {
  DISP_ConvertToBGR(VKR_WinDisplayModel(), VKR_WinFrameSurface(), g_nWinComposeKernels);
  return 0;
}
void BM_StageYUVPlane(benchmark::State& s) { Stage<PlaneA>(s); }
void BM_StageOSD(benchmark::State& s) { Stage<VKR_LowLevelAPI_SoftRender_OSD_Layer>(s); }
void BM_StageSubPicture(benchmark::State& s) { Stage<VKR_LowLevelAPI_SoftRender_SPU_Layer>(s); }
void BM_StageConversion(benchmark::State& s) { Stage<Conversion>(s); }
void BM_StageRGBLayer(benchmark::State& s) { Stage<VKR_LowLevelAPI_SoftRender_RGB_Layer>(s); }
void BM_StageCursor(benchmark::State& s) { Stage<VKR_LowLevelAPI_SoftRender_Cursor_Layer>(s); }
void BM_StageGamma(benchmark::State& s) { Stage<VKR_LowLevelAPI_GammaCorrection>(s); }

// Cold: each copy uses the next of enough buffer pairs to be far larger than every cache level.
void BM_MemcpyColdPALSurface(benchmark::State& state) {
  constexpr int kPairs = 48;  // 48 x 2 x 1.2 MB = 119 MB
  std::vector<std::vector<uint8_t>> source(kPairs, std::vector<uint8_t>(kSurfaceBytes, 1));
  std::vector<std::vector<uint8_t>> target(kPairs, std::vector<uint8_t>(kSurfaceBytes, 2));
  int next = 0;
  for (auto _ : state) {
    std::memcpy(target[next].data(), source[next].data(), kSurfaceBytes);
    benchmark::ClobberMemory();
    next = (next + 1) % kPairs;
  }
}

// libyuv has no direct YUY2 to RGB24: through ARGB one row at a time (the row stays in cache), or
// the whole picture in two passes; the faster of the two is the comparison.
void BM_LibyuvYUY2ToRGB24Rows(benchmark::State& state) {
  std::vector<uint8_t> argb(kWidth * 4), rgb(kSurfaceBytes);
  const uint8_t* picture = Video() + kPicture;
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y) {
      libyuv::YUY2ToARGB(picture + y * kWidth * 2, kWidth * 2, argb.data(), kWidth * 4, kWidth, 1);
      libyuv::ARGBToRGB24(argb.data(), kWidth * 4, rgb.data() + y * kWidth * 3, kWidth * 3, kWidth, 1);
    }
    benchmark::ClobberMemory();
  }
}
void BM_LibyuvYUY2ToRGB24TwoPasses(benchmark::State& state) {
  std::vector<uint8_t> argb(size_t{kWidth} * kHeight * 4), rgb(kSurfaceBytes);
  const uint8_t* picture = Video() + kPicture;
  for (auto _ : state) {
    libyuv::YUY2ToARGB(picture, kWidth * 2, argb.data(), kWidth * 4, kWidth, kHeight);
    libyuv::ARGBToRGB24(argb.data(), kWidth * 4, rgb.data(), kWidth * 3, kWidth, kHeight);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_MemcpyColdPALSurface);
BENCHMARK(BM_LibyuvYUY2ToRGB24Rows);
BENCHMARK(BM_LibyuvYUY2ToRGB24TwoPasses);
BENCHMARK(BM_YUVToRGBFullScreenPAL);
BENCHMARK(BM_FramePAL);
BENCHMARK(BM_FrameNTSC);
BENCHMARK(BM_FrameLCD);
BENCHMARK(BM_FramePALWithoutBand);
BENCHMARK(BM_FramePALWithoutCursor);
BENCHMARK(BM_FramePALPortableKernels);
BENCHMARK(BM_StageYUVPlane);
BENCHMARK(BM_StageOSD);
BENCHMARK(BM_StageSubPicture);
BENCHMARK(BM_StageConversion);
BENCHMARK(BM_StageRGBLayer);
BENCHMARK(BM_StageCursor);
BENCHMARK(BM_StageGamma);

// Keeps each benchmark's mean wall-clock and CPU time for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
        times[run.run_name.function_name] = run.GetAdjustedRealTime();
        cpuTimes[run.run_name.function_name] = run.GetAdjustedCPUTime();
      }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times, cpuTimes;
};

// The ratios against their targets, from wall-clock or CPU times. On a machine shared with other
// work the CPU times leave out the time the benchmark waited for a core.
void PrintRatios(std::map<std::string, double>& t, const char* clock) {
  if (t.count("BM_FramePAL") && t.count("BM_MemcpyColdPALSurface"))
    std::printf("PAL demo frame / cold memcpy of the surface (%s): %.2f (target <= 2)\n", clock,
                t["BM_FramePAL"] / t["BM_MemcpyColdPALSurface"]);
  if (t.count("BM_YUVToRGBFullScreenPAL") && t.count("BM_LibyuvYUY2ToRGB24Rows") &&
      t.count("BM_LibyuvYUY2ToRGB24TwoPasses")) {
    const double rows = t["BM_LibyuvYUY2ToRGB24Rows"], passes = t["BM_LibyuvYUY2ToRGB24TwoPasses"];
    std::printf("YUV stage (plane A to RGB24, full PAL) / libyuv YUY2 to RGB24 (%s): %.2f "
                "(target <= 1.5)\n",
                clock, t["BM_YUVToRGBFullScreenPAL"] / (rows < passes ? rows : passes));
  }
}

// Records for the OSD and sub-picture steps: one 8-bit area and one band over the screen.
void MakeOverlayRecords() {
  std::vector<uint32_t> palette(256);
  for (uint32_t i = 0; i < 256; ++i) palette[i] = i * 0x010101u | (i & 15) << 28;
  VKR_SetOSDPalette(0, palette.data(), 256);
  VKR_WriteOSDHeader(kOSD, 0xFFFFFFFF, 0, 0, 719, 288, 8, 0, 0, 0, 0, 0);
  std::memset(Video() + kOSD + 12, 0x77, 720 * 288);
  VKR_SetDisplayMode(20, 16);
  VKR_WriteSPUBaseCmd(kSPU, 0, 0, 0x1234, 0xF8F8, 0, 576, kSPU + 64, kSPU + 0x20000);
  for (uint32_t i = 0; i < 0x40000; ++i) Video()[kSPU + 64 + i] = uint8_t(0x47 + (i % 5) * 0x10);
}

bool DemoFrameIsBitExact(uint32_t mode) {
  DemoFrame(mode);
  RefFrame ref;
  RefComposeFrame(ref, VKR_WinDisplayModel(), Video());
  Compose();
  return std::memcmp(ref.surface.data(), g_ucFrameSurface.data(), ref.surface.size()) == 0 &&
         std::memcmp(ref.written.data(), g_ucByteWriteOnPlane.data(), ref.written.size()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (VKR_InitLowLevelAPI("bench") != VKR_OK) return 1;
  VKR_WinUseVirtualClock(0);
  MakePicture();
  MakePage();
  MakeOverlayRecords();
  const char* kernels[] = {"portable", "AVX2", "AVX2 with AVX-512 byte permutes"};
  std::printf("kernels: %s\n", kernels[g_nWinComposeKernels]);
  std::printf("demo frame bit-exact with the reference: LCD %s, NTSC %s, PAL %s\n",
              DemoFrameIsBitExact(0) ? "yes" : "NO", DemoFrameIsBitExact(6) ? "yes" : "NO",
              DemoFrameIsBitExact(20) ? "yes" : "NO");
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintRatios(reporter.times, "wall clock");
  PrintRatios(reporter.cpuTimes, "CPU time");
  benchmark::Shutdown();
  VKR_FreeLowLevelAPI(0);
  return 0;
}
