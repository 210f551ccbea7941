// The land under the sky: a hazy far ridge that the sun sinks behind, a darker near ridge and
// the ground in front of it.
#pragma once

#include "canvas.h"

namespace mkresource {

void PaintHills(Canvas& canvas);

}  // namespace mkresource
