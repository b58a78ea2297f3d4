#include "readers/em/em_misc_shot_point.h"

#include "model/constants.h"
#include "readers/em/em_point_list.h"

namespace veldrane {

std::shared_ptr<ISurveyPoint> EMMiscShotPoint::Point() {
  if (!hasPoint_) return nullptr;
  return EMPointList::Alias(weak_from_this().lock(), point_);
}

double EMMiscShotPoint::WaterSurfaceElevation() { return gage_ ? gage_->WaterSurfaceElevation() : kUndefinedNumber; }

DateTime EMMiscShotPoint::WaterSurfaceTime() { return gage_ ? gage_->MeasurementDate() : DateTime::Undefined(); }

}  // namespace veldrane
