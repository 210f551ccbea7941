// 4:2:2 encoding of the background: each pixel rounded to 8-bit RGB with a faint triangular
// dither (so the long dusk gradient shows no steps) and converted to Y, Cb, Cr; chroma is then
// low-passed before a pair's two values are averaged. The LCD reduction takes Cb and Cr from
// source pixels two columns apart, so chroma that changes sharply at a silhouette's edge would
// come back as green and red fringes; smooth chroma keeps the two alike while luma keeps the edge.
#include "picture_encode.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "colour_convert.h"
#include "noise.h"
#include "pack_layout.h"

namespace mkresource {

namespace {

int Quantise(float value, int x, int y, std::uint32_t channel) {
  const float dither = HashUnit(x, y, channel) + HashUnit(x, y, channel + 0x51u) - 1.0f;
  const int level = static_cast<int>(std::floor(value * 255.0f + 0.5f + 0.75f * dither));
  return level < 0 ? 0 : (level > 255 ? 255 : level);
}

constexpr int kRadius = 3;
constexpr std::array<int, 2 * kRadius + 1> kHorizontalTaps = {1, 2, 3, 4, 3, 2, 1};  // sum 16
constexpr std::array<int, 3> kVerticalTaps = {1, 2, 1};                              // sum 4

int Index(int x, int y) { return y * kPictureWidth + x; }

// Separable low-pass with edges clamped, in integers so every compiler gives the same bytes.
std::vector<int> LowPass(const std::vector<int>& plane) {
  std::vector<int> across(plane.size());
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      int sum = 0;
      for (int k = -kRadius; k <= kRadius; ++k) {
        sum += kHorizontalTaps[k + kRadius] * plane[Index(std::clamp(x + k, 0, kPictureWidth - 1), y)];
      }
      across[Index(x, y)] = sum;
    }
  }
  std::vector<int> smooth(plane.size());
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      int sum = 0;
      for (int k = -1; k <= 1; ++k)
        sum += kVerticalTaps[k + 1] * across[Index(x, std::clamp(y + k, 0, kPictureHeight - 1))];
      smooth[Index(x, y)] = (sum + 32) >> 6;
    }
  }
  return smooth;
}

}  // namespace

void EncodePicture(const Canvas& canvas, std::span<std::uint8_t> out) {
  const std::size_t count = static_cast<std::size_t>(kPictureWidth) * kPictureHeight;
  std::vector<int> luma(count), blue(count), red(count);
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      const Rgb& c = canvas.pixels[Index(x, y)];
      const Yuv yuv = RgbToYuv({Quantise(c.r, x, y, 11u), Quantise(c.g, x, y, 23u), Quantise(c.b, x, y, 37u)});
      luma[Index(x, y)] = yuv.y;
      blue[Index(x, y)] = yuv.cb;
      red[Index(x, y)] = yuv.cr;
    }
  }
  blue = LowPass(blue);
  red = LowPass(red);
  std::size_t at = 0;
  for (int i = 0; i < static_cast<int>(count); i += 2) {
    out[at++] = static_cast<std::uint8_t>(luma[i]);
    out[at++] = static_cast<std::uint8_t>((blue[i] + blue[i + 1] + 1) >> 1);
    out[at++] = static_cast<std::uint8_t>(luma[i + 1]);
    out[at++] = static_cast<std::uint8_t>((red[i] + red[i + 1] + 1) >> 1);
  }
}

}  // namespace mkresource
