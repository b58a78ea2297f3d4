#include "readers/em/em_cross_section.h"

#include "geometry/planar.h"

namespace veldrane {

void EMCrossSection::Initialize(double startX, double startY, double stopX, double stopY, DateTime date,
                                double station, const std::string& name) {
  startX_ = startX;
  startY_ = startY;
  stopX_ = stopX;
  stopY_ = stopY;
  date_ = date;
  station_ = station;
  altName_ = name;
  const double azimuth = veldrane::GridAzimuth(startX, startY, stopX, stopY);
  // The undefined azimuth of a north-south line stays the marker it is.
  gridAzimuth_ = azimuth == kUndefinedNumber ? azimuth : RoundHalfEven(azimuth, 3);
  if (IsDegenerate() && monitor_ != nullptr)
    monitor_->AppendError("Cross-section range line end points must have different coordinates");
}

bool EMCrossSection::Accepts(const EMSurveyPoint& point) {
  return point.RawId() != kUndefinedPointId && point.RawX() != kUndefinedNumber &&
         point.RawY() != kUndefinedNumber && point.RawZ() != kUndefinedNumber;
}

void EMCrossSection::AddPoint(const EMSurveyPoint& point) {
  if (Accepts(point)) points_.Add(point);
}

void EMCrossSection::AddPoint(EMSurveyPoint&& point) {
  if (Accepts(point)) points_.Add(std::move(point));
}

std::shared_ptr<ISurveyPointIterator> EMCrossSection::Points() {
  if (!HasListedPoints()) return std::make_shared<EMSurveyPointIterator>();
  // Not kept: a large survey would hold a second list of all its points.
  auto byStation = std::make_shared<const std::vector<EMPointView>>(
      OrderByStation(points_.All(), startX_, startY_, stopX_, stopY_, baselineDistance_));
  return std::make_shared<EMSurveyPointIterator>(std::move(byStation), weak_from_this().lock());
}

std::shared_ptr<IGage> EMCrossSection::Gage() { return hasOwnWaterSurface_ ? nullptr : gage_; }

double EMCrossSection::WaterSurfaceElevation() {
  if (hasOwnWaterSurface_) return ownWaterSurfaceElevation_;
  if (gage_) return gage_->WaterSurfaceElevation();
  return kUndefinedNumber;
}

DateTime EMCrossSection::WaterSurfaceTime() {
  if (hasOwnWaterSurface_) return date_;
  if (gage_) return gage_->MeasurementDate();
  return DateTime::Undefined();
}

void EMCrossSection::SetWaterSurfaceElevation(double v) {
  ownWaterSurfaceElevation_ = v;
  hasOwnWaterSurface_ = true;
}

void EMCrossSection::SetWaterSurfaceTime(DateTime v) {
  date_ = v;
  hasOwnWaterSurface_ = true;
}

void EMCrossSectionIterator::InitCrossSections(const std::vector<std::shared_ptr<EMCrossSection>>& sections) {
  std::vector<std::shared_ptr<ICrossSection>> listed;
  listed.reserve(sections.size());
  for (const auto& section : sections)
    if (section->HasListedPoints()) listed.push_back(section);
  Assign(std::move(listed));
}

}  // namespace veldrane

