#include "geometry/spline_segments.h"

#include <algorithm>

namespace veldrane {

std::optional<std::size_t> FindFirstSegment(const std::vector<SortPair<double>>& points, double t,
                                            bool skipEqualKeys) {
  if (points.size() < 2) return std::nullopt;
  // NaN keys sit at the end and count as "at or above" here; they never
  // satisfy a comparison, so the walk below refuses them.
  const auto firstAtOrAbove = std::lower_bound(points.begin() + 1, points.end(), t,
                                               [](const SortPair<double>& p, double value) { return p.Key < value; });
  if (firstAtOrAbove == points.end()) return std::nullopt;
  // Only runs of keys equal to t (skipped equal-key segments) take more
  // than one step.
  for (auto i = static_cast<std::size_t>(firstAtOrAbove - points.begin()) - 1; i + 1 < points.size(); ++i) {
    const double lo = points[i].Key;
    const double hi = points[i + 1].Key;
    if (!(lo <= t)) break;
    if (t <= hi && !(skipEqualKeys && lo == hi)) return i;
  }
  return std::nullopt;
}

}  // namespace veldrane
