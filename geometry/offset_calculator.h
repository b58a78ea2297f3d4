#pragma once
// Where a cross section's range line crosses the baseline polyline, and how
// far along the range line, from its start, that crossing lies. The EM
// survey sets the baseline once and then each cross section in turn.
// 0.0001 stands for "no crossing" in all three outputs.
#include <memory>

#include "geometry/baseline_crossing_finder.h"
#include "model/features.h"

namespace veldrane {

class OffsetCalculator {
 public:
  // Stores the traverse and takes a copy of its point positions; does not
  // recompute. A baseline of fewer than two points never crosses anything.
  void SetBaseline(std::shared_ptr<ITraverse> baseline);
  // Recomputes for the current pair, then returns the traverse.
  std::shared_ptr<ITraverse> Baseline();

  // Stores the cross section and recomputes.
  void SetCrossSection(std::shared_ptr<ICrossSection> crossSection);
  // Recomputes for the current pair, then returns the cross section.
  std::shared_ptr<ICrossSection> CrossSection();

  // The crossing, rounded to 3 decimals (halves to even).
  double IntersectX() const { return intersectX_; }
  double IntersectY() const { return intersectY_; }
  // Distance from the range line's start to the crossing, rounded to 3
  // decimals; negative when the crossing lies behind the start. The range
  // line counts as infinite, so a crossing beyond its end still counts.
  double RangeStartToBaselineDistance() const { return rangeStartToBaselineDistance_; }

 private:
  void Recompute();
  void SetNoCrossing();

  std::shared_ptr<ITraverse> baseline_;
  std::shared_ptr<ICrossSection> crossSection_;
  BaselineCrossingFinder finder_;
  double intersectX_ = 0.0001;
  double intersectY_ = 0.0001;
  double rangeStartToBaselineDistance_ = 0.0;
};

}  // namespace veldrane
