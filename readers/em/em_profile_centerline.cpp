#include "readers/em/em_profile_centerline.h"

#include <cmath>

#include "geometry/station_calculator.h"

namespace veldrane {

void EMProfileCenterline::Initialize(double startX, double startY, double station, const std::string& name) {
  startX_ = startX;
  startY_ = startY;
  station_ = station;
  altName_ = name;
  ownWaterSurfaceElevation_ = kUndefinedNumber;
}

std::shared_ptr<ISurveyPointIterator> EMProfileCenterline::Points() {
  return std::make_shared<EMSurveyPointIterator>(std::make_shared<const std::vector<EMSurveyPoint*>>(points_.All()),
                                                 weak_from_this().lock());
}

void EMProfileCenterline::BuildStationing(const std::shared_ptr<ITraverse>& baseline) {
  if (points_.Empty()) return;
  // A profile not owned by a shared pointer (a stack object) is lent to the
  // calculator without ownership.
  std::shared_ptr<IProfileCenterline> self = weak_from_this().lock();
  if (!self) self = std::shared_ptr<IProfileCenterline>(std::shared_ptr<void>(), this);
  StationCalculator calculator;
  calculator.SetBaseline(baseline);
  calculator.SetProfile(self);
  calculator.BuildStationing();
  const auto points = points_.All();
  for (std::size_t i = 0; i < points.size(); ++i)
    points[i]->SetStation(calculator.GetStation(static_cast<std::int32_t>(i)));
}

double EMProfileCenterline::WaterSurfaceElevation() {
  if (hasOwnWaterSurface_) return ownWaterSurfaceElevation_;
  if (gage_) return gage_->WaterSurfaceElevation();
  return kUndefinedNumber;
}

DateTime EMProfileCenterline::WaterSurfaceTime() {
  if (hasOwnWaterSurface_) return date_;
  if (gage_) return gage_->MeasurementDate();
  return DateTime::Undefined();
}

void EMProfileCenterline::SetWaterSurfaceElevation(double v) {
  ownWaterSurfaceElevation_ = v;
  hasOwnWaterSurface_ = true;
}

void EMProfileCenterline::SetWaterSurfaceTime(DateTime v) {
  date_ = v;
  hasOwnWaterSurface_ = true;
}

void EMProfileCenterlineIterator::InitProfile(const std::vector<std::shared_ptr<EMProfileCenterline>>& profiles) {
  std::vector<std::shared_ptr<IProfileCenterline>> listed;
  listed.reserve(profiles.size());
  for (const auto& profile : profiles)
    if (profile->PointCount() > 0) listed.push_back(profile);
  Assign(std::move(listed));
}

}  // namespace veldrane
