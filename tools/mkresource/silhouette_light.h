// Lights a layer of bramble silhouettes against what is already painted: a body colour, copper
// rims on the edges that face the sun, cool rims toward the moon, and glints on the berries.
#pragma once

#include "bramble.h"
#include "canvas.h"

namespace mkresource {

struct SilhouetteLook {
  Rgb stem;
  Rgb leaf;
  Rgb fruit;
  float leaf_glow;    // how much leaves near the sun glow through
  float sun_rim;      // copper rim strength
  float sun_falloff;  // pixels over which the copper rim fades with distance from the sun
  float moon_rim;     // cool rim strength
  float rim_width;    // pixels
};

void PaintLitSilhouettes(Canvas& canvas, const BrambleMasks& masks, const SilhouetteLook& look);

}  // namespace mkresource
