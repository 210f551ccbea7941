// Bramble silhouettes: arching thorny canes with side shoots, trifoliate saw-edged leaves and
// drupelet berry clusters, grown from a seed into separate masks so each can be lit on its own.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"
#include "shapes.h"

namespace mkresource {

struct Berry {
  Point centre;
  float radius;
};

struct BrambleMasks {
  Mask stems;  // canes and thorns
  Mask leaves;
  Mask fruit;
  std::vector<Berry> berries;
};

struct CanePlan {
  Point root;
  float angle;   // initial growth direction, radians, y pointing down
  float length;  // pixels along the cane
  float bend;    // total turn over the length, radians (positive turns clockwise)
  float width;   // radius at the root
  float scale;   // size of thorns, leaves and berries relative to a foreground cane
  std::uint32_t seed;
  int branch_depth;  // how many generations of side shoots may still grow
};

BrambleMasks MakeBrambleMasks(int width, int height);
void GrowCane(BrambleMasks& masks, const CanePlan& plan);

}  // namespace mkresource
