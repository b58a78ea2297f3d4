#include "geometry/kochanek_spline.h"

#include <stdexcept>
#include <string>

#include "geometry/spline_segments.h"

namespace veldrane {

void KochanekSpline::AddPoint(double t, double value) {
  points_.push_back({t, value});
  needsRecompute_ = true;
  sorted_ = false;
}

void KochanekSpline::Compute(SplineCoefficients& coeffArray) {
  if (coeffArray.size() < points_.size()) {
    throw std::out_of_range("KochanekSpline.Compute: the coefficient table has " + std::to_string(coeffArray.size()) +
                            " rows for " + std::to_string(points_.size()) + " points");
  }
  // Sorted once per change: sorting again could swap samples with equal
  // keys and leave the owned table describing the other order.
  if (!sorted_) {
    QuickSort(points_);
    sorted_ = true;
  }
  if (points_.empty()) {
    needsRecompute_ = false;
    return;
  }
  const std::size_t n = points_.size() - 1;
  const double t = tension_;
  const double b = bias_;
  const double c = continuity_;

  // Interior tangents; c2 holds the incoming tangent until the segment pass.
  for (std::size_t i = 1; i < n; ++i) {
    const double dPrev = points_[i].Value - points_[i - 1].Value;
    const double dNext = points_[i + 1].Value - points_[i].Value;
    double tIn = 0.5 * (1 - t) * ((1 - c) * (1 + b) * dPrev + (1 + c) * (1 - b) * dNext);
    double tOut = 0.5 * (1 - t) * ((1 + c) * (1 + b) * dPrev + (1 - c) * (1 - b) * dNext);
    const double spacingPrev = points_[i].Key - points_[i - 1].Key;
    const double spacingNext = points_[i + 1].Key - points_[i].Key;
    const double spacing = spacingNext + spacingPrev;
    if (spacing == 0) {
      throw std::domain_error("KochanekSpline.Compute: three samples share the key " +
                              std::to_string(points_[i].Key));
    }
    tIn *= 2 * spacingPrev / spacing;
    tOut *= 2 * spacingNext / spacing;
    coeffArray[i] = {points_[i].Value, tOut, tIn, 0.0};
  }
  // The first point leaves and the last point arrives with zero tangent.
  coeffArray[0] = {points_[0].Value, 0.0, 0.0, 0.0};
  coeffArray[n] = {points_[n].Value, 0.0, 0.0, 0.0};

  // Ascending, so row i+1's c2 is still the incoming tangent when row i
  // takes it.
  for (std::size_t i = 0; i < n; ++i) {
    const double v0 = points_[i].Value;
    const double v1 = points_[i + 1].Value;
    auto& row = coeffArray[i];
    const double tangentIn = coeffArray[i + 1][2];
    row[2] = 3 * (v1 - v0) - 2 * row[1] - tangentIn;
    row[3] = 2 * (v0 - v1) + row[1] + tangentIn;
  }
  needsRecompute_ = false;
}

double KochanekSpline::Evaluate(double tEval) {
  if (points_.empty()) throw std::out_of_range("KochanekSpline.Evaluate: the spline has no points");
  // A Compute on a caller's table clears the flag without refreshing ours;
  // a table of the wrong size can only be stale, so it is rebuilt rather
  // than read past its end.
  if (needsRecompute_ || coefficients_.size() != points_.size()) {
    coefficients_.assign(points_.size(), {0.0, 0.0, 0.0, 0.0});
    Compute(coefficients_);
  }
  const std::size_t n = points_.size() - 1;
  if (tEval < points_[0].Key) tEval = points_[0].Key;
  if (tEval > points_[n].Key) tEval = points_[n].Key;

  const auto segment = FindFirstSegment(points_, tEval, /*skipEqualKeys=*/false);
  if (!segment) return 0.0;
  const std::size_t i = *segment;
  const double span = points_[i + 1].Key - points_[i].Key;
  if (span == 0) {
    throw std::domain_error("KochanekSpline.Evaluate: the segment holding " + std::to_string(tEval) +
                            " has two equal keys");
  }
  const double s = (tEval - points_[i].Key) / span;
  const auto& row = coefficients_[i];
  return row[3] * s * s * s + row[2] * s * s + row[1] * s + row[0];
}

}  // namespace veldrane
