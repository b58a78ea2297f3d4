#include "geometry/offset_calculator.h"

#include <cmath>
#include <utility>
#include <vector>

#include "geometry/planar.h"
#include "model/constants.h"

namespace veldrane {
namespace {

constexpr int kOutputDecimals = 3;

}  // namespace

void OffsetCalculator::SetBaseline(std::shared_ptr<ITraverse> baseline) {
  baseline_ = std::move(baseline);
  if (!baseline_) return;
  std::vector<double> xs;
  std::vector<double> ys;
  if (auto points = baseline_->TraversePoints()) {
    points->Initialize();
    for (auto point = points->GetNext(); point; point = points->GetNext()) {
      xs.push_back(point->Easting());
      ys.push_back(point->Northing());
    }
  }
  finder_.Assign(std::move(xs), std::move(ys));
}

std::shared_ptr<ITraverse> OffsetCalculator::Baseline() {
  Recompute();
  return baseline_;
}

void OffsetCalculator::SetCrossSection(std::shared_ptr<ICrossSection> crossSection) {
  crossSection_ = std::move(crossSection);
  Recompute();
}

std::shared_ptr<ICrossSection> OffsetCalculator::CrossSection() {
  Recompute();
  return crossSection_;
}

void OffsetCalculator::SetNoCrossing() {
  intersectX_ = kUndefinedNumber;
  intersectY_ = kUndefinedNumber;
  rangeStartToBaselineDistance_ = kUndefinedNumber;
}

void OffsetCalculator::Recompute() {
  if (!baseline_ || !crossSection_) return;
  const double ax = crossSection_->StartX();
  const double ay = crossSection_->StartY();
  const double bx = crossSection_->StopX();
  const double by = crossSection_->StopY();
  if ((ax == bx && ay == by) || finder_.PointCount() < 2) {
    SetNoCrossing();
    return;
  }
  const auto u = finder_.FirstCrossing(ax, ay, bx, by);
  if (!u) {
    SetNoCrossing();
    return;
  }
  intersectX_ = RoundHalfEven(ax + (bx - ax) * *u, kOutputDecimals);
  intersectY_ = RoundHalfEven(ay + (by - ay) * *u, kOutputDecimals);
  // Measured from the rounded crossing, as it is reported.
  const double dx = intersectX_ - ax;
  const double dy = intersectY_ - ay;
  const double distance = RoundHalfEven(std::sqrt(dx * dx + dy * dy), kOutputDecimals);
  rangeStartToBaselineDistance_ = *u > 0 ? distance : -distance;
}

}  // namespace veldrane
