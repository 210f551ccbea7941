// Anti-aliased silhouette primitives: each adds its coverage to a mask (union by maximum), so
// overlapping pieces of one plant merge without darker seams.
#pragma once

#include "canvas.h"

namespace mkresource {

struct Point {
  float x, y;
};

// A stroke from a to b whose radius changes linearly from ra to rb, with round ends.
void AddTaperedSegment(Mask& mask, Point a, float ra, Point b, float rb);
void AddDisc(Mask& mask, Point centre, float radius);
void AddTriangle(Mask& mask, Point a, Point b, Point c);
// A pointed, saw-edged leaflet growing from base in direction angle (radians).
void AddLeaflet(Mask& mask, Point base, float angle, float length, float width, int teeth);

}  // namespace mkresource
