// display_component_test.cpp: the display component on its own, linked beside a stub back end with
// the desktop's VKR_ operation and g_ global names: the model's start values, the records written
// and read back, a composed frame against the hand-worked bytes, and the refusals of the compose,
// blit and rotate calls.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "disp_blitter.h"
#include "disp_records.h"
#include "stub_backend.h"

namespace {

class StubBackEnd : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(VKR_InitLowLevelAPI("stub"), 0u); }
  void TearDown() override { VKR_FreeLowLevelAPI(0); }
  const uint8_t* Pixel(int x, int y, int width) const {
    return g_ucFrameSurface + (static_cast<size_t>(y) * width + x) * 3;
  }
};

}  // namespace

TEST(DisplayModel, StartValues) {
  DISP_Model model;
  DISP_InitModel(&model, 40);  // above 32: mode 0
  EXPECT_EQ(model.displayMode, 0u);
  EXPECT_EQ(model.colorBitDepth, 16);
  EXPECT_EQ(model.screenSizeX, 320);
  for (int region = 1; region <= 4; ++region) {
    EXPECT_EQ(model.rgbLayerRegion[region].active, 0u);
    EXPECT_EQ(model.rgbLayerRegion[region].visible, 1u);
  }
  EXPECT_EQ(model.rgbLayerRegion[5].active, 1u);
  EXPECT_EQ(model.yuvScaler[3].horizontal, 1024);
  EXPECT_EQ(model.yuvFirstPlanePriority, 1);
  EXPECT_EQ(model.gammaTable[200], 200u * 0x010101u);
  // Saturation 128 and hue 0: 128 x 127 >> 8 on the diagonal, nothing across.
  EXPECT_EQ(model.hueCbA[2], 63);
  EXPECT_EQ(model.hueCbB[2], 0);
  EXPECT_EQ(model.hueCrA[2], 0);
  EXPECT_EQ(model.hueCrB[2], 63);
  // A quarter turn swaps the chroma axes.
  DISP_SetHueCoefficients(&model, 5, 128, 64);
  EXPECT_EQ(model.hueCbA[1], 0);
  EXPECT_EQ(model.hueCbB[1], 63);
  EXPECT_EQ(model.hueCrA[1], -64);
}

TEST(DisplayRecords, WrittenAndReadBack) {
  std::vector<uint8_t> at(32, 0xEE);
  const DISP_OSDHeader h = {0x1234, 7, 9, 5, 300, 12, 1, 1, 1, 1, 1, 200};
  DISP_WriteOSDHeader(at.data(), h);
  EXPECT_EQ(DISP_ReadLE32(at.data() + 4),
            9u | 7u << 11 | 12u << 22 | 1u << 26 | 1u << 28 | 1u << 30 | 1u << 31);
  EXPECT_EQ(DISP_ReadLE32(at.data() + 8), 300u | 5u << 11 | 200u << 22 | 1u << 30);
  EXPECT_EQ(at[12], 0xEE);
  const DISP_OSDHeader back = DISP_ReadOSDHeader(at.data());
  EXPECT_EQ(std::memcmp(&back, &h, sizeof h), 0);

  const DISP_SPUBaseCmd base = {1440, 1, 0x1234, 0xF8F8, 0, 719, 10, 500, 0x100, 0x200, 0x300};
  DISP_WriteSPUBaseCmd(at.data(), base);
  EXPECT_EQ(DISP_ReadBE32(at.data()), 1441u);
  const DISP_SPUBaseCmd baseBack = DISP_ReadSPUBaseCmd(at.data());
  EXPECT_EQ(std::memcmp(&baseBack, &base, sizeof base), 0);

  DISP_WriteSPUChangeHeader(at.data(), {300, 4000, 15});
  const DISP_SPUChangeHeader header = DISP_ReadSPUChangeHeader(DISP_ReadBE32(at.data()));
  EXPECT_EQ(header.lineStart, 300);
  EXPECT_EQ(header.lineEnd, 4000 & 0xFFF);  // twelve bits
  EXPECT_EQ(header.count, 15);
  DISP_WriteSPUChangeEntry(at.data(), {1, 2, 3, 4});
  const DISP_SPUChangeEntry entry = DISP_ReadSPUChangeEntry(at.data());
  EXPECT_EQ(std::tuple(entry.colorWord, entry.contrastWord, entry.left, entry.right),
            std::tuple(1, 2, 3, 4));
  const DISP_SPUHighlight highlight = {10, 20, 30, 40, 50, 60};
  DISP_WriteSPUHighlight(at.data(), highlight);
  const DISP_SPUHighlight highlightBack = DISP_ReadSPUHighlight(at.data());
  EXPECT_EQ(std::memcmp(&highlightBack, &highlight, sizeof highlight), 0);
}

// A 2 x 1 OSD area of 8-bit pixels on NTSC, through the stub's own operations: the even field's
// line 1 is output line 2; Y 235 converts to 254 on every channel, the unwritten rest is black.
TEST_F(StubBackEnd, ComposesWithTheComponent) {
  ASSERT_EQ(VKR_SetDisplayMode(6, 16), 0u);
  g_displayModel.rgbLayerRegion[5].active = 0;
  g_displayModel.osdPalette[3] = 235 | 128 << 8 | 128 << 16 | 0xFu << 28;
  ASSERT_EQ(VKR_WriteOSDHeader(0x1000, 0xFFFFFFFF, 10, 1, 11, 2, 8, 0, 0, 0, 0, 0), 0u);
  g_GP2X_VIDEO_BASE_PTR[0x100C] = 3;
  g_GP2X_VIDEO_BASE_PTR[0x100D] = 3;
  g_displayModel.osdLayerEnable = 1;
  g_displayModel.osdHeaderEvenField = 0x1000;
  g_displayModel.osdHeaderOddField = 0x2000;  // zeros: an empty area
  ASSERT_EQ(VKR_LowLevelAPI_SoftRender(), 0u);
  EXPECT_EQ(Pixel(10, 2, 720)[0], 254);
  EXPECT_EQ(Pixel(11, 2, 720)[2], 254);
  EXPECT_EQ(Pixel(12, 2, 720)[0], 0);
  EXPECT_EQ(Pixel(10, 3, 720)[0], 0);
  EXPECT_EQ(g_ucByteWriteOnPlane[2 * 720 + 11], 1);
  EXPECT_EQ(g_ucByteWriteOnPlane[2 * 720 + 12], 0);
}

TEST_F(StubBackEnd, RefusalsChangeNothing) {
  // A surface smaller than the PAL output is not composed.
  ASSERT_EQ(VKR_SetDisplayMode(20, 16), 0u);
  std::vector<uint8_t> pixels(320 * 240 * 3, 7), written(320 * 240, 7);
  EXPECT_FALSE(DISP_ComposeFrame(g_displayModel, g_GP2X_VIDEO_BASE_PTR,
                                 {pixels.data(), written.data(), written.size()},
                                 DISP_KERNELS_PORTABLE));
  EXPECT_EQ(pixels[0], 7);
  EXPECT_EQ(written.back(), 7);
  // Raster operation 16 and a pixel size of 4 bytes draw nothing.
  std::memset(g_GP2X_VIDEO_BASE_PTR, 0x11, 64);
  EXPECT_EQ(VKR_HwBitBlt(0, 8, 8, 2, 32, 8, 16, 0, 0, 0), 4u);
  EXPECT_FALSE(DISP_Rotate({0, 32, 8, 8, 2, 2, 4, 1}, g_GP2X_VIDEO_BASE_PTR));
  for (int i = 0; i < 64; ++i) ASSERT_EQ(g_GP2X_VIDEO_BASE_PTR[i], 0x11) << i;
  // Operation 0 over the first row clears it; a quarter turn of A B gives A above B.
  EXPECT_EQ(VKR_HwBitBlt(0, 8, 8, 1, 0, 8, 0, 0, 0, 0), 0u);
  EXPECT_EQ(g_GP2X_VIDEO_BASE_PTR[15], 0);
  EXPECT_EQ(g_GP2X_VIDEO_BASE_PTR[16], 0x11);
  g_GP2X_VIDEO_BASE_PTR[100] = 'A', g_GP2X_VIDEO_BASE_PTR[101] = 'B';
  ASSERT_TRUE(DISP_Rotate({200, 100, 4, 4, 2, 1, 1, 1}, g_GP2X_VIDEO_BASE_PTR));
  EXPECT_EQ(g_GP2X_VIDEO_BASE_PTR[200], 'A');
  EXPECT_EQ(g_GP2X_VIDEO_BASE_PTR[204], 'B');
}
