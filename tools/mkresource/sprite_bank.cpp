// Sprite rasteriser: the pixel centre alone decides object or key, so no edge pixel is a blend
// with the key colour; inside, 3 x 3 samples that hit the object are averaged for smooth detail.
#include "sprite_bank.h"

#include <array>
#include <cmath>

#include "colour_convert.h"
#include "pack_layout.h"
#include "sprite_shading.h"

namespace mkresource {

namespace {

constexpr std::array<std::array<int, 4>, 4> kBayer = {{{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}}};

int Narrow(float value, int levels, float threshold) {
  const int level = static_cast<int>(std::floor(value * levels + threshold));
  return level < 0 ? 0 : (level > levels ? levels : level);
}

}  // namespace

std::vector<std::uint16_t> RenderSpriteFrame(int frame, int size) {
  std::vector<std::uint16_t> pixels(static_cast<std::size_t>(size) * size, kSpriteKey);
  // The outline stays just inside the cell so its border pixels are transparent.
  const float radius = 0.5f * size - 0.6f;
  const float half = 0.5f * size;
  for (int row = 0; row < size; ++row) {
    for (int column = 0; column < size; ++column) {
      const float cx = column + 0.5f - half, cy = row + 0.5f - half;
      if (!ShadeSprite(frame, cx / radius, cy / radius)) continue;
      Rgb sum{0, 0, 0};
      int hits = 0;
      for (int sy = -1; sy <= 1; ++sy) {
        for (int sx = -1; sx <= 1; ++sx) {
          if (const auto colour = ShadeSprite(frame, (cx + sx / 3.0f) / radius, (cy + sy / 3.0f) / radius)) {
            sum = sum + *colour;
            ++hits;
          }
        }
      }
      const Rgb mean = sum * (1.0f / hits);
      const float threshold = (kBayer[row & 3][column & 3] + 0.5f) / 16.0f;
      pixels[static_cast<std::size_t>(row) * size + column] =
          PackOpaqueRgb565(Narrow(mean.r, 31, threshold), Narrow(mean.g, 63, threshold), Narrow(mean.b, 31, threshold));
    }
  }
  return pixels;
}

void EncodeSpriteBank(std::span<std::uint8_t> out) {
  std::size_t at = 0;
  for (const int size : kSpriteSizes) {
    for (int frame = 0; frame < kSpriteFrames; ++frame) {
      for (const std::uint16_t pixel : RenderSpriteFrame(frame, size)) {
        out[at++] = static_cast<std::uint8_t>(pixel & 0xFF);
        out[at++] = static_cast<std::uint8_t>(pixel >> 8);
      }
    }
  }
}

}  // namespace mkresource
