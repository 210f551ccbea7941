// Seeded random scenes set through the VKR_ display operations of the hardware back end: the frame
// the simulated console composes from its registers equals the frame composed from the display
// model the desktop back end's setters would have filled, wherever the two back ends agree (no
// narrow modes, start and cursor addresses on word boundaries, counts above 0, the YUV scale
// factors the step register holds exactly, a fresh mode before the rest).
#include <random>
#include <vector>

#include "disp_compose.h"
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

}  // namespace
