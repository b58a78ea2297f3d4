#pragma once
// A one-dimensional Kochanek-Bartels spline through samples (t, value),
// shaped by tension, bias and continuity, kept as a table of cubic
// coefficients per segment. The station calculator maps distance along a
// centerline to station with it.
//
// The table is computed lazily: the first Evaluate after an AddPoint
// recomputes it. Changing Tension, Bias or Continuity alone does not; the
// new values take effect at the next recomputation.
#include <array>
#include <vector>

#include "config/sort.h"

namespace veldrane {

// Row i holds c0..c3 of segment i: value(s) = c3*s^3 + c2*s^2 + c1*s + c0
// for s in [0, 1]. The last row holds the last value in c0.
using SplineCoefficients = std::vector<std::array<double, 4>>;

class KochanekSpline {
 public:
  // Samples may come in any order of t; they are sorted before computing.
  void AddPoint(double t, double value);

  double Tension() const { return tension_; }
  void SetTension(double tension) { tension_ = tension; }
  void SetBias(double bias) { bias_ = bias; }
  void SetContinuity(double continuity) { continuity_ = continuity; }

  // The curve at tEval, clamped to the first and last keys; 0.0 for a
  // single point. Throws std::out_of_range on a spline without points, and
  // std::domain_error when the segment holding tEval has two equal keys
  // (zero over zero): a NaN station would otherwise slip through unnoticed.
  double Evaluate(double tEval);

  // Sorts the samples and fills rows 0..n of `coeffArray`, which the caller
  // sizes to at least one row per sample (std::out_of_range otherwise).
  // Clears the needs-recompute flag. Three equal keys in a row leave an
  // interior point without spacing and throw std::domain_error.
  void Compute(SplineCoefficients& coeffArray);

  bool NeedsRecompute() const { return needsRecompute_; }

 private:
  std::vector<SortPair<double>> points_;
  double tension_ = 0.0;
  double bias_ = 0.0;
  double continuity_ = 0.0;
  SplineCoefficients coefficients_;
  bool needsRecompute_ = true;
  bool sorted_ = true;
};

}  // namespace veldrane
