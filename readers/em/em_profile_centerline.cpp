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

void EMProfileCenterline::AddPoint(EMSurveyPoint&& point) {
  derived_.reserve(derived_.size() + 1);  // so the two lists cannot come apart
  const Derived derived{point.Station(), point.LateralOffset(), point.BaselineOffset()};
  points_.Add(std::move(point));
  derived_.push_back(derived);
}

std::shared_ptr<ISurveyPointIterator> EMProfileCenterline::Points() {
  const std::vector<const EMStoredPoint*> stored = points_.All();
  auto views = std::make_shared<std::vector<EMPointView>>();
  views->reserve(stored.size());
  for (std::size_t i = 0; i < stored.size(); ++i)
    views->push_back({stored[i], derived_[i].station, derived_[i].lateralOffset, derived_[i].baselineOffset});
  return std::make_shared<EMSurveyPointIterator>(std::move(views), weak_from_this().lock());
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
  for (std::size_t i = 0; i < derived_.size(); ++i) derived_[i].station = calculator.GetStation(static_cast<std::int32_t>(i));
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
