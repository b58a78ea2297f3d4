// The segment crossing test (rotation method) and the ray-crossing
// point-in-polygon test built on it.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "geometry/geometry_validator.h"

namespace veldrane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(GeometryValidatorTest, SegmentsMeetOnlyWhereOneEndOfCDLiesBelowABAndTheOtherNot) {
  struct Case {
    const char* what;
    double ax, ay, bx, by, cx, cy, dx, dy;
    bool meet;
    double x, y;  // the crossing, or the -1 left untouched
  };
  const Case cases[] = {
      {"crossing", 0, 0, 10, 0, 5, -5, 5, 5, true, 5, 0},
      {"crossing a slanted A-B", 0, 0, 4, 4, 0, 4, 4, 0, true, 2, 2},
      {"beyond B", 0, 0, 10, 0, 15, -5, 15, 5, false, -1, -1},
      {"before A", 0, 0, 10, 0, -1, -5, -1, 5, false, -1, -1},
      {"both above", 0, 0, 10, 0, 5, 1, 5, 5, false, -1, -1},
      {"B = C", 0, 0, 10, 0, 10, 0, 10, 5, false, -1, -1},
      {"A = C", 0, 0, 10, 0, 0, 0, 5, -5, false, -1, -1},
      {"A = D", 0, 0, 10, 0, 5, -5, 0, 0, false, -1, -1},
      {"B = D", 0, 0, 10, 0, 5, 5, 10, 0, false, -1, -1},
      {"overlapping", 0, 0, 10, 0, 5, 0, 15, 0, false, -1, -1},
      {"A = B", 5, 5, 5, 5, 5, -5, 5, 10, false, -1, -1},
      {"C = D on A-B", 0, 0, 10, 0, 5, 0, 5, 0, false, -1, -1},
      // C on A-B is on the non-negative side, and "below" is relative to the
      // direction A->B.
      {"T junction from below", 0, 0, 10, 0, 5, 0, 5, -5, true, 5, 0},
      {"T junction from above", 0, 0, 10, 0, 5, 0, 5, 5, false, -1, -1},
      {"reversed T junction from above", 10, 0, 0, 0, 5, 0, 5, 5, true, 5, 0},
      {"reversed T junction from below", 10, 0, 0, 0, 5, 0, 5, -5, false, -1, -1},
      {"exactly at B", 0, 0, 10, 0, 10, 5, 10, -5, true, 10, 0},
      {"exactly at A", 0, 0, 10, 0, 0, 5, 0, -5, true, 0, 0},
      {"NaN in C", 0, 0, 10, 0, 5, kNaN, 5, 5, false, -1, -1},
      {"NaN in A", kNaN, 0, 10, 0, 5, -5, 5, 5, false, -1, -1},
      {"infinite B", 0, 0, kInf, 0, 5, -5, 5, 5, false, -1, -1},
      {"overflowing", -1e308, 0, 1e308, 0, 5, -1e308, 5, 1e308, false, -1, -1},
  };
  const GeometryValidator validator;
  for (const auto& c : cases) {
    double x = -1, y = -1;
    EXPECT_EQ(validator.DoLinesIntersect(c.ax, c.ay, c.bx, c.by, c.cx, c.cy, c.dx, c.dy, x, y), c.meet) << c.what;
    EXPECT_NEAR(x, c.x, 1e-12) << c.what;
    EXPECT_NEAR(y, c.y, 1e-12) << c.what;
  }
}

TEST(GeometryValidatorTest, PointInPolygon) {
  using Ring = std::vector<double>;
  const Ring squareX{0, 10, 10, 0}, squareY{0, 0, 10, 10};
  struct Case {
    const char* what;
    Ring xs, ys;
    double x, y;
    bool inside;
    int count = -1;  // the vertex count given, when not the ring's
  };
  const Case cases[] = {
      {"inside the square", squareX, squareY, 5, 5, true},
      {"left of it: two crossings", squareX, squareY, -5, 5, false},
      {"above", squareX, squareY, 5, 15, false},
      // On a vertex: edges sharing an end point with the ray do not count,
      // but the ray reaching an edge at either of its ends does.
      {"on (0,0): the ray reaches the right edge's lower end", squareX, squareY, 0, 0, true},
      {"on (0,10): the ray reaches the right edge's upper end", squareX, squareY, 0, 10, true},
      {"on (10,10): nothing else on the ray", squareX, squareY, 10, 10, false},
      {"on (10,0): the bottom edge runs along the ray", squareX, squareY, 10, 0, false},
      // Through the vertex (10,5) halfway up the right side the ray counts
      // both edges meeting there: the centre reads as outside, a hair off it
      // as inside.
      {"a ray through a vertex", {0, 10, 10, 10, 0}, {0, 0, 5, 10, 10}, 5, 5, false},
      {"above that vertex", {0, 10, 10, 10, 0}, {0, 0, 5, 10, 10}, 5, 5.5, true},
      {"below that vertex", {0, 10, 10, 10, 0}, {0, 0, 5, 10, 10}, 5, 4.5, true},
      {"an arm of a U", {0, 30, 30, 20, 20, 10, 10, 0}, {0, 0, 30, 30, 10, 10, 30, 30}, 5, 20, true},
      {"the notch of a U", {0, 30, 30, 20, 20, 10, 10, 0}, {0, 0, 30, 30, 10, 10, 30, 30}, 15, 20, false},
      {"a collinear ring", {0, 5, 10}, {0, 0, 0}, 5, 0, false},
      {"a ring of one point repeated", {1, 1, 1}, {1, 1, 1}, 0, 1, false},
      {"a repeated vertex changes nothing", {0, 10, 10, 10, 0}, {0, 0, 0, 10, 10}, 5, 5, true},
      {"no vertex", squareX, squareY, 5, 5, false, 0},
      {"a negative count", squareX, squareY, 5, 5, false, -3},
      {"a count beyond the arrays", squareX, squareY, 5, 5, false, 9},
      {"the first three vertices: a triangle", squareX, squareY, 8, 2, true, 3},
      {"outside that triangle", squareX, squareY, 2, 8, false, 3},
      {"a NaN test point", squareX, squareY, kNaN, 5, false},
      {"an infinite test point", squareX, squareY, 5, kInf, false},
      {"a NaN vertex's edges never count", {kNaN, 10, 10, 0}, squareY, 5, 5, false},
      {"huge vertices", {0, 1e308, 1e308, 0}, squareY, 5, 5, false},
  };
  const GeometryValidator validator;
  for (const auto& c : cases) {
    const int count = c.count == -1 ? static_cast<int>(c.xs.size()) : c.count;
    EXPECT_EQ(validator.IsPointInPolygon(c.x, c.y, count, c.xs, c.ys), c.inside) << c.what;
  }
}

}  // namespace
}  // namespace veldrane
