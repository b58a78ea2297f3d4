#pragma once
// A cross section of an EM survey: a range line and the points surveyed
// along it.
#include <memory>
#include <string>
#include <vector>

#include "model/constants.h"
#include "model/date_time.h"
#include "model/features.h"
#include "model/iterators.h"
#include "model/survey_error.h"
#include "readers/em/em_point_list.h"
#include "readers/em/em_survey_point_iterator.h"

namespace veldrane {

class EMCrossSection : public ICrossSection, public std::enable_shared_from_this<EMCrossSection> {
 public:
  EMCrossSection() = default;

  // The monitor that receives this section's warnings; it must outlive the
  // calls that may warn (Initialize).
  void monitor(IMonitor* monitor) { monitor_ = monitor; }
  // Stores the range line, date, station and name (as AltName) and computes
  // the grid azimuth; warns when the range line has no length.
  void Initialize(double startX, double startY, double stopX, double stopY, DateTime date, double station,
                  const std::string& name);
  // Appends a copy of the point, silently skipping a point without id or
  // with an undefined coordinate.
  void AddPoint(const EMSurveyPoint& point);
  void AddPoint(EMSurveyPoint&& point);
  // Stores the points in the survey's arena (see EMPointList).
  void UseArena(std::shared_ptr<EMPointArena> arena) { points_.UseArena(std::move(arena)); }

  // The points ordered by station along the range line, their stations and
  // offsets computed for this call; empty for a degenerate range line or
  // fewer than two points.
  std::shared_ptr<ISurveyPointIterator> Points() override;
  double StartX() override { return startX_; }
  double StartY() override { return startY_; }
  double StopX() override { return stopX_; }
  double StopY() override { return stopY_; }
  double Station() override { return station_; }
  std::string RangeName() override { return rangeName_; }
  std::string AltName() override { return altName_; }
  std::shared_ptr<IVerticalControl> Benchmark() override { return benchmark_; }
  std::shared_ptr<IGage> Gage() override;
  std::string FieldBook() override { return fieldBook_; }
  std::string PageNumber() override { return pageNumber_; }
  double WaterSurfaceElevation() override;
  DateTime WaterSurfaceTime() override;
  DateTime SurveyDate() override { return date_; }
  std::string Description() override { return description_; }
  double GridAzimuth() override { return gridAzimuth_; }
  double GeodeticAzimuth() override { return kUndefinedNumber; }
  double BaselineIntersectX() override { return baselineIntersectX_; }
  double BaselineIntersectY() override { return baselineIntersectY_; }

  void SetRangeName(std::string v) { rangeName_ = std::move(v); }
  void SetBenchmark(std::shared_ptr<IVerticalControl> v) { benchmark_ = std::move(v); }
  void SetGage(std::shared_ptr<IGage> v) { gage_ = std::move(v); }
  void SetFieldBook(std::string v) { fieldBook_ = std::move(v); }
  void SetPageNumber(std::string v) { pageNumber_ = std::move(v); }
  void SetDescription(std::string v) { description_ = std::move(v); }
  // Writing either water surface value makes the section use its own
  // values instead of its gage's.
  void SetWaterSurfaceElevation(double v);
  // Stored in the date that SurveyDate reports as well.
  void SetWaterSurfaceTime(DateTime v);
  // The distance along the range line from its start to the baseline: a
  // point's baseline offset is its station less this.
  void SetBaselineDistance(double v) { baselineDistance_ = v; }
  void SetBaselineIntersectX(double v) { baselineIntersectX_ = v; }
  void SetBaselineIntersectY(double v) { baselineIntersectY_ = v; }

  // Points as stored (file order, kept ones only).
  std::size_t PointCount() const { return points_.Size(); }
  // Whether Points() lists anything, without ordering the points.
  bool HasListedPoints() const { return !IsDegenerate() && points_.Size() > 1; }

 private:
  static bool Accepts(const EMSurveyPoint& point);
  bool IsDegenerate() const { return startX_ == stopX_ && startY_ == stopY_; }

  EMPointList points_;
  DateTime date_ = DateTime::Undefined();
  double startX_ = 0, startY_ = 0, stopX_ = 0, stopY_ = 0, station_ = 0;
  std::string altName_, rangeName_, fieldBook_, pageNumber_, description_;
  std::shared_ptr<IVerticalControl> benchmark_;
  std::shared_ptr<IGage> gage_;
  double ownWaterSurfaceElevation_ = kUndefinedNumber;
  bool hasOwnWaterSurface_ = false;
  double baselineIntersectX_ = kUndefinedNumber;
  double baselineIntersectY_ = kUndefinedNumber;
  double baselineDistance_ = kUndefinedNumber;
  double gridAzimuth_ = 0;
  IMonitor* monitor_ = nullptr;
};

// The survey's cross sections that have points to list, in file order.
class EMCrossSectionIterator : public ListIterator<ICrossSectionIterator, ICrossSection, 0> {
 public:
  void InitCrossSections(const std::vector<std::shared_ptr<EMCrossSection>>& sections);
};

}  // namespace veldrane
