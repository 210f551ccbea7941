// Two ridgelines drawn with fractional coverage at their crests, lighter with distance.
#include "terrain.h"

#include <cmath>

#include "noise.h"
#include "scene.h"

namespace mkresource {

namespace {

float FarRidge(float x) { return kHorizonY - 3.0f + 16.0f * (FractalNoise(x / 95.0f, 3.7f, 901u, 4) - 0.5f); }
float NearRidge(float x) { return 459.0f + 22.0f * (FractalNoise(x / 70.0f, 8.1f, 902u, 4) - 0.5f); }

}  // namespace

void PaintHills(Canvas& canvas) {
  for (int x = 0; x < canvas.width; ++x) {
    const float px = x + 0.5f;
    const float far_crest = FarRidge(px);
    const float near_crest = NearRidge(px);
    const float sun_side = std::exp(-std::fabs(px - kSunCentre.x) / 160.0f);
    const Rgb far_colour = Mix(Rgb{0.30f, 0.12f, 0.17f}, Rgb{0.52f, 0.22f, 0.17f}, sun_side);
    for (int y = 0; y < canvas.height; ++y) {
      const float py = y + 0.5f;
      Rgb& pixel = canvas.pixels[static_cast<std::size_t>(y) * canvas.width + x];
      const float far_cover = Clamp01(py - far_crest + 0.5f);
      if (far_cover > 0.0f) {
        // Haze thins toward the foot of the ridge.
        const float depth = Clamp01((py - far_crest) / 30.0f);
        pixel = Mix(pixel, Mix(far_colour, far_colour * 0.55f, depth), far_cover);
      }
      const float near_cover = Clamp01(py - near_crest + 0.5f);
      if (near_cover > 0.0f) {
        const float depth = Clamp01((py - near_crest) / 40.0f);
        pixel = Mix(pixel, Mix(Rgb{0.11f, 0.045f, 0.06f}, Rgb{0.035f, 0.016f, 0.022f}, depth), near_cover);
      }
    }
  }
}

}  // namespace mkresource
