#pragma once
// A miscellaneous shot point: one surveyed point with the attributes of the
// "#M" declaration it follows. Files hold many of them, so the texts that
// neighbouring shot points repeat are shared rather than copied.
#include <memory>
#include <string>
#include <vector>

#include "model/date_time.h"
#include "model/features.h"
#include "model/iterators.h"
#include "readers/em/em_compact_text.h"
#include "readers/em/em_survey_point.h"

namespace veldrane {

class EMMiscShotPoint : public IMiscShotPoint, public std::enable_shared_from_this<EMMiscShotPoint> {
 public:
  EMMiscShotPoint() = default;

  // Keeps a copy of the point.
  void SetPoint(const EMSurveyPoint& point) {
    point_ = point;
    hasPoint_ = true;
  }
  void SetDescription(const std::string& v) { description_ = MakeSharedText(v); }
  void SetDescription(SharedText v) { description_ = std::move(v); }
  void SetBenchmark(std::shared_ptr<IVerticalControl> v) { benchmark_ = std::move(v); }
  void SetGage(std::shared_ptr<IGage> v) { gage_ = std::move(v); }
  void SetFieldBook(const std::string& v) { fieldBook_ = MakeSharedText(v); }
  void SetFieldBook(SharedText v) { fieldBook_ = std::move(v); }
  void SetPageNumber(const std::string& v) { pageNumber_ = MakeSharedText(v); }
  void SetPageNumber(SharedText v) { pageNumber_ = std::move(v); }
  void SetSurveyDate(DateTime v) { date_ = v; }

  // A new shot point with the same attributes and a copy of the point.
  std::shared_ptr<EMMiscShotPoint> Clone() const { return std::make_shared<EMMiscShotPoint>(*this); }

  // None until SetPoint.
  std::shared_ptr<ISurveyPoint> Point() override;
  std::string Description() override { return TextOf(description_); }
  std::shared_ptr<IVerticalControl> Benchmark() override { return benchmark_; }
  std::string FieldBook() override { return TextOf(fieldBook_); }
  std::string PageNumber() override { return TextOf(pageNumber_); }
  DateTime SurveyDate() override { return date_; }
  std::shared_ptr<IGage> Gage() override { return gage_; }
  // Only the gage gives a shot point its water surface.
  double WaterSurfaceElevation() override;
  DateTime WaterSurfaceTime() override;

 private:
  EMSurveyPoint point_;
  bool hasPoint_ = false;
  SharedText description_, fieldBook_, pageNumber_;
  DateTime date_ = DateTime::Undefined();
  std::shared_ptr<IVerticalControl> benchmark_;
  std::shared_ptr<IGage> gage_;
};

class EMMiscShotPointIterator : public ListIterator<IMiscShotPointIterator, IMiscShotPoint, 0> {
 public:
  void InitShotPoints(const std::vector<std::shared_ptr<EMMiscShotPoint>>& shotPoints) {
    Assign(std::vector<std::shared_ptr<IMiscShotPoint>>(shotPoints.begin(), shotPoints.end()));
  }
};

}  // namespace veldrane
