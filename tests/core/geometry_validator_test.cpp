#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "geometry/geometry_validator.h"

namespace veldrane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

class DoLinesIntersectTest : public ::testing::Test {
 protected:
  bool Intersect(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
    x = -1;
    y = -1;
    return validator.DoLinesIntersect(ax, ay, bx, by, cx, cy, dx, dy, x, y);
  }
  GeometryValidator validator;
  double x = -1;
  double y = -1;
};

TEST_F(DoLinesIntersectTest, CrossingSegmentsGiveTheCrossingPoint) {
  EXPECT_TRUE(Intersect(0, 0, 10, 0, 5, -5, 5, 5));
  EXPECT_DOUBLE_EQ(x, 5.0);
  EXPECT_DOUBLE_EQ(y, 0.0);
  // A slanted A-B: the crossing of y = x with x + y = 4 is (2, 2).
  EXPECT_TRUE(Intersect(0, 0, 4, 4, 0, 4, 4, 0));
  EXPECT_NEAR(x, 2.0, 1e-12);
  EXPECT_NEAR(y, 2.0, 1e-12);
}

TEST_F(DoLinesIntersectTest, OutputsAreLeftAloneWhenSegmentsDoNotMeet) {
  EXPECT_FALSE(Intersect(0, 0, 10, 0, 15, -5, 15, 5));  // beyond B
  EXPECT_FALSE(Intersect(0, 0, 10, 0, -1, -5, -1, 5));  // before A
  EXPECT_FALSE(Intersect(0, 0, 10, 0, 5, 1, 5, 5));     // both above
  EXPECT_DOUBLE_EQ(x, -1.0);
  EXPECT_DOUBLE_EQ(y, -1.0);
}

TEST_F(DoLinesIntersectTest, SharedEndPointsNeverMeet) {
  EXPECT_FALSE(Intersect(0, 0, 10, 0, 10, 0, 10, 5));   // B = C
  EXPECT_FALSE(Intersect(0, 0, 10, 0, 0, 0, 5, -5));    // A = C
  EXPECT_FALSE(Intersect(0, 0, 10, 0, 5, -5, 0, 0));    // A = D
  EXPECT_FALSE(Intersect(0, 0, 10, 0, 5, 5, 10, 0));    // B = D
}

TEST_F(DoLinesIntersectTest, CollinearAndZeroLengthSegmentsNeverMeet) {
  EXPECT_FALSE(Intersect(0, 0, 10, 0, 5, 0, 15, 0));   // overlapping
  EXPECT_FALSE(Intersect(0, 0, 10, 0, 2, 0, 8, 0));    // contained
  EXPECT_FALSE(Intersect(5, 5, 5, 5, 5, -5, 5, 10));   // A = B
  EXPECT_FALSE(Intersect(0, 0, 10, 0, 5, 0, 5, 0));    // C = D on A-B
}

TEST_F(DoLinesIntersectTest, TJunctionMeetsOnlyFromBelow) {
  // C on A-B counts as the non-negative side: with D below, one end is
  // negative and the other is not.
  EXPECT_TRUE(Intersect(0, 0, 10, 0, 5, 0, 5, -5));
  EXPECT_DOUBLE_EQ(x, 5.0);
  EXPECT_DOUBLE_EQ(y, 0.0);
  EXPECT_FALSE(Intersect(0, 0, 10, 0, 5, 0, 5, 5));
  // "Below" is relative to the direction A->B: reversed, above meets.
  EXPECT_TRUE(Intersect(10, 0, 0, 0, 5, 0, 5, 5));
  EXPECT_FALSE(Intersect(10, 0, 0, 0, 5, 0, 5, -5));
}

TEST_F(DoLinesIntersectTest, CrossingExactlyAtAnEndOfABCounts) {
  // Both ends of A-B are inclusive.
  EXPECT_TRUE(Intersect(0, 0, 10, 0, 10, 5, 10, -5));
  EXPECT_DOUBLE_EQ(x, 10.0);
  EXPECT_TRUE(Intersect(0, 0, 10, 0, 0, 5, 0, -5));
  EXPECT_DOUBLE_EQ(x, 0.0);
}

TEST_F(DoLinesIntersectTest, NonFiniteCoordinatesNeverMeet) {
  EXPECT_FALSE(Intersect(0, 0, 10, 0, 5, kNaN, 5, 5));
  EXPECT_FALSE(Intersect(kNaN, 0, 10, 0, 5, -5, 5, 5));
  EXPECT_FALSE(Intersect(0, 0, kInf, 0, 5, -5, 5, 5));
  EXPECT_FALSE(Intersect(-1e308, 0, 1e308, 0, 5, -1e308, 5, 1e308));
  EXPECT_DOUBLE_EQ(x, -1.0);
}

class PointInPolygonTest : public ::testing::Test {
 protected:
  bool Inside(double px, double py) const {
    return validator.IsPointInPolygon(px, py, static_cast<std::int32_t>(xs.size()), xs, ys);
  }
  GeometryValidator validator;
  // The square (0,0), (10,0), (10,10), (0,10), not closed explicitly.
  std::vector<double> xs{0, 10, 10, 0};
  std::vector<double> ys{0, 0, 10, 10};
};

TEST_F(PointInPolygonTest, SquareInsideAndOutside) {
  EXPECT_TRUE(Inside(5, 5));
  EXPECT_FALSE(Inside(15, 5));
  EXPECT_FALSE(Inside(-5, 5));  // two crossings
  EXPECT_FALSE(Inside(5, 15));
  EXPECT_FALSE(Inside(5, -0.5));
}

TEST_F(PointInPolygonTest, TestPointOnAVertex) {
  // (0,0): both edges meeting there share an end point with the ray and do
  // not count; the ray along the bottom edge's line reaches the right edge at
  // its lower end (0 along it, inclusive): one crossing, inside.
  EXPECT_TRUE(Inside(0, 0));
  // (0,10): likewise the ray reaches the right edge at its upper end (its
  // full length along it, inclusive): inside.
  EXPECT_TRUE(Inside(0, 10));
  // (10,10): the two edges there share the end point, and the ray to the
  // right meets nothing else: outside.
  EXPECT_FALSE(Inside(10, 10));
  // (10,0): the right edge shares the end point, the bottom edge lies along
  // the ray's line with the test point as its end point: outside.
  EXPECT_FALSE(Inside(10, 0));
}

TEST_F(PointInPolygonTest, RayThroughAVertexCountsForEachEdgeMeetingThere) {
  // The square with an extra vertex (10,5) halfway up its right side. From
  // the centre the ray passes exactly through that vertex: the lower edge
  // meets it at its far end and the upper edge at its near end, both
  // inclusive, so two crossings are counted and the centre reads as outside.
  const std::vector<double> px{0, 10, 10, 10, 0};
  const std::vector<double> py{0, 0, 5, 10, 10};
  EXPECT_FALSE(validator.IsPointInPolygon(5, 5, 5, px, py));
  // A hair off the vertex the single crossing puts it inside again.
  EXPECT_TRUE(validator.IsPointInPolygon(5, 5.5, 5, px, py));
  EXPECT_TRUE(validator.IsPointInPolygon(5, 4.5, 5, px, py));
}

TEST_F(PointInPolygonTest, ConcaveRing) {
  // A U shape: the notch between the arms is outside.
  const std::vector<double> ux{0, 30, 30, 20, 20, 10, 10, 0};
  const std::vector<double> uy{0, 0, 30, 30, 10, 10, 30, 30};
  EXPECT_TRUE(validator.IsPointInPolygon(5, 20, 8, ux, uy));
  EXPECT_FALSE(validator.IsPointInPolygon(15, 20, 8, ux, uy));
  EXPECT_TRUE(validator.IsPointInPolygon(25, 20, 8, ux, uy));
  EXPECT_TRUE(validator.IsPointInPolygon(15, 5, 8, ux, uy));
}

TEST_F(PointInPolygonTest, DegenerateRingsNeverCrash) {
  // Collinear ring: no area, every edge along one line.
  const std::vector<double> lx{0, 5, 10};
  const std::vector<double> ly{0, 0, 0};
  EXPECT_FALSE(validator.IsPointInPolygon(5, 0, 3, lx, ly));
  EXPECT_FALSE(validator.IsPointInPolygon(5, 1, 3, lx, ly));
  // Coincident points: zero-length edges never count.
  const std::vector<double> cx{1, 1, 1};
  const std::vector<double> cy{1, 1, 1};
  EXPECT_FALSE(validator.IsPointInPolygon(0, 1, 3, cx, cy));
  // A repeated vertex inside an otherwise good ring changes nothing.
  const std::vector<double> rx{0, 10, 10, 10, 0};
  const std::vector<double> ry{0, 0, 0, 10, 10};
  EXPECT_TRUE(validator.IsPointInPolygon(5, 5, 5, rx, ry));
  // Counts that do not fit the arrays, or no vertex at all.
  EXPECT_FALSE(validator.IsPointInPolygon(5, 5, 0, xs, ys));
  EXPECT_FALSE(validator.IsPointInPolygon(5, 5, -3, xs, ys));
  EXPECT_FALSE(validator.IsPointInPolygon(5, 5, 9, xs, ys));
  // A count below the array size uses only the first vertices: the triangle
  // (0,0), (10,0), (10,10).
  EXPECT_TRUE(validator.IsPointInPolygon(8, 2, 3, xs, ys));
  EXPECT_FALSE(validator.IsPointInPolygon(2, 8, 3, xs, ys));
}

TEST_F(PointInPolygonTest, NonFiniteCoordinatesNeverCrash) {
  EXPECT_FALSE(Inside(kNaN, 5));
  EXPECT_FALSE(Inside(5, kInf));
  const std::vector<double> nx{kNaN, 10, 10, 0};
  // The NaN vertex's two edges never count; the others still do.
  EXPECT_FALSE(validator.IsPointInPolygon(5, 5, 4, nx, ys));
  const std::vector<double> hx{0, 1e308, 1e308, 0};
  EXPECT_FALSE(validator.IsPointInPolygon(5, 5, 4, hx, ys));
}

}  // namespace
}  // namespace veldrane
