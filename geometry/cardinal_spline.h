#pragma once
// A one-dimensional cubic Hermite spline through samples (t, value) with
// cardinal tangents controlled by one tension. Tangents are in value units
// per segment: the spacing of the keys is not taken into account, and the
// first and last points have zero tangents.
#include <vector>

#include "config/sort.h"

namespace veldrane {

class CardinalSpline {
 public:
  // Samples may come in any order of t; they are sorted before evaluation.
  void AddPoint(double t, double value);

  // 0 gives Catmull-Rom tangents, 1 flattens every tangent to zero. Not
  // range-checked.
  double Tension() const { return tension_; }
  void SetTension(double tension) { tension_ = tension; }

  // The first value at or below the first key, the last value at or above
  // the last key, the curve in between. Throws std::out_of_range on a spline
  // without points: there is nothing sensible to answer and the caller must
  // hear about it. Returns 0.0 when no segment holds tEval (NaN).
  double Evaluate(double tEval);

 private:
  void SortPoints();

  std::vector<SortPair<double>> points_;
  bool sorted_ = true;
  double tension_ = 0.0;
};

}  // namespace veldrane
