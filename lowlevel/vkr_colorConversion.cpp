// vkr_colorConversion.cpp: conversions between RGB components, YUY2 pixel pairs, dual RGB565 words
// and YUVA words, in the one fixed-point form of studio-swing BT.601 that every layer uses.
#include "disp_bt601.h"
#include "vkr_lowLevel.h"

namespace {

// RGB to YUV. Components outside 0-255 are clamped first: the products then stay far from int
// overflow and every result fits its byte.
struct Yuv {
  uint32_t y, u, v;
};

Yuv YuvOf(int red, int green, int blue) {
  const DISP_YCbCr c =
      DISP_YCbCrOfRGB(DISP_ClampByte(red), DISP_ClampByte(green), DISP_ClampByte(blue));
  return {static_cast<uint32_t>(c.y), static_cast<uint32_t>(c.cb), static_cast<uint32_t>(c.cr)};
}

using Rgb = DISP_RGB;

Rgb RgbOf(uint32_t y, uint32_t u, uint32_t v) {
  return DISP_RGBOfYCbCr(static_cast<int>(y), static_cast<int>(u), static_cast<int>(v));
}

// RGB565 widened to 8-bit components; the low bits stay 0.
Rgb Widen565(uint32_t pixel) {
  return {static_cast<int>((pixel >> 11) & 0x1F) << 3, static_cast<int>((pixel >> 5) & 0x3F) << 2,
          static_cast<int>(pixel & 0x1F) << 3};
}

uint32_t Narrow565(const Rgb& c) {
  return static_cast<uint32_t>((c.r & 0xF8) << 8 | (c.g & 0xFC) << 3 | c.b >> 3);
}

uint32_t Byte(uint32_t word, int index) { return (word >> (8 * index)) & 0xFF; }

}  // namespace

uint32_t VKR_RGBtoYUY2Color(int red, int green, int blue) {
  const Yuv c = YuvOf(red, green, blue);
  return c.y | c.u << 8 | c.y << 16 | c.v << 24;
}

uint32_t VKR_YUY2toRGBColor(uint32_t yuy2, int* red, int* green, int* blue) {
  if (!red || !green || !blue) return VKR_BAD_ARGUMENT;
  const Rgb c = RgbOf(Byte(yuy2, 0), Byte(yuy2, 1), Byte(yuy2, 3));
  *red = c.r;
  *green = c.g;
  *blue = c.b;
  return VKR_OK;
}

uint32_t VKR_Dual16bitRGBtoYUY2Color(uint32_t dualRGB565) {
  const Rgb first = Widen565(dualRGB565 & 0xFFFF);
  const Rgb second = Widen565(dualRGB565 >> 16);
  const Yuv a = YuvOf(first.r, first.g, first.b);
  const Yuv b = YuvOf(second.r, second.g, second.b);
  // No averaging: U from the first pixel, V from the second.
  return a.y | a.u << 8 | b.y << 16 | b.v << 24;
}

uint32_t VKR_YUY2ColortoDual16bitRGB(uint32_t yuy2, uint32_t* dualRGB565) {
  if (!dualRGB565) return VKR_BAD_ARGUMENT;
  const uint32_t u = Byte(yuy2, 1), v = Byte(yuy2, 3);
  *dualRGB565 = Narrow565(RgbOf(Byte(yuy2, 0), u, v)) | Narrow565(RgbOf(Byte(yuy2, 2), u, v)) << 16;
  return VKR_OK;
}

uint32_t VKR_RGBAtoYUVAColor(int red, int green, int blue, int alpha) {
  const Yuv c = YuvOf(red, green, blue);
  return c.y | c.u << 8 | c.v << 16 | (static_cast<uint32_t>(alpha) & 0xFF) << 24;
}

uint32_t VKR_YUVAtoRGBAColor(uint32_t yuva, int* red, int* green, int* blue, int* alpha) {
  if (!red || !green || !blue || !alpha) return VKR_BAD_ARGUMENT;
  const Rgb c = RgbOf(Byte(yuva, 0), Byte(yuva, 1), Byte(yuva, 2));
  *red = c.r;
  *green = c.g;
  *blue = c.b;
  *alpha = static_cast<int>(Byte(yuva, 3));
  return VKR_OK;
}
