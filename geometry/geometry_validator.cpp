#include "geometry/geometry_validator.h"

#include <cmath>

namespace veldrane {
namespace {

// How far past the polygon's largest X the crossing ray reaches.
constexpr double kRayOvershoot = 500.0;

bool SamePoint(double x1, double y1, double x2, double y2) { return x1 == x2 && y1 == y2; }

}  // namespace

bool GeometryValidator::DoLinesIntersect(double ax, double ay, double bx, double by, double cx, double cy, double dx,
                                         double dy, double& intersectX, double& intersectY) const {
  if (SamePoint(ax, ay, bx, by) || SamePoint(cx, cy, dx, dy)) return false;
  if (SamePoint(ax, ay, cx, cy) || SamePoint(bx, by, cx, cy) || SamePoint(ax, ay, dx, dy) ||
      SamePoint(bx, by, dx, dy)) {
    return false;
  }
  const double bxT = bx - ax;
  const double byT = by - ay;
  const double cxT = cx - ax;
  const double cyT = cy - ay;
  const double dxT = dx - ax;
  const double dyT = dy - ay;

  const double distAB = std::sqrt(bxT * bxT + byT * byT);
  const double cosine = bxT / distAB;
  const double sine = byT / distAB;

  const double cxR = cxT * cosine + cyT * sine;
  const double cyR = cyT * cosine - cxT * sine;
  const double dxR = dxT * cosine + dyT * sine;
  const double dyR = dyT * cosine - dxT * sine;

  // Exactly one end below the line; NaN is on neither side and fails here.
  const bool cBelow = cyR < 0;
  const bool dBelow = dyR < 0;
  const bool cAbove = cyR >= 0;
  const bool dAbove = dyR >= 0;
  if (!((cBelow && dAbove) || (cAbove && dBelow))) return false;

  const double pos = dxR + (cxR - dxR) * dyR / (dyR - cyR);
  // Both ends of A-B are inclusive. Written as a positive test so that a NaN
  // from overflowing coordinates is refused instead of reported as a crossing.
  if (!(pos >= 0 && pos <= distAB)) return false;

  intersectX = ax + pos * cosine;
  intersectY = ay + pos * sine;
  return true;
}

bool GeometryValidator::IsPointInPolygon(double x, double y, std::int32_t numPolyPoints,
                                         const std::vector<double>& polyPointsXCoords,
                                         const std::vector<double>& polyPointsYCoords) const {
  if (numPolyPoints < 1) return false;
  const auto count = static_cast<std::size_t>(numPolyPoints);
  if (count > polyPointsXCoords.size() || count > polyPointsYCoords.size()) return false;

  double maxX = polyPointsXCoords[0];
  for (std::size_t i = 1; i < count; ++i) {
    if (polyPointsXCoords[i] > maxX) maxX = polyPointsXCoords[i];
  }
  const double rayEndX = maxX + kRayOvershoot;

  std::int32_t crossings = 0;
  double ix = 0;
  double iy = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t next = i + 1 == count ? 0 : i + 1;
    if (DoLinesIntersect(polyPointsXCoords[i], polyPointsYCoords[i], polyPointsXCoords[next],
                         polyPointsYCoords[next], x, y, rayEndX, y, ix, iy)) {
      ++crossings;
    }
  }
  return crossings % 2 == 1;
}

}  // namespace veldrane
