// Rim-lit silhouettes: an edge faces a light when the mask is empty a few pixels toward it.
#include "silhouette_light.h"

#include <algorithm>
#include <cmath>

#include "scene.h"

namespace mkresource {

namespace {

struct LightRay {
  Point direction;
  float distance;
};

LightRay Toward(Point from, Point light) {
  const float dx = light.x - from.x, dy = light.y - from.y;
  const float distance = std::max(1.0f, std::hypot(dx, dy));
  return {{dx / distance, dy / distance}, distance};
}

void PaintMask(Canvas& canvas, const Mask& mask, Rgb body, float glow, const SilhouetteLook& look) {
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      const std::size_t index = static_cast<std::size_t>(y) * canvas.width + x;
      const float cover = mask.coverage[index];
      if (cover <= 0.0f) continue;
      const Point at{x + 0.5f, y + 0.5f};
      const LightRay sun = Toward(at, kSunCentre);
      const LightRay moon = Toward(at, kMoonCentre);
      const float sun_open =
          1.0f - SampleMask(mask, at.x + sun.direction.x * look.rim_width, at.y + sun.direction.y * look.rim_width);
      const float moon_open =
          1.0f - SampleMask(mask, at.x + moon.direction.x * look.rim_width, at.y + moon.direction.y * look.rim_width);
      const float sun_near = std::exp(-sun.distance / look.sun_falloff);
      Rgb& pixel = canvas.pixels[index];
      pixel = Mix(pixel, body + kCopperLight * (glow * sun_near), cover);
      pixel = pixel + kCopperLight * (cover * Clamp01(sun_open) * look.sun_rim * sun_near);
      pixel = pixel + kMoonLight * (cover * Clamp01(moon_open) * look.moon_rim * std::exp(-moon.distance / 420.0f));
    }
  }
}

}  // namespace

void PaintLitSilhouettes(Canvas& canvas, const BrambleMasks& masks, const SilhouetteLook& look) {
  PaintMask(canvas, masks.leaves, look.leaf, look.leaf_glow, look);
  PaintMask(canvas, masks.stems, look.stem, 0.0f, look);
  PaintMask(canvas, masks.fruit, look.fruit, 0.0f, look);
  for (const Berry& berry : masks.berries) {
    const LightRay sun = Toward(berry.centre, kSunCentre);
    const float strength = std::exp(-sun.distance / look.sun_falloff) * look.sun_rim;
    AddGlow(canvas, berry.centre.x + sun.direction.x * berry.radius * 0.45f,
            berry.centre.y + sun.direction.y * berry.radius * 0.45f, 0.5f + 0.12f * berry.radius,
            Rgb{1.0f, 0.72f, 0.45f} * (0.9f * strength));
  }
}

}  // namespace mkresource
