#pragma once
// A profile centerline of an EM survey: a start point with its station and
// the points surveyed along the centerline, in file order.
#include <memory>
#include <string>
#include <vector>

#include "model/constants.h"
#include "model/date_time.h"
#include "model/features.h"
#include "model/iterators.h"
#include "readers/em/em_point_list.h"
#include "readers/em/em_survey_point_iterator.h"

namespace veldrane {

class EMProfileCenterline : public IProfileCenterline, public std::enable_shared_from_this<EMProfileCenterline> {
 public:
  EMProfileCenterline() = default;

  void Initialize(double startX, double startY, double station, const std::string& name);
  // Appends a copy of the point; profiles keep every point they are given.
  void AddPoint(const EMSurveyPoint& point) { AddPoint(EMSurveyPoint(point)); }
  void AddPoint(EMSurveyPoint&& point);
  // Stores the points in the survey's arena (see EMPointList).
  void UseArena(std::shared_ptr<EMPointArena> arena) { points_.UseArena(std::move(arena)); }
  // Gives every point its station through the station calculator. Without
  // a baseline the stations run along the profile itself: the first point
  // is at the profile's Station and each next point adds its planar
  // distance from the previous one; with one, they are mapped from the
  // baseline's stations. A profile that cannot be stationed against the
  // baseline raises (RaisedError -200016).
  void BuildStationing(const std::shared_ptr<ITraverse>& baseline);

  std::shared_ptr<ISurveyPointIterator> Points() override;
  double StartX() override { return startX_; }
  double StartY() override { return startY_; }
  double Station() override { return station_; }
  std::string AltName() override { return altName_; }
  std::shared_ptr<IVerticalControl> Benchmark() override { return benchmark_; }
  std::shared_ptr<IGage> Gage() override { return hasOwnWaterSurface_ ? nullptr : gage_; }
  std::string FieldBook() override { return fieldBook_; }
  std::string PageNumber() override { return pageNumber_; }
  double WaterSurfaceElevation() override;
  DateTime WaterSurfaceTime() override;
  DateTime SurveyDate() override { return date_; }
  std::string Description() override { return description_; }

  void SetBenchmark(std::shared_ptr<IVerticalControl> v) { benchmark_ = std::move(v); }
  void SetGage(std::shared_ptr<IGage> v) { gage_ = std::move(v); }
  void SetFieldBook(std::string v) { fieldBook_ = std::move(v); }
  void SetPageNumber(std::string v) { pageNumber_ = std::move(v); }
  void SetDescription(std::string v) { description_ = std::move(v); }
  void SetSurveyDate(DateTime v) { date_ = v; }
  void SetWaterSurfaceElevation(double v);
  // Stored in the date that SurveyDate reports as well.
  void SetWaterSurfaceTime(DateTime v);

  std::size_t PointCount() const { return points_.Size(); }

 private:
  EMPointList points_;
  // The points' stations, their lateral and baseline offsets: the ones
  // they came with until BuildStationing gives them stations.
  struct Derived {
    double station, lateralOffset, baselineOffset;
  };
  std::vector<Derived> derived_;
  DateTime date_ = DateTime::Undefined();
  double startX_ = 0, startY_ = 0, station_ = 0;
  std::string altName_, fieldBook_, pageNumber_, description_;
  std::shared_ptr<IVerticalControl> benchmark_;
  std::shared_ptr<IGage> gage_;
  double ownWaterSurfaceElevation_ = kUndefinedNumber;
  bool hasOwnWaterSurface_ = false;
};

// The survey's profiles that have points, in file order.
class EMProfileCenterlineIterator : public ListIterator<IProfileCenterlineIterator, IProfileCenterline, 0> {
 public:
  void InitProfile(const std::vector<std::shared_ptr<EMProfileCenterline>>& profiles);
};

}  // namespace veldrane
