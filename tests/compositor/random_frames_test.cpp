// random_frames_test.cpp: thousands of seeded random layer settings and video-memory contents,
// made through the library's setters; the display component's compositor, with each set of kernels
// the processor runs down to the portable ones, must give the reference's bytes and written-pixel
// map for the same model.
#include <random>
#include <vector>

#include "fixture.h"

namespace {

// The sanitized build runs every instruction many times slower; it checks memory safety on a
// fifth of the frames, the plain build compares all of them.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kFrames = 400;
#else
constexpr int kFrames = 2000;
#endif
constexpr uint32_t kEnd = VKR_VIDEO_MEMORY_SIZE;

class RandomFrames : public CompositorTest {
 protected:
  void SetUp() override {
    CompositorTest::SetUp();
    std::mt19937 fill(99);
    for (uint32_t i = 0; i < kEnd; i += 4) {
      const uint32_t word = fill();
      std::memcpy(base + i, &word, 4);
    }
  }
  uint32_t Pick(std::initializer_list<uint32_t> values) {
    return *(values.begin() + random() % values.size());
  }
  uint32_t Below(uint32_t n) { return n ? random() % n : 0; }
  // Usually a place with room after it, sometimes right at either end of video memory.
  uint32_t Offset(uint32_t room) {
    switch (random() % 8) {
      case 0: return kEnd - 1 - Below(room);
      case 1: return Below(64);
      default: return Below(kEnd - room);
    }
  }
  // A coordinate that is usually inside `limit`, sometimes anywhere in 16 bits.
  uint16_t Coordinate(uint32_t limit) {
    return uint16_t(random() % 10 == 0 ? random() : Below(limit + 8));
  }

  void RandomRGBLayer() {
    VKR_SetRGBStartAddress(Offset(720 * 576 * 3));
    std::vector<uint32_t> palette(256);
    for (auto& entry : palette) entry = random();
    VKR_SetPalette(0, palette.data(), 256);
    // The key is often the colour of the image's first pixel.
    uint32_t key = random();
    const uint32_t first = g_ulRGBVideoMemOffset;
    if (random() % 2 && first + 3 <= kEnd) {
      const uint8_t* at = base + first;
      const uint32_t p = at[0] | at[1] << 8;
      const uint32_t entry = palette[g_nColorBitDepth == 8 ? at[0] : at[0] & 0xF];
      switch (g_nColorBitDepth) {
        case 16: key = (p << 3 & 0xF8) << 16 | (p >> 3 & 0xFC) << 8 | (p >> 8 & 0xF8); break;
        case 24: key = uint32_t(at[0]) << 16 | at[1] << 8 | at[2]; break;
        default: key = (entry & 0xFF) << 16 | (entry & 0xFF00) | (entry >> 16 & 0xFF); break;
      }
    }
    VKR_SetRGBRegionColorKey(key);
    const uint32_t width = uint32_t(VKR_WinOutputWidth()), height = uint32_t(VKR_WinOutputHeight());
    for (uint32_t region = 1; region <= 5; ++region) {
      const uint16_t left = Coordinate(width), top = Coordinate(height / 2);
      VKR_SetRGBRegionOperation(region, random() % 3 != 0, random() % 4 != 0, uint16_t(Below(4)),
                                uint16_t(random() % 8 == 0 ? Below(40) : Below(16)), left, top,
                                uint16_t(left + Below(width)), uint16_t(top + Below(height / 2)));
    }
  }

  void RandomYUVPlanes() {
    const uint32_t width = uint32_t(VKR_WinOutputWidth()), height = uint32_t(VKR_WinOutputHeight());
    const uint32_t lines = DISP_IsTVMode(g_ulDISPLAY_MODE) ? height / 2 : height;
    for (uint32_t plane : {0u, 1u}) {
      const uint16_t left = Coordinate(width), top = Coordinate(lines);
      const uint16_t bottom = uint16_t(top + Below(lines));
      VKR_SetYUVVideoPlane(plane, random() % 4 != 0, left, top, uint16_t(left + Below(width)),
                           bottom, uint16_t(top + Below(bottom - top + 2)),
                           uint16_t(Pick({320, 360, 720, 1440, 0, 0xFFFF})), Offset(1 << 21),
                           Below(3) == 0, Below(4) == 0, Offset(1 << 21), Below(3) == 0,
                           Below(4) == 0);
      for (uint32_t part : {0u, 1u})
        VKR_SetYUVVideoPlaneScaler(plane, part, uint16_t(Pick({1024, 1024, 512, 2048, 0, uint32_t(random())})),
                                   uint16_t(Pick({1024, 1024, 512, 2048, 0, uint32_t(random())})));
    }
    VKR_SetYUVVideoPlanePriority(Below(2));
    VKR_SetYUVBrightness(int8_t(random()));
    VKR_SetYUVContrast(uint8_t(Below(8)));
    for (uint32_t q = 0; q < 4; ++q) VKR_SetYUVSaturationAndHUE(q, uint8_t(random()), uint8_t(random()));
    // Settings the setters never make, written straight into the state.
    if (random() % 10 == 0) g_ucYUVContrast = uint8_t(random());
    if (random() % 10 == 0) g_sMLC_HUECr_A[Below(4)] = -128;
  }

  void RandomCursorAndGamma() {
    VKR_SetCursorParams(Below(2), uint16_t(Pick({32, 64})), random(), random(), Offset(2048));
    VKR_MoveCursor(uint16_t(Below(740)), uint16_t(random() % 10 == 0 ? random() : Below(300)));
    if (random() % 5 == 0) g_cursorLayer.large = 2;
    std::vector<uint32_t> gamma(256);
    for (auto& entry : gamma) entry = random();
    VKR_SetGamma(0, gamma.data(), 256);
    VKR_EnableGamma(Below(2));
  }

  void RandomOSD() {
    std::vector<uint32_t> palette(256);
    for (auto& entry : palette) entry = random();
    VKR_SetOSDPalette(0, palette.data(), 256);
    uint32_t headers[4];
    for (auto& h : headers) h = Offset(4096) & ~3u;
    for (int i = 0; i < 4; ++i) {
      const uint32_t next = random() % 3 == 0 ? 0xFFFFFFFF : headers[Below(4)];
      const uint16_t left = Coordinate(720), top = Coordinate(300);
      VKR_WriteOSDHeader(headers[i], next, left, top, left + Below(400), top + Below(200),
                         Pick({2, 4, 8}), Below(2), Below(2), Below(2), Below(16), Below(256));
      if (random() % 8 == 0 && headers[i] + 8 < kEnd) base[headers[i] + 7] |= 0x30;
    }
    VKR_SetOSDPlane(Below(4) == 0, headers[0], headers[Below(4)]);
  }

  void RandomSPU() {
    for (uint16_t i = 0; i < 16; ++i) VKR_SetSPUColor(i, random());
    const uint32_t record = Offset(64), list = Offset(1024), highlight = Offset(16);
    const uint16_t top = Coordinate(576);
    VKR_WriteSPUBaseCmd(record, Below(2), list, uint16_t(random()), uint16_t(random()), top,
                        uint16_t(top + Below(600)), Offset(1 << 16), Offset(1 << 16));
    uint32_t at = list & ~3u;
    uint16_t line = top;
    for (int r = 0, records = int(Below(5)); r < records; ++r) {
      uint16_t left[15], right[15], colours[15], contrasts[15];
      const uint16_t count = uint16_t(Below(16));
      for (int e = 0; e < count; ++e) {
        left[e] = Coordinate(720), right[e] = uint16_t(left[e] + Below(300));
        colours[e] = uint16_t(random()), contrasts[e] = uint16_t(random());
      }
      const uint16_t start = uint16_t(line + Below(40) - (random() % 4 == 0 ? 20 : 0));
      const uint16_t end = uint16_t(start + Below(60));
      if (VKR_WriteSPUChangeCmd(at, r + 1 == records, start, end, count, left, right, colours,
                                contrasts) != VKR_OK)
        break;
      at += 4 + 8 * count;
      line = end;
    }
    VKR_WriteSPUHighlightInfo(highlight, Coordinate(720), Coordinate(576), Coordinate(720),
                              Coordinate(576), uint16_t(random()), uint16_t(random()));
    VKR_SetSPUPlane(Below(4) == 0, Below(2), Below(2), record, highlight);
  }

  void RandomFrame() {
    const uint32_t mode = random() % 5 < 2 ? Below(5) : Below(33);
    VKR_SetDisplayMode(mode, int(Pick({4, 8, 16, 16, 24})));
    RandomRGBLayer();
    RandomYUVPlanes();
    RandomCursorAndGamma();
    RandomOSD();
    RandomSPU();
  }

  std::mt19937 random;
  // A surface of the test's own, as any host of the component hands one in.
  std::vector<uint8_t> pixels = std::vector<uint8_t>(DISP_MAX_OUTPUT_PIXELS * 3);
  std::vector<uint8_t> written = std::vector<uint8_t>(DISP_MAX_OUTPUT_PIXELS);
  const DISP_Surface surface = {pixels.data(), written.data(), written.size()};
};

}  // namespace

TEST_F(RandomFrames, FastCompositorGivesTheReferenceBytes) {
  RefFrame ref;
  for (int frame = 0; frame < kFrames; ++frame) {
    random.seed(frame);
    RandomFrame();
    RefComposeFrame(ref, g_displayModel, base);
    for (int kernels = DISP_BestKernels(); kernels >= DISP_KERNELS_PORTABLE; --kernels) {
      ASSERT_TRUE(DISP_ComposeFrame(g_displayModel, base, surface, DISP_Kernels(kernels)));
      ASSERT_TRUE(SameAsReference(ref, pixels.data(), written.data()))
          << "seed " << frame << ", kernels " << kernels
                                        << ", mode " << g_ulDISPLAY_MODE << ", depth "
                                        << g_nColorBitDepth;
    }
  }
}

// The demo's frame on each output: plane A over the screen, the keyed band at every alpha, the
// cursor with weights from transparent to opaque, all of it or its last 20 columns on screen; with
// each set of kernels.
TEST_F(RandomFrames, DemoFramesOnEveryOutput) {
  RefFrame ref;
  for (uint32_t mode : {0u, 6u, 20u}) {
    for (uint16_t alpha = 0; alpha <= 15; ++alpha) {
      random.seed(mode * 100 + alpha);
      VKR_SetDisplayMode(mode, 16);
      const bool pal = mode == 20, lcd = mode == 0;
      VKR_SetYUVVideoPlane(1, 1, 0, pal ? 25 : 0, lcd ? 319 : 719, pal ? 264 : 240, pal ? 264 : 240,
                           720, pal ? 72000 : 0, 0, 0, 0, 0, 0);
      for (int r = 1; r <= 5; ++r) VKR_SetRGBRegionOperation(r, 0, 0, 0, 0, 0, 0, 0, 0);
      VKR_SetRGBRegionColorKey(0xFF00FF);
      VKR_SetRGBRegionOperation(4, 1, 1, 1, alpha, 0, pal ? 65 : 40, lcd ? 319 : 719,
                                pal ? 223 : 198);
      const uint32_t page = 0x0CA800;
      VKR_SetRGBStartAddress(page);
      for (uint32_t i = 0; i < 720 * 576; ++i)
        Put16(page + 2 * i, random() % 3 ? 0xF81F : uint16_t(random()));
      const uint32_t colour1 = uint32_t{alpha} << 28 | (random() & 0xFFFFFF);
      const uint32_t colour0 = uint32_t{15u - alpha} << 28 | (random() & 0xFFFFFF);
      VKR_SetCursorParams(1, lcd ? 32 : 64, colour1, colour0, 0x7F5800);
      const uint16_t x = alpha % 2 ? uint16_t(VKR_WinOutputWidth() - 20) : lcd ? 100 : 300;
      VKR_MoveCursor(x, lcd ? 100 : 120);
      RefComposeFrame(ref, g_displayModel, base);
      for (int kernels = DISP_BestKernels(); kernels >= DISP_KERNELS_PORTABLE; --kernels) {
        ASSERT_TRUE(DISP_ComposeFrame(g_displayModel, base, surface, DISP_Kernels(kernels)));
        ASSERT_TRUE(SameAsReference(ref, pixels.data(), written.data()))
            << "mode " << mode << ", alpha " << alpha << ", kernels " << kernels;
      }
    }
  }
}
