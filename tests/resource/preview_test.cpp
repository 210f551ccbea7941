// Preview pictures: four PPM files of the right sizes, the LCD one built with the loader's
// reduction (luma of a 2 x 2 block from column 20 on, chroma from the block's top-left pixel).
#include "preview.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "colour_convert.h"

namespace mkresource {
namespace {

struct Ppm {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
};

Ppm ReadPpm(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int depth = 0;
  Ppm ppm;
  in >> magic >> ppm.width >> ppm.height >> depth;
  in.get();
  ppm.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (magic != "P6" || depth != 255) ppm.width = ppm.height = 0;
  return ppm;
}

TEST(Preview, WritesTheFourPicturesDecodedFromThePack) {
  // A picture whose pixel (x, y) has luma 16 + (x + 3y) % 200, Cb 100 + y % 50, Cr 150 + x % 50.
  std::vector<std::uint8_t> pack(769152, 0x1F);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 720; ++x) {
      pack[y * 1440 + 2 * x] = static_cast<std::uint8_t>(16 + (x + 3 * y) % 200);
      pack[y * 1440 + 2 * x + 1] = static_cast<std::uint8_t>(x % 2 == 0 ? 100 + y % 50 : 150 + x % 50);
    }
  }
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "cb_resource_preview_test";
  std::filesystem::remove_all(folder);
  ASSERT_FALSE(WritePreviews(folder, pack).has_value());

  const Ppm television = ReadPpm(folder / "background.ppm");
  const Ppm lcd = ReadPpm(folder / "background-lcd.ppm");
  const Ppm sheet = ReadPpm(folder / "sprites.ppm");
  const Ppm mockup = ReadPpm(folder / "lcd-mockup.ppm");
  EXPECT_EQ(television.width, 720);
  EXPECT_EQ(television.height, 480);
  EXPECT_EQ(lcd.width, 320);
  EXPECT_EQ(lcd.height, 240);
  EXPECT_EQ(mockup.width, 320);
  EXPECT_EQ(mockup.height, 240);
  EXPECT_GT(sheet.width, 0);
  for (const Ppm* ppm : {&television, &lcd, &sheet, &mockup}) {
    EXPECT_EQ(ppm->rgb.size(), 3u * ppm->width * ppm->height);
  }

  // LCD line 3, pixels 4 and 5: source columns 28-29 and 31-32 of lines 6 and 7.
  const auto luma = [](int x, int y) { return 16 + (x + 3 * y) % 200; };
  const int even = (luma(28, 6) + luma(29, 6) + luma(28, 7) + luma(29, 7)) / 4;
  const int odd = (luma(31, 6) + luma(32, 6) + luma(31, 7) + luma(32, 7)) / 4;
  const Rgb8 expected_even = YuvToRgb({even, 100 + 6, 150 + 31});
  const Rgb8 expected_odd = YuvToRgb({odd, 100 + 6, 150 + 31});
  const std::size_t at = (3 * 320 + 4) * 3;
  EXPECT_EQ(lcd.rgb[at], expected_even.r);
  EXPECT_EQ(lcd.rgb[at + 1], expected_even.g);
  EXPECT_EQ(lcd.rgb[at + 2], expected_even.b);
  EXPECT_EQ(lcd.rgb[at + 3], expected_odd.r);
  EXPECT_EQ(lcd.rgb[at + 4], expected_odd.g);
  EXPECT_EQ(lcd.rgb[at + 5], expected_odd.b);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace mkresource
