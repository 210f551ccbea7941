// The demo's full-screen picture: dusk over a bramble thicket, painted at 720 x 480.
#pragma once

#include "canvas.h"

namespace mkresource {

Canvas ComposeBackground();

}  // namespace mkresource
