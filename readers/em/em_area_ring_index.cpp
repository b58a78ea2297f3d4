#include "readers/em/em_area_ring_index.h"

#include <algorithm>
#include <cmath>

#include "geometry/geometry_validator.h"

namespace veldrane {
namespace {

// Below this many vertices the plain test is as quick as any index.
constexpr std::int32_t kSmallestIndexedRing = 64;
// The validator's ray reaches this far past the ring's largest x.
constexpr double kRayOvershoot = 500.0;
// Relative size of the margin around each edge's y range. The segment test
// rounds at about 1e-16 of the coordinates' magnitude; 1e-9 leaves a factor
// of millions to spare.
constexpr double kRelativeMargin = 1e-9;
// Edges filed per vertex before the bands are given up (very long edges
// crossing many bands would make the index larger than it is worth).
constexpr std::size_t kMaxFilingsPerEdge = 16;
// Coordinates beyond this (far larger than any state plane or UTM value)
// leave too little room between rounding and margin: such rings are not
// indexed.
constexpr double kLargestMagnitude = 1e8;

}  // namespace

EMAreaRingIndex::EMAreaRingIndex(const std::vector<double>& xs, const std::vector<double>& ys, std::int32_t count)
    : xs_(xs), ys_(ys), count_(count) {
  banded_ = BuildBands();
}

bool EMAreaRingIndex::BuildBands() {
  if (count_ < kSmallestIndexedRing) return false;
  if (static_cast<std::size_t>(count_) > xs_.size() || static_cast<std::size_t>(count_) > ys_.size()) return false;
  minX_ = maxX_ = xs_[0];
  minY_ = maxY_ = ys_[0];
  for (std::int32_t i = 0; i < count_; ++i) {
    if (!std::isfinite(xs_[i]) || !std::isfinite(ys_[i])) return false;
    minX_ = std::min(minX_, xs_[i]);
    maxX_ = std::max(maxX_, xs_[i]);
    minY_ = std::min(minY_, ys_[i]);
    maxY_ = std::max(maxY_, ys_[i]);
  }
  const double width = maxX_ - minX_;
  const double height = maxY_ - minY_;
  // Queries are served from the bands only within `reach_` of the ring, so
  // every coordinate the segment test sees is bounded by `magnitude`.
  reach_ = width + height + kRayOvershoot;
  const double magnitude = std::max({std::fabs(minX_), std::fabs(maxX_), std::fabs(minY_), std::fabs(maxY_)}) +
                           2 * reach_ + kRayOvershoot + 1.0;
  // The margin argument needs the ray to be at least the overshoot long
  // and the coordinates no larger than survey coordinates ever are.
  if (magnitude > kLargestMagnitude) return false;
  margin_ = kRelativeMargin * magnitude;

  const std::int32_t bands = std::clamp<std::int32_t>(count_ / 4, 1, 1 << 16);
  bandHeight_ = (height + 2 * margin_) / bands;
  if (!(bandHeight_ > 0)) return false;
  auto bandOf = [&](double y) {
    const double b = std::floor((y - (minY_ - margin_)) / bandHeight_);
    return static_cast<std::int32_t>(std::clamp(b, 0.0, static_cast<double>(bands - 1)));
  };
  // Two passes: count the filings per band, then fill.
  std::vector<std::int32_t> firstBand(count_), lastBand(count_);
  bandStart_.assign(static_cast<std::size_t>(bands) + 1, 0);
  std::size_t filings = 0;
  for (std::int32_t i = 0; i < count_; ++i) {
    const std::int32_t j = (i + 1) % count_;
    firstBand[i] = bandOf(std::min(ys_[i], ys_[j]) - margin_);
    lastBand[i] = bandOf(std::max(ys_[i], ys_[j]) + margin_);
    filings += static_cast<std::size_t>(lastBand[i] - firstBand[i] + 1);
    if (filings > kMaxFilingsPerEdge * static_cast<std::size_t>(count_)) return false;
    for (std::int32_t b = firstBand[i]; b <= lastBand[i]; ++b) ++bandStart_[static_cast<std::size_t>(b) + 1];
  }
  for (std::size_t b = 1; b < bandStart_.size(); ++b) bandStart_[b] += bandStart_[b - 1];
  bandEdges_.resize(filings);
  std::vector<std::int32_t> fill(bandStart_.begin(), bandStart_.end() - 1);
  for (std::int32_t i = 0; i < count_; ++i)
    for (std::int32_t b = firstBand[i]; b <= lastBand[i]; ++b) bandEdges_[static_cast<std::size_t>(fill[b]++)] = i;
  return true;
}

bool EMAreaRingIndex::ContainsFull(double x, double y) const {
  return GeometryValidator().IsPointInPolygon(x, y, count_, xs_, ys_);
}

bool EMAreaRingIndex::EdgeCrossesRay(std::int32_t edge, double x, double y) const {
  const std::int32_t next = (edge + 1) % count_;
  double ix = 0, iy = 0;
  return GeometryValidator().DoLinesIntersect(xs_[edge], ys_[edge], xs_[next], ys_[next], x, y,
                                              maxX_ + kRayOvershoot, y, ix, iy);
}

bool EMAreaRingIndex::Contains(double x, double y) const {
  if (!banded_) return ContainsFull(x, y);
  // Points right of the ring are outside anyway; testing them the plain way
  // keeps the ray of every banded query at least the overshoot long.
  const bool near = std::isfinite(x) && std::isfinite(y) && x <= maxX_ && x >= minX_ - reach_ &&
                    std::fabs(y - minY_) <= reach_;
  if (!near) return ContainsFull(x, y);
  // A ray wholly above or below the ring meets no edge.
  if (y < minY_ - margin_ || y > maxY_ + margin_) return false;
  const auto band = static_cast<std::size_t>(std::clamp(
      std::floor((y - (minY_ - margin_)) / bandHeight_), 0.0, static_cast<double>(bandStart_.size() - 2)));
  std::int32_t crossings = 0;
  for (std::int32_t k = bandStart_[band]; k < bandStart_[band + 1]; ++k) {
    const std::int32_t edge = bandEdges_[static_cast<std::size_t>(k)];
    const std::int32_t next = (edge + 1) % count_;
    if (y < std::min(ys_[edge], ys_[next]) - margin_ || y > std::max(ys_[edge], ys_[next]) + margin_) continue;
    if (EdgeCrossesRay(edge, x, y)) ++crossings;
  }
  return crossings % 2 == 1;
}

}  // namespace veldrane
