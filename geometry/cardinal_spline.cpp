#include "geometry/cardinal_spline.h"

#include <stdexcept>

#include "geometry/spline_segments.h"

namespace veldrane {

void CardinalSpline::AddPoint(double t, double value) {
  points_.push_back({t, value});
  sorted_ = false;
}

void CardinalSpline::SortPoints() {
  // Sorting is only needed after a change; the order of equal keys is not
  // defined either way.
  if (sorted_) return;
  QuickSort(points_);
  sorted_ = true;
}

double CardinalSpline::Evaluate(double tEval) {
  if (points_.empty()) throw std::out_of_range("CardinalSpline.Evaluate: the spline has no points");
  SortPoints();
  const std::size_t n = points_.size() - 1;
  if (tEval <= points_[0].Key) return points_[0].Value;
  if (tEval >= points_[n].Key) return points_[n].Value;

  const auto segment = FindFirstSegment(points_, tEval, /*skipEqualKeys=*/true);
  if (!segment) return 0.0;
  const std::size_t i = *segment;
  const double v0 = points_[i].Value;
  const double v1 = points_[i + 1].Value;
  const double s = (tEval - points_[i].Key) / (points_[i + 1].Key - points_[i].Key);

  const double h0 = 2 * s * s * s - 3 * s * s + 1;
  const double h1 = s * s * s - 2 * s * s + s;
  const double h2 = -2 * s * s * s + 3 * s * s;
  const double h3 = s * s * s - s * s;

  const double scale = (1 - tension_) * 0.5;
  const double m0 = i == 0 ? 0.0 : scale * (v1 - points_[i - 1].Value);
  const double m1 = i + 1 == n ? 0.0 : scale * (points_[i + 2].Value - v0);
  return h0 * v0 + h1 * m0 + h2 * v1 + h3 * m1;
}

}  // namespace veldrane
