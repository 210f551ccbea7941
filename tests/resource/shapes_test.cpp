// Silhouette primitives: the coverage they add has the area of the shape, whatever its
// orientation, and overlapping pieces merge instead of piling up.
#include "shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace mkresource {
namespace {

double Area(const Mask& mask) { return std::accumulate(mask.coverage.begin(), mask.coverage.end(), 0.0); }

TEST(Shapes, CoverageAddsUpToTheShapesArea) {
  Mask disc = MakeMask(64, 64);
  AddDisc(disc, {32.3f, 31.7f}, 10.0f);
  EXPECT_NEAR(Area(disc), 3.14159 * 100.0, 3.0);

  Mask stroke = MakeMask(96, 64);
  AddTaperedSegment(stroke, {20.0f, 30.0f}, 4.0f, {70.0f, 30.0f}, 4.0f);
  EXPECT_NEAR(Area(stroke), 2 * 4.0 * 50.0 + 3.14159 * 16.0, 4.0);
}

TEST(Shapes, TrianglesCoverTheirAreaInEitherWinding) {
  const Point a{10.0f, 10.0f}, b{50.0f, 14.0f}, c{22.0f, 48.0f};
  const double area = 0.5 * std::abs((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y));
  Mask clockwise = MakeMask(64, 64), counter = MakeMask(64, 64);
  AddTriangle(clockwise, a, b, c);
  AddTriangle(counter, a, c, b);
  EXPECT_NEAR(Area(clockwise), area, 0.03 * area);
  for (std::size_t i = 0; i < clockwise.coverage.size(); ++i) {
    ASSERT_NEAR(clockwise.coverage[i], counter.coverage[i], 1e-4f) << "pixel " << i;
  }
  EXPECT_EQ(clockwise.coverage[0], 0.0f);
}

TEST(Shapes, OverlapsMergeAndEdgesAreClipped) {
  Mask once = MakeMask(40, 40), twice = MakeMask(40, 40);
  AddDisc(once, {20.0f, 20.0f}, 8.0f);
  AddDisc(twice, {20.0f, 20.0f}, 8.0f);
  AddDisc(twice, {20.0f, 20.0f}, 8.0f);
  EXPECT_EQ(once.coverage, twice.coverage);

  // Shapes running off the mask keep only their inside part.
  Mask corner = MakeMask(40, 40);
  AddDisc(corner, {0.0f, 0.0f}, 12.0f);
  EXPECT_NEAR(Area(corner), 3.14159 * 144.0 / 4.0, 3.0);
  Mask edge = MakeMask(40, 40);
  AddLeaflet(edge, {30.0f, 38.0f}, 0.5f, 30.0f, 8.0f, 7);
  double bottom_row = 0;
  for (int x = 0; x < 40; ++x) bottom_row += edge.coverage[39 * 40 + x];
  EXPECT_GT(bottom_row, 1.0);
  for (const float c : edge.coverage) {
    ASSERT_GE(c, 0.0f);
    ASSERT_LE(c, 1.0f);
  }
}

}  // namespace
}  // namespace mkresource
