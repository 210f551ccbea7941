// layers_test.cpp: hand-computed frames: black with nothing on, the colour key over a picture and
// over nothing, a region's hole, alpha, YUV scaling, mirror and field parity, the cursor's clipping,
// codes and alpha, and geometry that reaches past the output or video memory.
#include <vector>

#include "fixture.h"

namespace {

constexpr uint32_t kPicture = 0x100000;  // YUV source pictures
constexpr uint32_t kImage = 0x300000;    // RGB layer image
constexpr uint32_t kBitmap = 0x500000;   // cursor bitmap

// 130: Y 128 with the start hue (chroma 0) converts to (298 x 112) / 256.
constexpr uint8_t kGrey = 130;

class LayersTest : public CompositorTest {
 protected:
  // Plane A over the whole LCD, every pixel Y 128 with neutral chroma.
  void GreyPlane(uint16_t right = 319) {
    for (uint32_t i = 0; i < 160 * 240; ++i) PutYUY2(kPicture + 4 * i, 128, 128, 128, 128);
    VKR_SetYUVVideoPlane(1, 1, 0, 0, right, 240, 240, 320, kPicture, 0, 0, 0, 0, 0);
  }
  void FillImage16(uint16_t pixel) {
    for (uint32_t i = 0; i < 320 * 240; ++i) Put16(kImage + 2 * i, pixel);
    VKR_SetRGBStartAddress(kImage);
  }
  void ExpectPixel(int x, int y, uint8_t b, uint8_t g, uint8_t r) {
    const uint8_t* p = SurfacePixel(x, y);
    EXPECT_EQ(p[0], b) << "blue at " << x << "," << y;
    EXPECT_EQ(p[1], g) << "green at " << x << "," << y;
    EXPECT_EQ(p[2], r) << "red at " << x << "," << y;
  }
  void Render() { ASSERT_EQ(VKR_LowLevelAPI_SoftRender(), VKR_OK); }
};

}  // namespace

TEST_F(LayersTest, NothingOnIsBlackAndGammaTouchesNothing) {
  VKR_SetRGBRegionOperation(5, 0, 1, 0, 0, 0, 0, 0, 0);
  std::vector<uint32_t> white(256, 0xFFFFFF);
  VKR_SetGamma(0, white.data(), 256);
  VKR_EnableGamma(1);
  Render();
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) {
      ASSERT_EQ(SurfacePixel(x, y)[0] | SurfacePixel(x, y)[1] | SurfacePixel(x, y)[2], 0);
      ASSERT_EQ(Written(x, y), 0);
    }
}

TEST_F(LayersTest, MagentaKeyShowsThePictureOrMagentaOverNothing) {
  GreyPlane(159);
  FillImage16(0xF81F);
  VKR_SetRGBRegionColorKey(0xFF00FF);
  VKR_SetRGBRegionOperation(5, 1, 1, 1, 15, 0, 0, 0, 0);
  Render();
  ExpectPixel(10, 10, kGrey, kGrey, kGrey);
  ExpectPixel(200, 10, 0xF8, 0, 0xF8);
  EXPECT_EQ(Written(200, 10), 1);
}

TEST_F(LayersTest, InvisibleRegionPunchesAHoleAndAnEmptyRegionChangesNothing) {
  GreyPlane();
  FillImage16(0xF800);
  VKR_SetRGBRegionOperation(1, 1, 0, 0, 0, 10, 5, 19, 9);
  VKR_SetRGBRegionOperation(2, 1, 0, 0, 0, 50, 5, 40, 9);  // left after right: no pixel
  Render();
  ExpectPixel(10, 5, kGrey, kGrey, kGrey);
  ExpectPixel(19, 9, kGrey, kGrey, kGrey);
  ExpectPixel(20, 9, 0, 0, 0xF8);
  ExpectPixel(9, 5, 0, 0, 0xF8);
  ExpectPixel(45, 7, 0, 0, 0xF8);
}

TEST_F(LayersTest, AlphaEightBlendsWrittenPixelsOnly) {
  GreyPlane(159);
  FillImage16(0xFFFF);
  VKR_SetRGBRegionOperation(5, 1, 1, 2, 8, 0, 0, 0, 0);
  Render();
  // (8 x 248 + 7 x 130) / 15 = 192, (8 x 252 + 7 x 130) / 15 = 195.
  ExpectPixel(0, 0, 192, 195, 192);
  // Over nothing the layer shows unblended.
  ExpectPixel(160, 0, 0xF8, 0xFC, 0xF8);
}

TEST_F(LayersTest, ScaleFactorsAndMirror) {
  for (uint8_t i = 0; i < 8; ++i) PutYUY2(kPicture + 4 * i, 10 + 20 * i, 128, 20 + 20 * i, 128);
  const auto rowOf = [&](uint16_t horizontal, uint32_t offset, uint32_t mirror) {
    VKR_SetYUVVideoPlane(1, 1, 0, 0, 7, 1, 1, 320, offset, mirror, 0, 0, 0, 0);
    VKR_SetYUVVideoPlaneScaler(1, 1, horizontal, 1024);
    VKR_LowLevelAPI_SoftRender_YUV_Layer(1, 1);
    std::vector<int> ys;
    for (int x = 0; x < 8; ++x) ys.push_back(SurfacePixel(x, 0)[0]);
    return ys;
  };
  EXPECT_EQ(rowOf(512, kPicture, 0), (std::vector<int>{10, 10, 20, 20, 30, 30, 40, 40}));
  EXPECT_EQ(rowOf(2048, kPicture, 0), (std::vector<int>{10, 30, 50, 70, 90, 110, 130, 150}));
  // Mirrored from pair 3: Y1 before Y0, pairs backwards.
  EXPECT_EQ(rowOf(1024, kPicture + 12, 1), (std::vector<int>{80, 70, 60, 50, 40, 30, 20, 10}));
}

TEST_F(LayersTest, TelevisionLinesKeepTheirFieldParity) {
  VKR_SetDisplayMode(6, 16);
  for (uint32_t line = 0; line < 480; ++line) PutYUY2(kPicture + line * 1440, uint8_t(line), 128, 0, 128);
  VKR_SetYUVVideoPlane(1, 1, 0, 0, 0, 240, 240, 720, kPicture, 0, 0, 0, 0, 0);
  VKR_SetYUVVideoPlaneScaler(1, 1, 1024, 512);
  VKR_LowLevelAPI_SoftRender_YUV_Layer(1, 1);
  // Line y reads (y / 2 with bit 0 cleared) + y mod 2.
  for (int y : {0, 1, 2, 3, 4, 5, 6, 7, 478, 479})
    EXPECT_EQ(SurfacePixel(0, y)[0], ((y / 2) & ~1) + (y & 1)) << y;
  VKR_SetYUVVideoPlaneScaler(1, 1, 1024, 1024);
  VKR_LowLevelAPI_SoftRender_YUV_Layer(1, 1);
  for (int y : {0, 1, 238, 239, 240, 479}) EXPECT_EQ(SurfacePixel(0, y)[0], y & 0xFF) << y;
}

TEST_F(LayersTest, CursorClipsAtTheRightEdgeInvertsAndBlends) {
  FillImage16(0xFFFF);
  // Rows of code 3, except row 1: code 1 (opaque blue) then code 0 (black at alpha 8).
  std::memset(base + kBitmap, 0xFF, 256);
  base[kBitmap + 8] = 0x01;
  VKR_SetCursorParams(1, 32, 0xF0FF0000, 0x80000000, kBitmap);
  VKR_MoveCursor(300, 10);
  Render();
  ExpectPixel(299, 10, 0xF8, 0xFC, 0xF8);
  ExpectPixel(300, 10, 255 - 0xF8, 255 - 0xFC, 255 - 0xF8);
  ExpectPixel(319, 41, 255 - 0xF8, 255 - 0xFC, 255 - 0xF8);
  ExpectPixel(300, 42, 0xF8, 0xFC, 0xF8);
  ExpectPixel(300, 11, 0xFF, 0, 0);
  // 248 x (240 - 128) / 240 = 115, 252 x 112 / 240 = 117.
  ExpectPixel(301, 11, 115, 117, 115);
}

TEST_F(LayersTest, CodeThreeOnWhiteIsBlack) {
  const uint32_t white[1] = {0xFFFFFF};
  VKR_SetDisplayMode(0, 8);
  VKR_SetPalette(0, white, 1);
  std::memset(base + kBitmap, 0xFF, 256);
  VKR_SetCursorParams(1, 32, 0, 0, kBitmap);
  VKR_MoveCursor(0, 0);
  Render();
  ExpectPixel(0, 0, 0, 0, 0);
  ExpectPixel(32, 0, 255, 255, 255);
}

// Geometry far outside the output and sources at the end of video memory: only what lies inside
// is drawn, the same as the reference.
TEST_F(LayersTest, GeometryPastTheOutputAndVideoMemoryIsClipped) {
  for (uint32_t mode : {0u, 20u}) {
    VKR_SetDisplayMode(mode, 16);
    std::memset(base + VKR_VIDEO_MEMORY_SIZE - 64, 0x5A, 64);
    VKR_SetYUVVideoPlane(1, 1, 0, 0, 0xFFFF, 0xFFFF, 0x8000, 0xFFFF, VKR_VIDEO_MEMORY_SIZE - 8, 0, 0,
                         VKR_VIDEO_MEMORY_SIZE - 4, 1, 1);
    VKR_SetYUVVideoPlane(0, 1, 100, 0, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0, 1, 1, 0, 0, 0);
    VKR_SetRGBStartAddress(VKR_VIDEO_MEMORY_SIZE - 4);
    VKR_SetRGBRegionOperation(1, 1, 1, 2, 9, 0, 0, 0xFFFF, 0xFFFF);
    VKR_SetCursorParams(1, 64, 0x80FFFFFF, 0, VKR_VIDEO_MEMORY_SIZE - 4);
    VKR_MoveCursor(700, 250);
    const RefFrame ref = Reference();
    Render();
    EXPECT_TRUE(SameAsReference(ref)) << "mode " << mode;
    // Plane A: the last two pairs; plane B mirrored back from offset 0: one pair only.
    EXPECT_EQ(Written(3, 0), 1);
    EXPECT_EQ(Written(4, 0), 0);
    EXPECT_EQ(Written(101, 0), 1);
    EXPECT_EQ(Written(102, 0), 0);
    EXPECT_EQ(Written(100, 1), 0);
  }
}
