// Grows bramble canes step by step along a bending path, hanging thorns, leaves, side shoots
// and berry clusters off them.
#include "bramble.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace mkresource {

namespace {

constexpr float kStep = 2.0f;
constexpr float kDown = 1.5707963f;

Point Along(Point p, float angle, float distance) {
  return {p.x + std::cos(angle) * distance, p.y + std::sin(angle) * distance};
}

void AddThorn(Mask& stems, Point at, float angle, float radius, float side, float scale) {
  const Point tangent{std::cos(angle), std::sin(angle)};
  const Point normal{-tangent.y * side, tangent.x * side};
  const float half_base = std::max(1.2f, (0.5f * radius + 0.7f) * scale);
  const float length = std::max(3.4f, (1.3f * radius + 2.6f) * scale);
  const Point base{at.x + normal.x * radius * 0.6f, at.y + normal.y * radius * 0.6f};
  // Bramble prickles hook back toward the root.
  const Point tip{base.x + normal.x * length * 0.85f - tangent.x * length * 0.6f,
                  base.y + normal.y * length * 0.85f - tangent.y * length * 0.6f};
  AddTriangle(stems, {base.x - tangent.x * half_base, base.y - tangent.y * half_base},
              {base.x + tangent.x * half_base, base.y + tangent.y * half_base}, tip);
}

// A stalk ending in three leaflets (five on larger leaves), each on a short stalk of its own,
// drooping a little under their weight.
void AddLeaf(BrambleMasks& masks, RandomStream& stream, Point at, float cane_angle, float side, float scale) {
  float angle = cane_angle + side * NextRange(stream, 0.7f, 1.2f);
  angle += (kDown - angle) * 0.25f;
  const float stalk = NextRange(stream, 5.0f, 10.0f) * scale;
  const Point joint = Along(at, angle, stalk);
  AddTaperedSegment(masks.stems, at, 1.0f, joint, 0.8f);
  const float size = NextRange(stream, 13.0f, 21.0f) * scale;
  angle += NextRange(stream, -0.25f, 0.25f);
  struct Leaflet {
    float turn, length, width, stalk;
  };
  constexpr Leaflet kTrifoliate[] = {
      {0.0f, 1.0f, 0.36f, 0.28f}, {-0.78f, 0.80f, 0.34f, 0.14f}, {0.78f, 0.80f, 0.34f, 0.14f}};
  constexpr Leaflet kBasal[] = {{-1.55f, 0.58f, 0.32f, 0.06f}, {1.55f, 0.58f, 0.32f, 0.06f}};
  const auto grow = [&](const Leaflet& leaflet) {
    const float a = angle + leaflet.turn;
    const Point base = Along(joint, a, leaflet.stalk * size);
    AddTaperedSegment(masks.stems, joint, 0.75f, base, 0.6f);
    AddLeaflet(masks.leaves, base, a, leaflet.length * size, leaflet.width * size * leaflet.length, 8);
  };
  for (const Leaflet& leaflet : kTrifoliate) grow(leaflet);
  if (size > 17.0f * scale) {
    for (const Leaflet& leaflet : kBasal) grow(leaflet);
  }
}

// A bumpy disc: the core plus a ring of drupelets that breaks the outline.
void AddBerry(BrambleMasks& masks, Point centre, float radius, float phase) {
  AddDisc(masks.fruit, centre, radius * 0.82f);
  for (int k = 0; k < 7; ++k) {
    const float a = phase + k * 0.8975979f;
    AddDisc(masks.fruit, Along(centre, a, radius * 0.58f), radius * 0.42f);
  }
  masks.berries.push_back({centre, radius});
}

void AddBerryCluster(BrambleMasks& masks, RandomStream& stream, Point at, float angle, float scale) {
  const int count = 2 + static_cast<int>(NextUnit(stream) * 4.0f);
  for (int i = 0; i < count; ++i) {
    float spread = angle + NextRange(stream, -1.3f, 1.3f);
    spread += (kDown - spread) * 0.35f;
    const float radius = NextRange(stream, 3.4f, 5.2f) * scale;
    const Point centre = Along(at, spread, NextRange(stream, 4.0f, 9.0f) * scale + radius);
    AddTaperedSegment(masks.stems, at, 0.9f, centre, 0.7f);
    AddBerry(masks, centre, radius, NextRange(stream, 0.0f, 6.28f));
  }
}

}  // namespace

BrambleMasks MakeBrambleMasks(int width, int height) {
  return {MakeMask(width, height), MakeMask(width, height), MakeMask(width, height), {}};
}

void GrowCane(BrambleMasks& masks, const CanePlan& plan) {
  RandomStream stream{plan.seed};
  const int steps = std::max(2, static_cast<int>(plan.length / kStep));
  const float turn = plan.bend / steps;
  Point position = plan.root;
  float angle = plan.angle;
  float next_thorn = NextRange(stream, 3.0f, 8.0f);
  float next_leaf = NextRange(stream, 14.0f, 30.0f);
  float leaf_side = NextUnit(stream) < 0.5f ? -1.0f : 1.0f;
  const float branch_at = NextRange(stream, 0.35f, 0.6f);
  bool branched = false;
  for (int i = 0; i < steps; ++i) {
    const float t = static_cast<float>(i) / steps;
    const float travelled = i * kStep;
    const float radius = std::max(0.9f, plan.width * (1.0f - 0.78f * t));
    const float next_radius = std::max(0.9f, plan.width * (1.0f - 0.78f * (t + 1.0f / steps)));
    const float wobble = (ValueNoise(travelled / 40.0f, 0.0f, plan.seed) - 0.5f) * 0.10f;
    angle += turn + wobble;
    const Point next = Along(position, angle, kStep);
    AddTaperedSegment(masks.stems, position, radius, next, next_radius);
    if (travelled >= next_thorn) {
      AddThorn(masks.stems, position, angle, radius, NextUnit(stream) < 0.5f ? -1.0f : 1.0f, plan.scale);
      next_thorn += NextRange(stream, 6.0f, 12.0f) * std::max(0.7f, plan.scale);
    }
    if (travelled >= next_leaf && t > 0.12f) {
      AddLeaf(masks, stream, position, angle, leaf_side, plan.scale);
      if (NextUnit(stream) < 0.12f) AddBerryCluster(masks, stream, position, angle + leaf_side * 0.9f, plan.scale);
      leaf_side = -leaf_side;
      next_leaf += NextRange(stream, 24.0f, 42.0f) * plan.scale;
    }
    if (!branched && plan.branch_depth > 0 && t >= branch_at) {
      branched = true;
      const float side = NextUnit(stream) < 0.5f ? -1.0f : 1.0f;
      GrowCane(masks, {position, angle + side * NextRange(stream, 0.5f, 0.9f), plan.length * (1.0f - t) * 0.75f,
                       plan.bend * NextRange(stream, 0.4f, 1.1f) * side, radius * 0.75f, plan.scale,
                       Hash32(plan.seed + 7u), plan.branch_depth - 1});
    }
    position = next;
  }
  if (NextUnit(stream) < 0.5f) AddBerryCluster(masks, stream, position, angle, plan.scale);
}

}  // namespace mkresource
