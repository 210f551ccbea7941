// Seeded random scenes set through the VKR_ display operations of the hardware back end: the frame
// the simulated console composes from its registers equals the frame composed from the display
// model the desktop back end's setters would have filled, wherever the two back ends agree (no
// narrow modes, start and cursor addresses on word boundaries, counts above 0, the YUV scale
// factors the step register holds exactly, a fresh mode before the rest).
#include <random>
#include <vector>

#include "disp_compose.h"
#include "disp_records.h"
#include "sim_fixture.h"
#include "sim_state.h"

namespace {

constexpr uint32_t kModes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14,
                               19, 20, 21, 22, 23, 24, 25, 26, 27, 28};
constexpr int kDepths[] = {4, 8, 16, 24};
constexpr uint16_t kScales[] = {512, 768, 1024, 1536, 2048};
constexpr uint32_t kPictureBytes = 0x200000;  // random pixels for every layer to read

struct Scene {
  std::mt19937 random;
  explicit Scene(uint32_t seed) : random(seed) {}
  uint32_t Below(uint32_t n) { return random() % n; }
  uint32_t Offset() { return Below(kPictureBytes / 4) * 4; }
};

// Applies one scene to the console and, as the desktop's setters store them, to `expected`.
void Apply(Scene& s, DISP_Model* expected) {
  const uint32_t mode = kModes[s.Below(std::size(kModes))];
  const int depth = kDepths[s.Below(4)];
  ASSERT_EQ(VKR_SetDisplayMode(mode, depth), VKR_OK);
  DISP_InitModel(expected, mode);
  expected->colorBitDepth = depth;
  // The console's mode change leaves gamma bypassed; start-up leaves it off on the desktop too.
  const uint32_t start = s.Offset();
  ASSERT_EQ(VKR_SetRGBStartAddress(start), VKR_OK);
  expected->rgbVideoMemOffset = start;
  const uint32_t key = s.random() & 0xFFFFFF;
  ASSERT_EQ(VKR_SetRGBRegionColorKey(key), VKR_OK);
  expected->regionColorKey = key;
  std::vector<uint32_t> palette(256);
  for (uint32_t& entry : palette) entry = s.random() & 0xFFFFFF;
  ASSERT_EQ(VKR_SetPalette(0, palette.data(), 256), VKR_OK);
  std::copy(palette.begin(), palette.end(), expected->rgbColorTable.begin());

  const bool tv = DISP_IsTVMode(mode);
  const DISP_Geometry geometry = DISP_GeometryOf(*expected);
  const uint16_t lines = static_cast<uint16_t>(tv ? geometry.height / 2 : geometry.height);
  for (uint32_t r = 1; r <= 5; ++r) {
    const uint32_t active = s.Below(2), visible = s.Below(2);
    const uint16_t operation = static_cast<uint16_t>(s.Below(3)), alpha = static_cast<uint16_t>(s.Below(16));
    const uint16_t left = static_cast<uint16_t>(s.Below(geometry.width)),
                   right = static_cast<uint16_t>(s.Below(geometry.width)),
                   top = static_cast<uint16_t>(s.Below(lines)), bottom = static_cast<uint16_t>(s.Below(lines));
    ASSERT_EQ(VKR_SetRGBRegionOperation(r, active, visible, operation, alpha, left, top, right, bottom),
              VKR_OK);
    expected->rgbLayerRegion[r] = {active, visible, operation, alpha, left, right, top, bottom};
  }
  for (uint32_t plane = 0; plane < 2; ++plane) {
    const uint32_t planeArgument = plane == 0 ? 1 : 0;
    DISP_YUVPlane p{};
    p.enable = s.Below(2);
    p.left = static_cast<uint16_t>(s.Below(geometry.width));
    p.right = static_cast<uint16_t>(s.Below(geometry.width));
    p.top = static_cast<uint16_t>(s.Below(lines));
    p.split = static_cast<uint16_t>(p.top + s.Below(lines - p.top + 1u));
    p.bottom = static_cast<uint16_t>(p.split + s.Below(lines - p.split + 1u));
    p.pitch = static_cast<uint16_t>(4 * (1 + s.Below(200)));
    p.topOffset = s.Offset();
    p.bottomOffset = s.Offset();
    p.topMirror = s.Below(2), p.topFlip = s.Below(2);
    p.bottomMirror = s.Below(2), p.bottomFlip = s.Below(2);
    ASSERT_EQ(VKR_SetYUVVideoPlane(planeArgument, 1, p.left, p.top, p.right, p.bottom, p.split, p.pitch,
                                   p.topOffset, p.topMirror, p.topFlip, p.bottomOffset,
                                   p.bottomMirror, p.bottomFlip),
              VKR_OK);
    if (!p.enable) {
      ASSERT_EQ(VKR_SetYUVVideoPlane(planeArgument, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), VKR_OK);
    }
    expected->yuvPlane[plane] = p;
    for (uint32_t part = 0; part < 2; ++part) {
      const uint16_t h = kScales[s.Below(5)], v = kScales[s.Below(5)];
      ASSERT_EQ(VKR_SetYUVVideoPlaneScaler(planeArgument, part == 0 ? 1 : 0, h, v), VKR_OK);
      expected->yuvScaler[2 * plane + part] = {h, v};
    }
  }
  const uint32_t aFirst = s.Below(2);
  ASSERT_EQ(VKR_SetYUVVideoPlanePriority(aFirst), VKR_OK);
  expected->yuvFirstPlanePriority = static_cast<int>(aFirst);
  const int8_t brightness = static_cast<int8_t>(s.random());
  ASSERT_EQ(VKR_SetYUVBrightness(brightness), VKR_OK);
  expected->yuvBrightness = brightness;
  const uint8_t contrast = static_cast<uint8_t>(s.Below(8));
  ASSERT_EQ(VKR_SetYUVContrast(contrast), VKR_OK);
  expected->yuvContrast = contrast;
  for (uint32_t q = 0; q < 4; ++q) {
    const uint8_t saturation = static_cast<uint8_t>(s.random()), hue = static_cast<uint8_t>(s.random());
    ASSERT_EQ(VKR_SetYUVSaturationAndHUE(q, saturation, hue), VKR_OK);
    DISP_SetHueCoefficients(expected, q, saturation, hue);
  }
  std::vector<uint32_t> gamma(256);
  for (uint32_t& entry : gamma) entry = s.random() & 0xFFFFFF;
  ASSERT_EQ(VKR_SetGamma(0, gamma.data(), 256), VKR_OK);
  std::copy(gamma.begin(), gamma.end(), expected->gammaTable.begin());
  const uint32_t gammaOn = s.Below(2);
  ASSERT_EQ(VKR_EnableGamma(gammaOn), VKR_OK);
  expected->enableGamma = static_cast<int>(gammaOn);

  DISP_CursorLayer& cursor = expected->cursorLayer;
  cursor.enable = s.Below(2);
  cursor.large = s.Below(2);
  cursor.color1 = s.random();
  cursor.color0 = s.random();
  cursor.bitmapOffset = s.Offset();
  cursor.x = static_cast<uint16_t>(s.Below(geometry.width));
  cursor.y = static_cast<uint16_t>(s.Below(lines));
  ASSERT_EQ(VKR_SetCursorParams(1, cursor.large ? 64 : 32, cursor.color1, cursor.color0,
                                cursor.bitmapOffset),
            VKR_OK);
  if (!cursor.enable) {
    ASSERT_EQ(VKR_SetCursorParams(0, 32, 0, 0, 0), VKR_OK);
  }
  ASSERT_EQ(VKR_MoveCursor(cursor.x, cursor.y), VKR_OK);
}

TEST_F(StartedSimTest, RandomScenesComposeTheFramesOfTheDesktopsModel) {
  std::mt19937 pixels(7);
  for (uint32_t n = 0; n < kPictureBytes; ++n) g_sim.video[n] = static_cast<uint8_t>(pixels());
  std::vector<uint8_t> want(DISP_MAX_OUTPUT_PIXELS * 3), wantWritten(DISP_MAX_OUTPUT_PIXELS);
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    Scene scene(seed);
    DISP_Model expected{};
    Apply(scene, &expected);
    if (HasFatalFailure()) return;
    int width = 0, height = 0;
    const uint8_t* got = SimComposeFrame(&width, &height);
    ASSERT_TRUE(DISP_ComposeFrame(expected, g_sim.video.data(),
                                  {want.data(), wantWritten.data(), wantWritten.size()},
                                  DISP_KERNELS_PORTABLE));
    const DISP_Geometry geometry = DISP_GeometryOf(expected);
    ASSERT_EQ(width, geometry.width) << "seed " << seed;
    ASSERT_EQ(height, geometry.height) << "seed " << seed;
    size_t differing = 0, first = 0;
    for (size_t i = 0; i < size_t(width) * height * 3; ++i)
      if (got[i] != want[i] && !differing++) first = i;
    EXPECT_EQ(differing, 0u) << "seed " << seed << ", mode " << expected.displayMode << ", depth "
                             << expected.colorBitDepth << ", first at byte " << first;
  }
}

// OSD areas and a sub-picture through the handheld's record writers (physical addresses, the OSD
// header's words in its own order) show as the desktop's records of the same areas do; the
// records are left as the program wrote them.
TEST_F(StartedSimTest, OverlayRecordsShowAsTheDesktopsRecordsDo) {
  for (const uint32_t mode : {0u, 6u}) {
    ASSERT_EQ(VKR_SetDisplayMode(mode, 16), VKR_OK);
    ASSERT_EQ(VKR_SetRGBStartAddress(0), VKR_OK);
    ASSERT_EQ(VKR_SetRGBRegionOperation(5, 1, 0, 0, 0, 0, 0, 0, 0), VKR_OK);  // the overlays alone
    std::mt19937 random(mode + 1);
    for (uint32_t n = 0; n < kPictureBytes; ++n) g_sim.video[n] = static_cast<uint8_t>(random());
    constexpr uint32_t kFirst = 0x300000, kSecond = 0x301000, kBase = 0x302000;
    constexpr uint32_t kEven = 0x303000, kOdd = 0x304000;
    const uint32_t osdPalette[4] = {0xF0808010, 0x7040A0C0, 0xF0C03060, 0x30FF00FF};
    ASSERT_EQ(VKR_SetOSDPalette(0, osdPalette, 4), VKR_OK);
    for (uint32_t n = 0; n < 0x800; ++n) {
      g_sim.video[kFirst + 12 + n] = static_cast<uint8_t>(random() % 4);
      g_sim.video[kSecond + 12 + n] = static_cast<uint8_t>(random());
      g_sim.video[kEven + n] = static_cast<uint8_t>(random());
      g_sim.video[kOdd + n] = static_cast<uint8_t>(random());
    }
    ASSERT_EQ(VKR_WriteOSDHeader(kFirst, kSecond, 10, 5, 49, 25, 8, 0, 1, 1, 9, 2), VKR_OK);
    ASSERT_EQ(VKR_WriteOSDHeader(kSecond, 0xFFFFFFFF, 100, 30, 139, 40, 2, 0, 0, 0, 0, 0), VKR_OK);
    ASSERT_EQ(VKR_SetOSDPlane(1, kFirst, kFirst), VKR_OK);
    for (uint16_t i = 0; i < 16; ++i) ASSERT_EQ(VKR_SetSPUColor(i, random()), VKR_OK);
    ASSERT_EQ(VKR_WriteSPUBaseCmd(kBase, 0, 0, 0x3210, 0xF8F0, 50, 70, kEven, kOdd), VKR_OK);
    ASSERT_EQ(VKR_SetSPUPlane(1, 1, 0, kBase, 0), VKR_OK);
    const std::vector<uint8_t> asWritten(g_sim.video.begin(), g_sim.video.end());

    // The desktop's records of the same areas, in a copy of video memory.
    std::vector<uint8_t> desktop = asWritten;
    DISP_OSDHeader first{kSecond, 5, 25, 10, 49, 9, 1, 1, 0, 0, 2, 2};
    DISP_OSDHeader second{0xFFFFFFFF, 30, 40, 100, 139, 0, 0, 0, 0, 1, 0, 0};
    DISP_WriteOSDHeader(desktop.data() + kFirst, first);
    DISP_WriteOSDHeader(desktop.data() + kSecond, second);
    const bool lcd = mode == 0;
    DISP_WriteSPUBaseCmd(desktop.data() + kBase,
                         {lcd ? 640u : 1440u, 0, 0x3210, 0xF8F0, 0, static_cast<uint16_t>(lcd ? 319 : 719),
                          50, 70, kEven, kOdd, 0});
    DISP_Model model{};
    SimDisplay_Decode(&model);
    DISP_Model expected{};
    DISP_InitModel(&expected, mode);
    expected.rgbLayerRegion[5].visible = 0;
    expected.osdLayerEnable = 1;
    expected.osdHeaderEvenField = expected.osdHeaderOddField = kFirst;
    std::copy(std::begin(osdPalette), std::end(osdPalette), expected.osdPalette.begin());
    expected.spuLayerEnable = 1;
    expected.spuOnTopOfOSDLayer = 1;
    expected.spuBaseCmdMemOffset = kBase;
    expected.spuColorPalette = model.spuColorPalette;  // bits 16-23 are not kept: compared below
    std::vector<uint8_t> want(DISP_MAX_OUTPUT_PIXELS * 3), wantWritten(DISP_MAX_OUTPUT_PIXELS);
    ASSERT_TRUE(DISP_ComposeFrame(expected, desktop.data(),
                                  {want.data(), wantWritten.data(), wantWritten.size()},
                                  DISP_KERNELS_PORTABLE));
    int width = 0, height = 0;
    const uint8_t* got = SimComposeFrame(&width, &height);
    EXPECT_TRUE(std::equal(got, got + size_t(width) * height * 3, want.begin())) << "mode " << mode;
    EXPECT_TRUE(std::equal(asWritten.begin(), asWritten.end(), g_sim.video.begin()));
    size_t shown = 0;
    for (int n = 0; n < width * height; ++n) shown += wantWritten[n];
    EXPECT_GT(shown, 1000u);
  }
}

}  // namespace
