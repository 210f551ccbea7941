// Float canvases, coverage masks and additive splats for painting the background.
#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace mkresource {

Canvas MakeCanvas(int width, int height, Rgb fill) {
  return {width, height, std::vector<Rgb>(static_cast<std::size_t>(width) * height, fill)};
}

Mask MakeMask(int width, int height) {
  return {width, height, std::vector<float>(static_cast<std::size_t>(width) * height, 0.0f)};
}

static float MaskTexel(const Mask& mask, int x, int y) {
  if (x < 0 || y < 0 || x >= mask.width || y >= mask.height) return 0.0f;
  return mask.coverage[static_cast<std::size_t>(y) * mask.width + x];
}

float SampleMask(const Mask& mask, float x, float y) {
  const float fx = x - 0.5f;
  const float fy = y - 0.5f;
  const int ix = static_cast<int>(std::floor(fx));
  const int iy = static_cast<int>(std::floor(fy));
  const float tx = fx - ix;
  const float ty = fy - iy;
  const float top = MaskTexel(mask, ix, iy) * (1 - tx) + MaskTexel(mask, ix + 1, iy) * tx;
  const float bottom = MaskTexel(mask, ix, iy + 1) * (1 - tx) + MaskTexel(mask, ix + 1, iy + 1) * tx;
  return top * (1 - ty) + bottom * ty;
}

void AddGlow(Canvas& canvas, float cx, float cy, float sigma, Rgb peak) {
  const float reach = 3.0f * sigma;
  const int x0 = std::max(0, static_cast<int>(std::floor(cx - reach)));
  const int x1 = std::min(canvas.width - 1, static_cast<int>(std::ceil(cx + reach)));
  const int y0 = std::max(0, static_cast<int>(std::floor(cy - reach)));
  const int y1 = std::min(canvas.height - 1, static_cast<int>(std::ceil(cy + reach)));
  const float falloff = -0.5f / (sigma * sigma);
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const float dx = x + 0.5f - cx;
      const float dy = y + 0.5f - cy;
      Rgb& pixel = canvas.pixels[static_cast<std::size_t>(y) * canvas.width + x];
      pixel = pixel + peak * std::exp((dx * dx + dy * dy) * falloff);
    }
  }
}

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

float SmoothStep(float edge0, float edge1, float v) {
  const float t = Clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3.0f - 2.0f * t);
}

}  // namespace mkresource
