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
  splitOnX_.clear();
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
  splitOnX_.assign(entries_.size(), false);
  BuildRange(0, entries_.size());
}

void NearestPointIndex::BuildRange(std::size_t lo, std::size_t hi) {
  if (hi - lo <= kLeafSize) return;
  const std::size_t mid = lo + (hi - lo) / 2;
  double minX = entries_[lo].x;
  double maxX = minX;
  double minY = entries_[lo].y;
  double maxY = minY;
  for (std::size_t i = lo + 1; i < hi; ++i) {
    minX = std::min(minX, entries_[i].x);
    maxX = std::max(maxX, entries_[i].x);
    minY = std::min(minY, entries_[i].y);
    maxY = std::max(maxY, entries_[i].y);
  }
  const bool byX = maxX - minX >= maxY - minY;
  splitOnX_[mid] = byX;
  std::nth_element(entries_.begin() + static_cast<std::ptrdiff_t>(lo),
                   entries_.begin() + static_cast<std::ptrdiff_t>(mid),
                   entries_.begin() + static_cast<std::ptrdiff_t>(hi), [byX](const Entry& a, const Entry& b) {
                     return byX ? a.x < b.x : a.y < b.y;
                   });
  BuildRange(lo, mid);
  BuildRange(mid + 1, hi);
}

void NearestPointIndex::Improve(double x, double y, double& bestDistance, std::size_t& bestPosition) const {
  Search(0, entries_.size(), x, y, bestDistance, bestPosition);
}

void NearestPointIndex::Search(std::size_t lo, std::size_t hi, double x, double y,
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
  const bool byX = splitOnX_[mid];
  const double diff = byX ? x - split.x : y - split.y;
  const bool lowFirst = diff < 0;
  const std::size_t nearLo = lowFirst ? lo : mid + 1;
  const std::size_t nearHi = lowFirst ? mid : hi;
  const std::size_t farLo = lowFirst ? mid + 1 : lo;
  const std::size_t farHi = lowFirst ? hi : mid;
  Search(nearLo, nearHi, x, y, bestDistance, bestPosition);
  // Every node across the split is at least |diff| away along this axis,
  // and rounding is monotonic, so its computed squared distance is at least
  // diff * diff. An equal bound must still be visited: a node there may tie
  // the best with an earlier position.
  if (diff * diff <= bestDistance) {
    Search(farLo, farHi, x, y, bestDistance, bestPosition);
  }
}

}  // namespace veldrane
