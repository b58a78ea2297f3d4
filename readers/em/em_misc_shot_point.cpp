#include "readers/em/em_misc_shot_point.h"

#include "model/constants.h"

namespace veldrane {

std::shared_ptr<ISurveyPoint> EMMiscShotPoint::Point() {
  if (!hasPoint_) return nullptr;
  // The handle keeps the shot point alive; a shot point that is not held by
  // a shared pointer (a stack object in a test) hands out a copy.
  std::shared_ptr<const void> owner = weak_from_this().lock();
  if (!owner) return point_.Clone();
  return std::shared_ptr<ISurveyPoint>(owner, &point_);
}

double EMMiscShotPoint::WaterSurfaceElevation() { return gage_ ? gage_->WaterSurfaceElevation() : kUndefinedNumber; }

DateTime EMMiscShotPoint::WaterSurfaceTime() { return gage_ ? gage_->MeasurementDate() : DateTime::Undefined(); }

}  // namespace veldrane
