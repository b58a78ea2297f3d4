#include "geometry/locator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "config/sort.h"
#include "geometry/planar.h"

namespace veldrane {
namespace {

// Below this many nodes a plain scan is as fast as building a tree.
constexpr std::size_t kScanLimit = 32;

}  // namespace

void Locator::RemoveAllPoints() {
  nodes_.clear();
  index_.Clear();
  indexStale_ = true;
}

void Locator::AddPoint(double x, double y, std::int32_t id) {
  nodes_.push_back({x, y, id});
  indexStale_ = true;
}

void Locator::FindClosestPoint(double x, double y, double& distance, std::int32_t& id) const {
  if (nodes_.empty()) throw std::out_of_range("Locator.FindClosestPoint: the locator has no points");
  std::size_t position = 0;
  const double first = SquaredDistance(nodes_[0].X, nodes_[0].Y, x, y);
  if (std::isnan(first)) {
    // The scan starts from the first node and only a strictly smaller
    // distance replaces it; nothing compares smaller than NaN.
    distance = first;
  } else if (nodes_.size() <= kScanLimit || !std::isfinite(x) || !std::isfinite(y)) {
    FindClosestByScan(x, y, distance, position);
  } else {
    FindClosestByIndex(x, y, distance, position);
  }
  id = nodes_[position].Id;
}

void Locator::FindClosestByScan(double x, double y, double& distance, std::size_t& position) const {
  position = 0;
  distance = SquaredDistance(nodes_[0].X, nodes_[0].Y, x, y);
  for (std::size_t i = 1; i < nodes_.size(); ++i) {
    const double d = SquaredDistance(nodes_[i].X, nodes_[i].Y, x, y);
    if (d < distance) {
      distance = d;
      position = i;
    }
  }
}

void Locator::FindClosestByIndex(double x, double y, double& distance, std::size_t& position) const {
  if (indexStale_) {
    index_.Build(nodes_);
    indexStale_ = false;
  }
  distance = std::numeric_limits<double>::infinity();
  position = std::numeric_limits<std::size_t>::max();
  index_.Improve(x, y, distance, position);
  // Nodes with an infinite or NaN coordinate: an infinite distance may still
  // tie, NaN never wins.
  for (const std::size_t i : index_.Unindexed()) {
    const double d = SquaredDistance(nodes_[i].X, nodes_[i].Y, x, y);
    if (d < distance || (d == distance && i < position)) {
      distance = d;
      position = i;
    }
  }
  if (position == std::numeric_limits<std::size_t>::max()) {
    // Only reachable when every distance is NaN; the first node stands.
    FindClosestByScan(x, y, distance, position);
  }
}

std::vector<std::int32_t> Locator::FindClosestNPoints(double x, double y, std::int32_t n) const {
  if (n < 0 || static_cast<std::size_t>(n) > nodes_.size()) {
    throw std::out_of_range("Locator.FindClosestNPoints: asked for " + std::to_string(n) + " of " +
                            std::to_string(nodes_.size()) + " points");
  }
  struct Ranked {
    double distance;
    std::size_t position;
  };
  std::vector<Ranked> ranked;
  ranked.reserve(nodes_.size());
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    ranked.push_back({SquaredDistance(nodes_[i].X, nodes_[i].Y, x, y), i});
  }
  const auto less = [](const Ranked& a, const Ranked& b) {
    if (SortKeyLess(a.distance, b.distance)) return true;
    if (SortKeyLess(b.distance, a.distance)) return false;
    return a.position < b.position;
  };
  const auto cut = ranked.begin() + n;
  std::partial_sort(ranked.begin(), cut, ranked.end(), less);
  std::vector<std::int32_t> ids;
  ids.reserve(static_cast<std::size_t>(n));
  for (auto it = ranked.begin(); it != cut; ++it) ids.push_back(nodes_[it->position].Id);
  return ids;
}

}  // namespace veldrane
