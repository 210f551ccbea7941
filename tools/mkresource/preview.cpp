// Preview pictures decoded from pack bytes, written as binary PPM.
//   Decoding: 4:2:2 lines to RGB, the LCD reduction, RGB565 sprite frames.
//   Pictures: background, LCD background, sprite sheet, LCD mock-up.
#include "preview.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "colour_convert.h"
#include "pack_layout.h"

namespace mkresource {

namespace {

constexpr int kLcdWidth = 320;
constexpr int kLcdHeight = 240;
constexpr int kLcdFirstColumn = 20;
constexpr int kSheetZoom = 4;
constexpr Rgb8 kBandBlack{0, 0, 0};

struct Image {
  int width, height;
  std::vector<Rgb8> pixels;
};

Image MakeImage(int width, int height, Rgb8 fill) {
  return {width, height, std::vector<Rgb8>(static_cast<std::size_t>(width) * height, fill)};
}

std::vector<std::uint16_t> PictureWords(std::span<const std::uint8_t> pack) {
  std::vector<std::uint16_t> words(kPictureBytes / 2);
  for (std::size_t i = 0; i < words.size(); ++i)
    words[i] = static_cast<std::uint16_t>(pack[2 * i] | (pack[2 * i + 1] << 8));
  return words;
}

// Decodes width pixels of each line the way the YUV plane reads them: a pair shares its chroma.
Image DecodePicture(const std::vector<std::uint16_t>& words, int width, int height) {
  Image image = MakeImage(width, height, {0, 0, 0});
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; x += 2) {
      const std::uint16_t even = words[static_cast<std::size_t>(y) * kPictureWidth + x];
      const std::uint16_t odd = words[static_cast<std::size_t>(y) * kPictureWidth + x + 1];
      const int cb = even >> 8, cr = odd >> 8;
      image.pixels[static_cast<std::size_t>(y) * width + x] = YuvToRgb({even & 0xFF, cb, cr});
      image.pixels[static_cast<std::size_t>(y) * width + x + 1] = YuvToRgb({odd & 0xFF, cb, cr});
    }
  }
  return image;
}

// The demo loader's in-place reduction: 2 x 2 luma mean, chroma of the block's top-left pixel.
void ReduceForLcd(std::vector<std::uint16_t>& words) {
  const auto luma = [&](int x, int y) { return words[static_cast<std::size_t>(y) * kPictureWidth + x] & 0xFF; };
  for (int r = 0; r < kLcdHeight; ++r) {
    for (int x = 0; x < kLcdWidth; ++x) {
      const int c = 2 * x + (x & 1) + kLcdFirstColumn;
      const int sum = luma(c, 2 * r) + luma(c, 2 * r + 1) + luma(c + 1, 2 * r) + luma(c + 1, 2 * r + 1);
      const std::uint16_t source = words[static_cast<std::size_t>(2 * r) * kPictureWidth + c];
      words[static_cast<std::size_t>(r) * kPictureWidth + x] =
          static_cast<std::uint16_t>((source & 0xFF00) + (sum >> 2));
    }
  }
}

std::uint16_t SpritePixel(std::span<const std::uint8_t> pack, int set, int frame, int x, int y) {
  const int size = kSpriteSizes[set];
  const std::size_t at =
      SpriteSetOffset(set) + frame * SpriteFrameBytes(size) + 2u * (static_cast<std::size_t>(y) * size + x);
  return static_cast<std::uint16_t>(pack[at] | (pack[at + 1] << 8));
}

// Draws a frame with every step-th pixel (step 2 is the loader's LCD sprite reduction), key skipped.
void DrawSprite(Image& image, std::span<const std::uint8_t> pack, int set, int frame, int left, int top, int step,
                int zoom) {
  const int size = kSpriteSizes[set] / step;
  for (int y = 0; y < size * zoom; ++y) {
    for (int x = 0; x < size * zoom; ++x) {
      const int px = left + x, py = top + y;
      if (px < 0 || py < 0 || px >= image.width || py >= image.height) continue;
      const std::uint16_t pixel = SpritePixel(pack, set, frame, (x / zoom) * step, (y / zoom) * step);
      if (pixel != kSpriteKey) image.pixels[static_cast<std::size_t>(py) * image.width + px] = UnpackRgb565(pixel);
    }
  }
}

Image SpriteSheet(std::span<const std::uint8_t> pack) {
  constexpr int kGap = 8;
  int width = kGap;
  for (const int size : kSpriteSizes) width += size + kGap;
  const int full_rows = kSpriteFrames * (kSpriteSizes[0] + kGap);
  const int lcd_rows = kSpriteFrames * (kSpriteSizes[0] / 2 + kGap);
  Image sheet = MakeImage(width * kSheetZoom, (kGap + full_rows + lcd_rows) * kSheetZoom, {0, 0, 0});
  // A checkerboard where the key is, so the hard outlines show.
  for (int y = 0; y < sheet.height; ++y) {
    for (int x = 0; x < sheet.width; ++x) {
      const bool light = ((x / 8) + (y / 8)) & 1;
      sheet.pixels[static_cast<std::size_t>(y) * sheet.width + x] = light ? Rgb8{52, 52, 60} : Rgb8{30, 30, 36};
    }
  }
  for (int frame = 0; frame < kSpriteFrames; ++frame) {
    int left = kGap;
    for (int set = 0; set < kSpriteSetCount; ++set) {
      const int full_top = kGap + frame * (kSpriteSizes[0] + kGap);
      const int lcd_top = kGap + full_rows + frame * (kSpriteSizes[0] / 2 + kGap);
      DrawSprite(sheet, pack, set, frame, left * kSheetZoom, full_top * kSheetZoom, 1, kSheetZoom);
      DrawSprite(sheet, pack, set, frame, left * kSheetZoom, lcd_top * kSheetZoom, 2, kSheetZoom);
      left += kSpriteSizes[set] + kGap;
    }
  }
  return sheet;
}

// The LCD background with the demo's opaque black band (lines 40-198) and sprites strewn on a
// tilted ring through it, all three frames and every size.
Image LcdMockup(const Image& lcd, std::span<const std::uint8_t> pack) {
  Image screen = lcd;
  for (int y = 40; y <= 198; ++y) {
    for (int x = 0; x < kLcdWidth; ++x) screen.pixels[static_cast<std::size_t>(y) * kLcdWidth + x] = kBandBlack;
  }
  for (int i = 0; i < 25; ++i) {
    const double a = i * 0.2513274;
    const double depth = 0.5 + 0.5 * std::sin(a);
    const int set = 6 - static_cast<int>(depth * 6.0 + 0.5);
    const int size = kSpriteSizes[set] / 2;
    const int x = static_cast<int>(160.0 + 125.0 * std::cos(a)) - size / 2;
    const int y = static_cast<int>(119.0 + 45.0 * std::sin(a) - 20.0 * std::cos(a)) - size / 2;
    DrawSprite(screen, pack, set, i % kSpriteFrames, x, y, 2, 1);
  }
  return screen;
}

std::optional<std::string> WritePpm(const std::filesystem::path& path, const Image& image) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return "cannot create " + path.string();
  std::vector<std::uint8_t> bytes;
  bytes.reserve(image.pixels.size() * 3);
  for (const Rgb8& p : image.pixels) {
    bytes.push_back(static_cast<std::uint8_t>(p.r));
    bytes.push_back(static_cast<std::uint8_t>(p.g));
    bytes.push_back(static_cast<std::uint8_t>(p.b));
  }
  const bool written = std::fprintf(file, "P6\n%d %d\n255\n", image.width, image.height) > 0 &&
                       std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) return "cannot write " + path.string();
  return std::nullopt;
}

}  // namespace

std::optional<std::string> WritePreviews(const std::filesystem::path& directory, std::span<const std::uint8_t> pack) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) return "cannot create " + directory.string() + ": " + error.message();
  std::vector<std::uint16_t> words = PictureWords(pack);
  const Image television = DecodePicture(words, kPictureWidth, kPictureHeight);
  ReduceForLcd(words);
  const Image lcd = DecodePicture(words, kLcdWidth, kLcdHeight);
  if (auto failure = WritePpm(directory / "background.ppm", television)) return failure;
  if (auto failure = WritePpm(directory / "background-lcd.ppm", lcd)) return failure;
  if (auto failure = WritePpm(directory / "sprites.ppm", SpriteSheet(pack))) return failure;
  return WritePpm(directory / "lcd-mockup.ppm", LcdMockup(lcd, pack));
}

}  // namespace mkresource
