// Where the background's lights and horizons sit, shared by the sky, the hills and the rim
// lighting of the brambles. The demo's sprite band hides rows 80-397 once it has faded in, so
// the horizon glow and the thicket sit in the rows below it and the stars, moon and hanging
// canes in the rows above it.
#pragma once

#include "canvas.h"
#include "shapes.h"

namespace mkresource {

inline constexpr Point kSunCentre{338.0f, 436.0f};
inline constexpr float kSunRadius = 31.0f;
inline constexpr Point kMoonCentre{152.0f, 46.0f};
inline constexpr float kMoonRadius = 14.0f;
inline constexpr float kHorizonY = 440.0f;

inline constexpr Rgb kCopperLight{1.0f, 0.56f, 0.26f};
inline constexpr Rgb kMoonLight{0.62f, 0.70f, 0.95f};

}  // namespace mkresource
