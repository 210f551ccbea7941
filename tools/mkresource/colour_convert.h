// Colour conversions of the pack: the fixed-point studio-swing BT.601 pair used by the display's
// YUV layer, and RGB565 packing for sprites that never lands on the transparent key.
#pragma once

#include <cstdint>

namespace mkresource {

struct Yuv {
  int y, cb, cr;
};

struct Rgb8 {
  int r, g, b;
};

// Components 0-255 in, Y 16-235 and chroma 16-240 out, bit-exact with the display's conversion.
Yuv RgbToYuv(Rgb8 colour);

// The display's inverse: no rounding term, truncation toward zero, clamped to 0-255.
Rgb8 YuvToRgb(Yuv colour);

// 5-6-5 fields already narrowed; the one colour equal to the key is moved to its nearest neighbour
// so an opaque sprite pixel can never be skipped by the colour-keyed copy.
std::uint16_t PackOpaqueRgb565(int red5, int green6, int blue5);

Rgb8 UnpackRgb565(std::uint16_t pixel);

}  // namespace mkresource
