// Anti-aliased silhouette primitives drawn by signed distance inside their bounding boxes.
#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace mkresource {

namespace {

struct Box {
  int x0, y0, x1, y1;
};

Box ClipBox(const Mask& mask, float lo_x, float lo_y, float hi_x, float hi_y) {
  return {std::max(0, static_cast<int>(std::floor(lo_x - 1.5f))),
          std::max(0, static_cast<int>(std::floor(lo_y - 1.5f))),
          std::min(mask.width - 1, static_cast<int>(std::ceil(hi_x + 1.5f))),
          std::min(mask.height - 1, static_cast<int>(std::ceil(hi_y + 1.5f)))};
}

// Runs distance(x, y) (negative inside) over the box; a pixel's coverage is its centre's distance
// mapped through a one-pixel ramp.
template <typename Distance>
void Cover(Mask& mask, Box box, Distance distance) {
  for (int y = box.y0; y <= box.y1; ++y) {
    float* row = &mask.coverage[static_cast<std::size_t>(y) * mask.width];
    for (int x = box.x0; x <= box.x1; ++x) {
      const float c = Clamp01(0.5f - distance(x + 0.5f, y + 0.5f));
      row[x] = std::max(row[x], c);
    }
  }
}

float Dot(Point a, Point b) { return a.x * b.x + a.y * b.y; }
Point Sub(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
float Cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }

}  // namespace

void AddTaperedSegment(Mask& mask, Point a, float ra, Point b, float rb) {
  const float reach = std::max(ra, rb);
  const Point ab = Sub(b, a);
  const float length_sq = std::max(Dot(ab, ab), 1e-6f);
  const Box box = ClipBox(mask, std::min(a.x, b.x) - reach, std::min(a.y, b.y) - reach, std::max(a.x, b.x) + reach,
                          std::max(a.y, b.y) + reach);
  Cover(mask, box, [&](float x, float y) {
    const Point ap{x - a.x, y - a.y};
    const float t = std::clamp(Dot(ap, ab) / length_sq, 0.0f, 1.0f);
    const float dx = ap.x - ab.x * t;
    const float dy = ap.y - ab.y * t;
    return std::sqrt(dx * dx + dy * dy) - (ra + (rb - ra) * t);
  });
}

void AddDisc(Mask& mask, Point centre, float radius) {
  const Box box = ClipBox(mask, centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius);
  Cover(mask, box, [&](float x, float y) {
    return std::sqrt((x - centre.x) * (x - centre.x) + (y - centre.y) * (y - centre.y)) - radius;
  });
}

void AddTriangle(Mask& mask, Point a, Point b, Point c) {
  const Box box = ClipBox(mask, std::min({a.x, b.x, c.x}), std::min({a.y, b.y, c.y}), std::max({a.x, b.x, c.x}),
                          std::max({a.y, b.y, c.y}));
  const Point e0 = Sub(b, a), e1 = Sub(c, b), e2 = Sub(a, c);
  const float winding = Cross(e0, e2) > 0 ? 1.0f : -1.0f;
  Cover(mask, box, [&](float x, float y) {
    const Point p{x, y};
    float nearest_sq = 1e30f;
    float inside = 1.0f;
    const Point corners[3] = {a, b, c};
    const Point edges[3] = {e0, e1, e2};
    for (int i = 0; i < 3; ++i) {
      const Point v = Sub(p, corners[i]);
      const float t = std::clamp(Dot(v, edges[i]) / Dot(edges[i], edges[i]), 0.0f, 1.0f);
      const Point q{v.x - edges[i].x * t, v.y - edges[i].y * t};
      nearest_sq = std::min(nearest_sq, Dot(q, q));
      if (winding * Cross(v, edges[i]) < 0) inside = -1.0f;
    }
    return -inside * std::sqrt(nearest_sq);
  });
}

void AddLeaflet(Mask& mask, Point base, float angle, float length, float width, int teeth) {
  const Point axis{std::cos(angle), std::sin(angle)};
  const Point tip{base.x + axis.x * length, base.y + axis.y * length};
  const Box box = ClipBox(mask, std::min(base.x, tip.x) - width, std::min(base.y, tip.y) - width,
                          std::max(base.x, tip.x) + width, std::max(base.y, tip.y) + width);
  constexpr float kPi = 3.14159265f;
  Cover(mask, box, [&](float x, float y) {
    const Point p{x - base.x, y - base.y};
    const float u = Dot(p, axis);
    const float v = std::fabs(Cross(axis, p));
    const float t = u / length;
    if (t <= 0.0f || t >= 1.0f) return std::max(-u, u - length) + v;
    // Rounded at the base, widest below the middle, drawn out to a point, teeth leaning toward
    // the tip like a bramble leaf's.
    const float profile = std::pow(std::sin(kPi * std::pow(t, 0.75f)), 0.6f) * (1.0f - 0.3f * t);
    const float saw = t * teeth - std::floor(t * teeth);
    const float half_width = width * profile * (1.0f - 0.14f * saw * SmoothStep(0.15f, 0.35f, t));
    return v - half_width;
  });
}

}  // namespace mkresource
