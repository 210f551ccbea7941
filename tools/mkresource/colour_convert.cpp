// Colour conversions of the pack: BT.601 studio swing in integer form, and RGB565 packing.
#include "colour_convert.h"

#include <algorithm>

#include "pack_layout.h"

namespace mkresource {

Yuv RgbToYuv(Rgb8 c) {
  // >> on negative ints is an arithmetic shift in C++20: floor division, as the display does it.
  return {((66 * c.r + 129 * c.g + 25 * c.b + 128) >> 8) + 16, ((-38 * c.r - 74 * c.g + 112 * c.b + 128) >> 8) + 128,
          ((112 * c.r - 94 * c.g - 18 * c.b + 128) >> 8) + 128};
}

Rgb8 YuvToRgb(Yuv c) {
  const int luma = 298 * (c.y - 16);
  const int d = c.cb - 128;
  const int e = c.cr - 128;
  return {std::clamp((luma + 409 * e) / 256, 0, 255), std::clamp((luma - 100 * d - 208 * e) / 256, 0, 255),
          std::clamp((luma + 517 * d) / 256, 0, 255)};
}

std::uint16_t PackOpaqueRgb565(int red5, int green6, int blue5) {
  const auto pixel = static_cast<std::uint16_t>((red5 << 11) | (green6 << 5) | blue5);
  return pixel == kSpriteKey ? static_cast<std::uint16_t>(kSpriteKey - 1) : pixel;
}

Rgb8 UnpackRgb565(std::uint16_t pixel) { return {(pixel >> 11) << 3, ((pixel >> 5) & 0x3F) << 2, (pixel & 0x1F) << 3}; }

}  // namespace mkresource
