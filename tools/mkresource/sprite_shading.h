// The three sprite objects, one a frame, as analytic surfaces: 0 a polished copper orb with an
// engraved band, 1 a ripe bramble berry of glossy drupelets, 2 an ember whose dark crust is
// split by glowing cracks. Each is evaluated at any resolution.
#pragma once

#include <optional>

#include "canvas.h"

namespace mkresource {

// Colour of the object seen at (x, y), both in -1..1 with y pointing down, or nothing where the
// view ray misses it.
std::optional<Rgb> ShadeSprite(int frame, float x, float y);

}  // namespace mkresource
