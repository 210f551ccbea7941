// Colour conversions of the pack: BT.601 studio swing in integer form, and RGB565 packing.
#include "colour_convert.h"

#include "disp_bt601.h"
#include "pack_layout.h"

namespace mkresource {

// The display's own arithmetic.
Yuv RgbToYuv(Rgb8 c) {
  const DISP_YCbCr yuv = DISP_YCbCrOfRGB(c.r, c.g, c.b);
  return {yuv.y, yuv.cb, yuv.cr};
}

Rgb8 YuvToRgb(Yuv c) {
  const DISP_RGB rgb = DISP_RGBOfYCbCr(c.y, c.cb, c.cr);
  return {rgb.r, rgb.g, rgb.b};
}

std::uint16_t PackOpaqueRgb565(int red5, int green6, int blue5) {
  const auto pixel = static_cast<std::uint16_t>((red5 << 11) | (green6 << 5) | blue5);
  return pixel == kSpriteKey ? static_cast<std::uint16_t>(kSpriteKey - 1) : pixel;
}

Rgb8 UnpackRgb565(std::uint16_t pixel) { return {(pixel >> 11) << 3, ((pixel >> 5) & 0x3F) << 2, (pixel & 0x1F) << 3}; }

}  // namespace mkresource
