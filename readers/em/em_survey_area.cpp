#include "readers/em/em_survey_area.h"

#include "model/constants.h"

namespace veldrane {

EMSurveyArea::EMSurveyArea() : exterior_(std::make_shared<EMAreaRing>()) {}

void EMSurveyArea::AddNewHole() {
  exterior_->AddInteriorRing(std::make_shared<EMAreaRing>());
  inHole_ = true;
  inIsland_ = false;
}

bool EMSurveyArea::AddNewIsland() {
  const auto hole = exterior_->GetCurrentInteriorRing();
  if (!hole) return false;
  hole->AddInteriorRing(std::make_shared<EMAreaRing>());
  inIsland_ = true;
  return true;
}

void EMSurveyArea::AddExteriorPoint(const EMSurveyPoint& point) { exterior_->AddSurveyPoint(point); }

bool EMSurveyArea::AddPointToHole(const EMSurveyPoint& point) {
  const auto hole = exterior_->GetCurrentInteriorRing();
  if (hole && exterior_->Contains(point.RawX(), point.RawY())) {
    hole->AddSurveyPoint(point);
    return true;
  }
  exterior_->RemoveCurrentInteriorRing();
  inHole_ = false;
  return false;
}

bool EMSurveyArea::AddPointToIsland(const EMSurveyPoint& point) {
  const auto hole = exterior_->GetCurrentInteriorRing();
  const auto island = hole ? hole->GetCurrentInteriorRing() : nullptr;
  if (island && hole->Contains(point.RawX(), point.RawY())) {
    island->AddSurveyPoint(point);
    return true;
  }
  if (hole) hole->RemoveCurrentInteriorRing();
  inIsland_ = false;
  return false;
}

double EMSurveyArea::WaterSurfaceElevation() { return gage_ ? gage_->WaterSurfaceElevation() : kUndefinedNumber; }

DateTime EMSurveyArea::WaterSurfaceTime() { return gage_ ? gage_->MeasurementDate() : DateTime::Undefined(); }

}  // namespace veldrane
