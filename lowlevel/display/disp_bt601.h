// disp_bt601.h: the one fixed-point form of studio-swing ITU-R BT.601 (Y 16-235, chroma centred on
// 128) that the layers, the library's colour conversions and the resource maker all use, bit for
// bit.
#pragma once

struct DISP_YCbCr {
  int y, cb, cr;
};
struct DISP_RGB {
  int r, g, b;
};

constexpr int DISP_ClampByte(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

// Components 0-255 in; every result lies in 0-255 without clamping. >> is floor division.
constexpr DISP_YCbCr DISP_YCbCrOfRGB(int r, int g, int b) {
  return {((66 * r + 129 * g + 25 * b + 128) >> 8) + 16,
          ((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128,
          ((112 * r - 94 * g - 18 * b + 128) >> 8) + 128};
}

// C = Y - 16, D = Cb - 128, E = Cr - 128 to clamped components: no rounding term, blue factor 517,
// division by 256 toward zero. The floor of >> gives the same once clamped at 0.
constexpr DISP_RGB DISP_RGBOfCDE(int c, int d, int e) {
  return {DISP_ClampByte((298 * c + 409 * e) >> 8),
          DISP_ClampByte((298 * c - 100 * d - 208 * e) >> 8),
          DISP_ClampByte((298 * c + 517 * d) >> 8)};
}
constexpr DISP_RGB DISP_RGBOfYCbCr(int y, int cb, int cr) {
  return DISP_RGBOfCDE(y - 16, cb - 128, cr - 128);
}

static_assert(DISP_RGBOfYCbCr(235, 128, 128).b == 254 && DISP_RGBOfYCbCr(16, 0, 0).g == 154);
