#pragma once
// Planar predicates the survey area reader validates rings, holes and
// islands with.
#include <cstdint>
#include <vector>

namespace veldrane {

class GeometryValidator {
 public:
  // Ray crossing: counts the ring edges (vertex i to i+1, the last back to
  // vertex 0) that meet the segment from (x, y) to (max X + 500, y), and
  // says inside when the count is odd. Edge cases follow DoLinesIntersect:
  // an edge through the test point's own position shares an end point and
  // never counts, and a ray through a vertex counts once for each edge that
  // meets there. Fewer than one vertex, or a count larger than either
  // coordinate array, is never inside.
  bool IsPointInPolygon(double x, double y, std::int32_t numPolyPoints, const std::vector<double>& polyPointsXCoords,
                        const std::vector<double>& polyPointsYCoords) const;

  // Whether segment A-B meets segment C-D, by rotating A-B onto the x axis.
  // Zero-length segments and segments sharing an end point never meet;
  // collinear segments never meet; a point lying on the line A-B counts as
  // being on its non-negative side (so a T-junction meets only from below).
  // The crossing is written to intersectX/intersectY only on true.
  bool DoLinesIntersect(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy,
                        double& intersectX, double& intersectY) const;
};

}  // namespace veldrane
