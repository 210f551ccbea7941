// The pack's colour conversions: the display's BT.601 integer pair and RGB565 packing that can
// never produce the transparent key.
#include "colour_convert.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace mkresource {
namespace {

TEST(ColourConvert, RgbToYuvMatchesTheDisplaysReferencePoints) {
  const Yuv black = RgbToYuv({0, 0, 0});
  const Yuv white = RgbToYuv({255, 255, 255});
  const Yuv red = RgbToYuv({255, 0, 0});
  EXPECT_EQ(black.y, 16);
  EXPECT_EQ(black.cb, 128);
  EXPECT_EQ(black.cr, 128);
  EXPECT_EQ(white.y, 235);
  EXPECT_EQ(white.cb, 128);
  EXPECT_EQ(white.cr, 128);
  EXPECT_EQ(red.y, 0x52);
  EXPECT_EQ(red.cb, 0x5A);
  EXPECT_EQ(red.cr, 0xF0);
}

TEST(ColourConvert, YuvToRgbTruncatesAndClampsLikeTheDisplay) {
  const Rgb8 white = YuvToRgb({235, 128, 128});
  EXPECT_EQ(white.r, 254);
  EXPECT_EQ(white.g, 254);
  EXPECT_EQ(white.b, 254);
  const Rgb8 clamped = YuvToRgb({16, 0, 0});
  EXPECT_EQ(clamped.r, 0);
  EXPECT_EQ(clamped.g, 154);
  EXPECT_EQ(clamped.b, 0);
}

TEST(ColourConvert, EveryColourStaysInStudioSwingAndComesBackClose) {
  for (int r = 0; r <= 255; r += 15) {
    for (int g = 0; g <= 255; g += 15) {
      for (int b = 0; b <= 255; b += 15) {
        const Yuv yuv = RgbToYuv({r, g, b});
        ASSERT_GE(yuv.y, 16);
        ASSERT_LE(yuv.y, 235);
        ASSERT_GE(yuv.cb, 16);
        ASSERT_LE(yuv.cb, 240);
        ASSERT_GE(yuv.cr, 16);
        ASSERT_LE(yuv.cr, 240);
        const Rgb8 back = YuvToRgb(yuv);
        ASSERT_LE(std::abs(back.r - r), 4) << r << "," << g << "," << b;
        ASSERT_LE(std::abs(back.g - g), 4) << r << "," << g << "," << b;
        ASSERT_LE(std::abs(back.b - b), 4) << r << "," << g << "," << b;
      }
    }
  }
}

TEST(ColourConvert, PackingKeepsEveryColourButTheKey) {
  for (int pixel = 0; pixel <= 0xFFFF; ++pixel) {
    const std::uint16_t packed = PackOpaqueRgb565(pixel >> 11, (pixel >> 5) & 0x3F, pixel & 0x1F);
    if (pixel == 0xF81F) {
      EXPECT_NE(packed, 0xF81F);
      EXPECT_LE(std::abs(packed - pixel), 1);
    } else {
      ASSERT_EQ(packed, pixel);
    }
  }
  const Rgb8 white = UnpackRgb565(0xFFFF);
  EXPECT_EQ(white.r, 248);
  EXPECT_EQ(white.g, 252);
  EXPECT_EQ(white.b, 248);
}

}  // namespace
}  // namespace mkresource
