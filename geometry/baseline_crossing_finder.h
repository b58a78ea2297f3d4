#pragma once
// Finds where an infinite range line first crosses a baseline polyline, in
// the order the offset calculator searches: baseline points by increasing
// squared distance from the range line's midpoint (equal distances by point
// order), and for each point first the segment arriving at it, then the one
// leaving it. The first crossing in that order is the crossing segment whose
// (distance, point, arriving-before-leaving) key is smallest, so it can be
// found without ordering every point: a bounding-box hierarchy over runs of
// consecutive segments is walked nearest box first, skipping boxes that lie
// clearly on one side of the line. A cross section then costs about log m
// instead of m log m for an m-point baseline.
#include <cstddef>
#include <optional>
#include <vector>

namespace veldrane {

class BaselineCrossingFinder {
 public:
  // Takes the baseline points in traverse order and builds the hierarchy.
  void Assign(std::vector<double> xs, std::vector<double> ys);
  std::size_t PointCount() const { return xs_.size(); }

  // Parameter u along A->B of the first crossing, none when no segment is
  // crossed. Coordinates that are not finite, or too large or too small for
  // the side-of-line bound to hold, are answered by FirstCrossingByScan.
  std::optional<double> FirstCrossing(double ax, double ay, double bx, double by) const;

  // The same answer by testing every segment: linear in the baseline, and
  // the reference the hierarchy must agree with.
  std::optional<double> FirstCrossingByScan(double ax, double ay, double bx, double by) const;

  // Baseline segment P->Q against the infinite line through A and B: the
  // parameter u along A->B when 0 <= s <= 1 along P->Q. Parallel lines do
  // not cross, and s equal to exactly 0.0001 counts as no crossing (the
  // undefined number must never come out of a real crossing).
  static std::optional<double> SegmentHit(double px, double py, double qx, double qy, double ax, double ay,
                                          double bx, double by);

 private:
  struct Box {
    double minX;
    double minY;
    double maxX;
    double maxY;
    std::size_t firstSegment;  // segments [firstSegment, endSegment)
    std::size_t endSegment;
    std::size_t left;          // children, or kNoChild for a leaf
    std::size_t right;
  };
  // Search order of one crossing: the smaller of its two end points' keys.
  struct Key {
    double distance;
    std::size_t point;
    int slot;  // 0: the segment arrives at the point, 1: it leaves it
  };
  struct Probe;

  static constexpr std::size_t kNoChild = static_cast<std::size_t>(-1);

  std::size_t BuildBox(std::size_t firstSegment, std::size_t endSegment);
  bool UsesHierarchy(double ax, double ay, double bx, double by) const;
  Key SegmentKey(std::size_t segment, double mx, double my) const;
  static bool KeyLess(const Key& a, const Key& b);

  std::vector<double> xs_;
  std::vector<double> ys_;
  std::vector<Box> boxes_;
  std::size_t root_ = kNoChild;
  bool coordinatesInRange_ = false;
};

}  // namespace veldrane
