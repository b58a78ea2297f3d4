#include "geometry/nearest_point_index.h"

#include <algorithm>
#include <cmath>

#include "geometry/planar.h"

namespace veldrane {
namespace {

// Ranges this small are scanned rather than split further.
constexpr std::size_t kLeafSize = 8;

inline bool IsBetter(double distance, std::size_t position, double bestDistance, std::size_t bestPosition) {
  return distance < bestDistance || (distance == bestDistance && position < bestPosition);
}

}  // namespace

void NearestPointIndex::Clear() {
  entries_.clear();
  unindexed_.clear();
}

void NearestPointIndex::Build(const std::vector<LocatorNode>& nodes) {
  Clear();
  entries_.reserve(nodes.size());
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (std::isfinite(nodes[i].X) && std::isfinite(nodes[i].Y)) {
      entries_.push_back({nodes[i].X, nodes[i].Y, i});
    } else {
      unindexed_.push_back(i);
    }
  }
  BuildRange(0, entries_.size(), 0);
}

void NearestPointIndex::BuildRange(std::size_t lo, std::size_t hi, int depth) {
  if (hi - lo <= kLeafSize) return;
  const std::size_t mid = lo + (hi - lo) / 2;
  const bool byX = depth % 2 == 0;
  std::nth_element(entries_.begin() + static_cast<std::ptrdiff_t>(lo),
                   entries_.begin() + static_cast<std::ptrdiff_t>(mid),
                   entries_.begin() + static_cast<std::ptrdiff_t>(hi), [byX](const Entry& a, const Entry& b) {
                     return byX ? a.x < b.x : a.y < b.y;
                   });
  BuildRange(lo, mid, depth + 1);
  BuildRange(mid + 1, hi, depth + 1);
}

void NearestPointIndex::Improve(double x, double y, double& bestDistance, std::size_t& bestPosition) const {
  Search(0, entries_.size(), 0, x, y, bestDistance, bestPosition);
}

void NearestPointIndex::Search(std::size_t lo, std::size_t hi, int depth, double x, double y,
                               double& bestDistance, std::size_t& bestPosition) const {
  if (hi - lo <= kLeafSize) {
    for (std::size_t i = lo; i < hi; ++i) {
      const Entry& e = entries_[i];
      const double d = SquaredDistance(e.x, e.y, x, y);
      if (IsBetter(d, e.position, bestDistance, bestPosition)) {
        bestDistance = d;
        bestPosition = e.position;
      }
    }
    return;
  }
  const std::size_t mid = lo + (hi - lo) / 2;
  const Entry& split = entries_[mid];
  const double d = SquaredDistance(split.x, split.y, x, y);
  if (IsBetter(d, split.position, bestDistance, bestPosition)) {
    bestDistance = d;
    bestPosition = split.position;
  }
  const bool byX = depth % 2 == 0;
  const double diff = byX ? x - split.x : y - split.y;
  const bool lowFirst = diff < 0;
  const std::size_t nearLo = lowFirst ? lo : mid + 1;
  const std::size_t nearHi = lowFirst ? mid : hi;
  const std::size_t farLo = lowFirst ? mid + 1 : lo;
  const std::size_t farHi = lowFirst ? hi : mid;
  Search(nearLo, nearHi, depth + 1, x, y, bestDistance, bestPosition);
  // Every node across the split is at least |diff| away along this axis,
  // and rounding is monotonic, so its computed squared distance is at least
  // diff * diff. An equal bound must still be visited: a node there may tie
  // the best with an earlier position.
  if (diff * diff <= bestDistance) {
    Search(farLo, farHi, depth + 1, x, y, bestDistance, bestPosition);
  }
}

}  // namespace veldrane
