#include "geometry/baseline_crossing_finder.h"

#include <algorithm>
#include <cmath>
#include <queue>

#include "config/sort.h"
#include "geometry/planar.h"
#include "model/constants.h"

namespace veldrane {
namespace {

// Runs of at most this many segments are tested one by one.
constexpr std::size_t kLeafSegments = 4;

// The hierarchy's side-of-line test only holds while products of coordinate
// differences neither overflow nor underflow; survey coordinates are far
// inside these bounds, anything else is answered by the plain scan.
constexpr double kLargestCoordinate = 1e150;
constexpr double kSmallestCoordinate = 1e-100;

// Relative margin of the side-of-line test. Rounding moves a computed side
// value by a few units of 1e-16 of the same scale; a box is only skipped
// when every corner is farther than this from the line, so no segment in it
// can come out of the segment test as a crossing.
constexpr double kSideMargin = 1e-9;

bool InHierarchyRange(double v) {
  const double a = std::fabs(v);
  return v == 0 || (a >= kSmallestCoordinate && a <= kLargestCoordinate);
}

}  // namespace

struct BaselineCrossingFinder::Probe {
  Key key;
  bool isBox;
  std::size_t index;  // box or segment
  double u;
};

std::optional<double> BaselineCrossingFinder::SegmentHit(double px, double py, double qx, double qy, double ax,
                                                         double ay, double bx, double by) {
  const double ex = qx - px;
  const double ey = qy - py;
  const double fx = ax - bx;
  const double fy = ay - by;
  const double gx = ax - px;
  const double gy = ay - py;
  const double det = ex * fy - ey * fx;
  if (det == 0) return std::nullopt;
  const double s = (fy * gx - gy * fx) / det;
  const double u = (ex * gy - ey * gx) / det;
  if (!(s >= 0 && s <= 1)) return std::nullopt;
  if (s == kUndefinedNumber) return std::nullopt;
  return u;
}

void BaselineCrossingFinder::Assign(std::vector<double> xs, std::vector<double> ys) {
  xs_ = std::move(xs);
  ys_ = std::move(ys);
  ys_.resize(xs_.size());
  boxes_.clear();
  root_ = kNoChild;
  coordinatesInRange_ = std::all_of(xs_.begin(), xs_.end(), InHierarchyRange) &&
                        std::all_of(ys_.begin(), ys_.end(), InHierarchyRange);
  if (coordinatesInRange_ && xs_.size() >= 2) {
    boxes_.reserve(2 * (xs_.size() / kLeafSegments + 1));
    root_ = BuildBox(0, xs_.size() - 1);
  }
}

std::size_t BaselineCrossingFinder::BuildBox(std::size_t firstSegment, std::size_t endSegment) {
  // Segments [first, end) join points first .. end, all inside the box.
  Box box{xs_[firstSegment], ys_[firstSegment], xs_[firstSegment], ys_[firstSegment],
          firstSegment,      endSegment,        kNoChild,          kNoChild};
  for (std::size_t p = firstSegment + 1; p <= endSegment; ++p) {
    box.minX = std::min(box.minX, xs_[p]);
    box.maxX = std::max(box.maxX, xs_[p]);
    box.minY = std::min(box.minY, ys_[p]);
    box.maxY = std::max(box.maxY, ys_[p]);
  }
  if (endSegment - firstSegment > kLeafSegments) {
    const std::size_t mid = firstSegment + (endSegment - firstSegment) / 2;
    box.left = BuildBox(firstSegment, mid);
    box.right = BuildBox(mid, endSegment);
  }
  boxes_.push_back(box);
  return boxes_.size() - 1;
}

bool BaselineCrossingFinder::UsesHierarchy(double ax, double ay, double bx, double by) const {
  return root_ != kNoChild && InHierarchyRange(ax) && InHierarchyRange(ay) && InHierarchyRange(bx) &&
         InHierarchyRange(by);
}

bool BaselineCrossingFinder::KeyLess(const Key& a, const Key& b) {
  if (SortKeyLess(a.distance, b.distance)) return true;
  if (SortKeyLess(b.distance, a.distance)) return false;
  if (a.point != b.point) return a.point < b.point;
  return a.slot < b.slot;
}

BaselineCrossingFinder::Key BaselineCrossingFinder::SegmentKey(std::size_t segment, double mx, double my) const {
  const Key arriving{SquaredDistance(xs_[segment + 1], ys_[segment + 1], mx, my), segment + 1, 0};
  const Key leaving{SquaredDistance(xs_[segment], ys_[segment], mx, my), segment, 1};
  return KeyLess(leaving, arriving) ? leaving : arriving;
}

std::optional<double> BaselineCrossingFinder::FirstCrossingByScan(double ax, double ay, double bx, double by) const {
  if (xs_.size() < 2) return std::nullopt;
  const double mx = (ax + bx) / 2;
  const double my = (ay + by) / 2;
  std::optional<double> best;
  Key bestKey{};
  for (std::size_t j = 0; j + 1 < xs_.size(); ++j) {
    const auto u = SegmentHit(xs_[j], ys_[j], xs_[j + 1], ys_[j + 1], ax, ay, bx, by);
    if (!u) continue;
    const Key key = SegmentKey(j, mx, my);
    if (!best || KeyLess(key, bestKey)) {
      best = u;
      bestKey = key;
    }
  }
  return best;
}

std::optional<double> BaselineCrossingFinder::FirstCrossing(double ax, double ay, double bx, double by) const {
  if (xs_.size() < 2) return std::nullopt;
  if (!UsesHierarchy(ax, ay, bx, by)) return FirstCrossingByScan(ax, ay, bx, by);

  const double mx = (ax + bx) / 2;
  const double my = (ay + by) / 2;
  const double fx = ax - bx;
  const double fy = ay - by;

  // Whether every point of the box is clearly on one side of the line.
  const auto missesLine = [&](const Box& box) {
    const auto side = [&](double cx, double cy) { return (ax - cx) * fy - (ay - cy) * fx; };
    const double s1 = side(box.minX, box.minY);
    const double s2 = side(box.minX, box.maxY);
    const double s3 = side(box.maxX, box.minY);
    const double s4 = side(box.maxX, box.maxY);
    const double reachX = std::max(std::fabs(ax - box.minX), std::fabs(ax - box.maxX));
    const double reachY = std::max(std::fabs(ay - box.minY), std::fabs(ay - box.maxY));
    const double margin = kSideMargin * (std::fabs(fx) + std::fabs(fy)) * (reachX + reachY);
    return std::min({s1, s2, s3, s4}) > margin || std::max({s1, s2, s3, s4}) < -margin;
  };
  // Never more than the squared distance from M to any point of the box,
  // because rounding is monotonic.
  const auto lowerBound = [&](const Box& box) {
    const double dx = mx < box.minX ? box.minX - mx : (mx > box.maxX ? mx - box.maxX : 0.0);
    const double dy = my < box.minY ? box.minY - my : (my > box.maxY ? my - box.maxY : 0.0);
    return dx * dx + dy * dy;
  };
  // Min-heap order; at equal distance a box is opened before a crossing is
  // accepted, since the box may hold one with an earlier point.
  const auto later = [](const Probe& a, const Probe& b) {
    if (a.key.distance != b.key.distance) return a.key.distance > b.key.distance;
    if (a.isBox != b.isBox) return b.isBox;
    return KeyLess(b.key, a.key);
  };
  std::priority_queue<Probe, std::vector<Probe>, decltype(later)> queue(later);

  const auto pushBox = [&](std::size_t index) {
    const Box& box = boxes_[index];
    if (!missesLine(box)) queue.push({{lowerBound(box), 0, 0}, true, index, 0.0});
  };
  pushBox(root_);
  while (!queue.empty()) {
    const Probe probe = queue.top();
    queue.pop();
    if (!probe.isBox) return probe.u;
    const Box& box = boxes_[probe.index];
    if (box.left == kNoChild) {
      for (std::size_t j = box.firstSegment; j < box.endSegment; ++j) {
        const auto u = SegmentHit(xs_[j], ys_[j], xs_[j + 1], ys_[j + 1], ax, ay, bx, by);
        if (u) queue.push({SegmentKey(j, mx, my), false, j, *u});
      }
    } else {
      pushBox(box.left);
      pushBox(box.right);
    }
  }
  return std::nullopt;
}

}  // namespace veldrane
