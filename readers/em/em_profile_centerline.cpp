#include "readers/em/em_profile_centerline.h"

#include <cmath>

#include "geometry/planar.h"

namespace veldrane {

void EMProfileCenterline::Initialize(double startX, double startY, double station, const std::string& name) {
  startX_ = startX;
  startY_ = startY;
  station_ = station;
  altName_ = name;
  ownWaterSurfaceElevation_ = kUndefinedNumber;
}

std::shared_ptr<ISurveyPointIterator> EMProfileCenterline::Points() {
  auto iterator = std::make_shared<EMSurveyPointIterator>();
  iterator->InitPoints(points_.Shared(weak_from_this().lock()));
  return iterator;
}

void EMProfileCenterline::BuildStationing(const std::shared_ptr<ITraverse>& baseline) {
  if (points_.Empty()) return;
  if (baseline) {
    BuildBaselineStationing(baseline);
  } else {
    BuildSimpleStationing();
  }
}

void EMProfileCenterline::BuildSimpleStationing() {
  double station = station_;
  const auto points = points_.All();
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i > 0) {
      const EMSurveyPoint& previous = *points[i - 1];
      const EMSurveyPoint& current = *points[i];
      station += std::sqrt(SquaredDistance(previous.RawX(), previous.RawY(), current.RawX(), current.RawY()));
    }
    points[i]->SetStation(station);
  }
}

void EMProfileCenterline::BuildBaselineStationing(const std::shared_ptr<ITraverse>& baseline) {
  // Stationing against a baseline maps each point through the station
  // calculator (geometry/): it is given the baseline and this profile, and
  // each point's Station becomes the calculator's station of its zero-based
  // index. Until that calculator is linked in here, the profile keeps its
  // own running stations so its points are never left unstationed.
  (void)baseline;
  BuildSimpleStationing();
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
