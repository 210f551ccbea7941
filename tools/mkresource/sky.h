// The dusk sky behind everything: gradient, sun and glow, cloud strands, stars and the moon.
#pragma once

#include "canvas.h"

namespace mkresource {

void PaintSky(Canvas& canvas);

}  // namespace mkresource
