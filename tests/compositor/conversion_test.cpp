// conversion_test.cpp: the six colour conversions at their documented values, and the
// compositor's conversion kernels (portable, AVX2, AVX-512) against the plain formula over every Y, Cb,
// Cr and under extreme adjustments.
#include <random>
#include <vector>

#include "fixture.h"
#include "disp_composeUnits.h"

TEST(ColourConversion, DocumentedValues) {
  EXPECT_EQ(VKR_RGBtoYUY2Color(0, 0, 0), 0x80108010u);
  EXPECT_EQ(VKR_RGBtoYUY2Color(255, 255, 255), 0x80EB80EBu);
  EXPECT_EQ(VKR_RGBtoYUY2Color(255, 0, 0), 0xF0525A52u);
  int r, g, b, a;
  ASSERT_EQ(VKR_YUY2toRGBColor(0x80EB80EB, &r, &g, &b), VKR_OK);
  EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{254, 254, 254}));
  ASSERT_EQ(VKR_YUY2toRGBColor(0x00100010, &r, &g, &b), VKR_OK);
  EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{0, 154, 0}));
  EXPECT_EQ(VKR_Dual16bitRGBtoYUY2Color(0xFFFFFFFF), 0x7FE77FE7u);
  EXPECT_EQ(VKR_Dual16bitRGBtoYUY2Color(0xF800001F), 0xED50ED28u);
  uint32_t dual = 1;
  ASSERT_EQ(VKR_YUY2ColortoDual16bitRGB(0x80108010, &dual), VKR_OK);
  EXPECT_EQ(dual, 0u);
  // Y0 white, Y1 black, neutral chroma: the halves follow their own Y.
  ASSERT_EQ(VKR_YUY2ColortoDual16bitRGB(0x801080EB, &dual), VKR_OK);
  EXPECT_EQ(dual & 0xFFFF, 0xFFFFu);
  EXPECT_EQ(dual >> 16, 0u);
  EXPECT_EQ(VKR_RGBAtoYUVAColor(0, 0, 0, 0x1FF), 0xFF808010u);
  ASSERT_EQ(VKR_YUVAtoRGBAColor(0x7F8080EB, &r, &g, &b, &a), VKR_OK);
  EXPECT_EQ((std::vector<int>{r, g, b, a}), (std::vector<int>{254, 254, 254, 0x7F}));
}

TEST(ColourConversion, NullOutputsAnswerBadArgument) {
  int v;
  EXPECT_EQ(VKR_YUY2toRGBColor(0, nullptr, &v, &v), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_YUY2ColortoDual16bitRGB(0, nullptr), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_YUVAtoRGBAColor(0, &v, &v, &v, nullptr), VKR_BAD_ARGUMENT);
}

// Components outside 0-255 are clamped, so no result spills into a neighbouring byte.
TEST(ColourConversion, OutOfRangeComponentsAreClamped) {
  EXPECT_EQ(VKR_RGBtoYUY2Color(1000, -5, 300), VKR_RGBtoYUY2Color(255, 0, 255));
  EXPECT_EQ(VKR_RGBAtoYUVAColor(-2000000000, 2000000000, 0, 7),
            VKR_RGBAtoYUVAColor(0, 255, 0, 7));
}

// The display component's kernels alone, on a model of their own.
class ConversionKernelTest : public ::testing::TestWithParam<DISP_Kernels> {
 protected:
  void SetUp() override {
    if (GetParam() > DISP_BestKernels()) GTEST_SKIP() << "the processor lacks these kernels";
    DISP_InitModel(&model, 0);
    composition.model = &model;
    composition.kernels = GetParam();
  }
  // The reference conversion of one Y, Cb, Cr pixel under the current settings.
  void Expected(uint8_t y, uint8_t cb, uint8_t cr, uint8_t* bgr) const {
    const uint8_t yuv[3] = {y, cb, cr};
    RefConvertPixel(model, yuv, bgr);
  }
  DISP_Model model;
  DISP_Composition composition{};
};

TEST_P(ConversionKernelTest, EveryPixelAtStartSettings) {
  DISP_PrepareColorAdjust(composition);
  std::vector<uint8_t> row(256 * 3);
  for (int y = 0; y < 256; ++y) {
    for (int cb = 0; cb < 256; ++cb) {
      for (int cr = 0; cr < 256; ++cr) {
        row[3 * cr] = uint8_t(y), row[3 * cr + 1] = uint8_t(cb), row[3 * cr + 2] = uint8_t(cr);
      }
      DISP_ConvertYCbCrToBGR(composition, row.data(), 256);
      for (int cr = 0; cr < 256; ++cr) {
        uint8_t want[3];
        Expected(uint8_t(y), uint8_t(cb), uint8_t(cr), want);
        ASSERT_EQ(std::memcmp(want, &row[3 * cr], 3), 0) << y << " " << cb << " " << cr;
      }
    }
  }
}

// Random adjustments, hue coefficients at their extremes included, through both input forms.
TEST_P(ConversionKernelTest, RandomAdjustmentsBothInputForms) {
  std::mt19937 random(1234);
  std::vector<uint8_t> pairs(4 * 64), pixels(3 * 128), out(3 * 128);
  for (int round = 0; round < 400; ++round) {
    // Rounds of the start settings, of one set of coefficients for every quadrant, and of
    // anything at all.
    const int kind = round % 4;
    model.yuvBrightness = kind == 0 ? 0 : int8_t(random());
    model.yuvContrast = uint8_t(kind == 0 ? 0 : round % 10 == 9 ? random() : random() % 8);
    const int8_t shared[4] = {int8_t(random() % 64 - 32), int8_t(random() % 64 - 32),
                              int8_t(random() % 64 - 32), int8_t(random() % 64 - 32)};
    for (int q = 0; q < 4; ++q) {
      const int8_t pick[4] = {-128, 127, 63, int8_t(random())};
      model.hueCbA[q] = kind == 0 ? 63 : kind == 1 ? shared[0] : pick[random() % 4];
      model.hueCbB[q] = kind == 0 ? 0 : kind == 1 ? shared[1] : pick[random() % 4];
      model.hueCrA[q] = kind == 0 ? 0 : kind == 1 ? shared[2] : pick[random() % 4];
      model.hueCrB[q] = kind == 0 ? 63 : kind == 1 ? shared[3] : pick[random() % 4];
    }
    DISP_PrepareColorAdjust(composition);
    for (auto& v : pairs) v = uint8_t(random());
    const int first = int(random() % 2);
    const int count = int(random() % 100) + 1;
    DISP_ConvertYUY2ToBGR(composition, pairs.data(), first, out.data(), count);
    for (int j = 0; j < count; ++j) {
      const int s = first + j;
      const uint8_t* p = &pairs[4 * (s / 2)];
      uint8_t want[3];
      Expected(p[(s % 2) * 2], p[1], p[3], want);
      ASSERT_EQ(std::memcmp(want, &out[3 * j], 3), 0) << "round " << round << " pixel " << j;
    }
    for (auto& v : pixels) v = uint8_t(random());
    std::vector<uint8_t> in = pixels;
    DISP_ConvertYCbCrToBGR(composition, pixels.data(), count);
    for (int j = 0; j < count; ++j) {
      uint8_t want[3];
      Expected(in[3 * j], in[3 * j + 1], in[3 * j + 2], want);
      ASSERT_EQ(std::memcmp(want, &pixels[3 * j], 3), 0) << "round " << round << " pixel " << j;
    }
    ASSERT_EQ(std::memcmp(&pixels[3 * count], &in[3 * count], pixels.size() - 3 * count), 0);
  }
}

std::string KernelName(const ::testing::TestParamInfo<DISP_Kernels>& info) {
  return info.param == DISP_KERNELS_PORTABLE ? "Portable"
         : info.param == DISP_KERNELS_AVX2   ? "AVX2"
                                             : "AVX512";
}

INSTANTIATE_TEST_SUITE_P(Kernels, ConversionKernelTest,
                         ::testing::Values(DISP_KERNELS_PORTABLE, DISP_KERNELS_AVX2,
                                           DISP_KERNELS_AVX512),
                         KernelName);
