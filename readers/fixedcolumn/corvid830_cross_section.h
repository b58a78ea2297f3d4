#pragma once
// One cross section of a fixed-column (.830) survey: a block of lines with
// the range line (A01), the benchmark and gage reading (A02) and data lines
// of up to four points each, the block closed by the first line that holds
// "9999999".
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/constants.h"
#include "model/features.h"
#include "readers/em/em_gage.h"
#include "readers/em/em_vertical_control.h"
#include "readers/fixedcolumn/block_arena.h"
#include "readers/fixedcolumn/corvid830_survey_point.h"
#include "readers/fixedcolumn/interned_code_table.h"

namespace veldrane {

class Corvid830Survey;

class Corvid830CrossSection : public ICrossSection, public std::enable_shared_from_this<Corvid830CrossSection> {
 public:
  // Parses one block (its lines separated by line breaks), advancing the
  // survey's line count line by line and numbering points from the
  // survey's CurrentPID on. Returns false when a geodetic azimuth that is
  // no number ended the reading of the file; the section is then incomplete
  // and the reason is queued.
  bool InitCrossSection(std::string_view record, Corvid830Survey& survey);

  // In file order.
  std::shared_ptr<ISurveyPointIterator> Points() override;
  double StartX() override { return startX_; }
  double StartY() override { return startY_; }
  double StopX() override { return stopX_; }
  double StopY() override { return stopY_; }
  double Station() override { return station_; }
  std::string RangeName() override { return {}; }
  std::string AltName() override { return altName_; }
  std::shared_ptr<IVerticalControl> Benchmark() override { return benchmark_; }
  // The section's gage reading: the source of its water surface, shown to
  // the user like the gage of an EM cross section.
  std::shared_ptr<IGage> Gage() override { return gage_; }
  std::string FieldBook() override { return {}; }
  std::string PageNumber() override { return {}; }
  // A02 columns 86-92 when numeric, else 0.
  double WaterSurfaceElevation() override { return waterSurfaceElevation_; }
  DateTime WaterSurfaceTime() override { return date_; }
  DateTime SurveyDate() override { return date_; }
  std::string Description() override { return {}; }
  // Not rounded; 0.0001 when both eastings are equal.
  double GridAzimuth() override { return gridAzimuth_; }
  double GeodeticAzimuth() override { return geodeticAzimuth_; }
  double BaselineIntersectX() override { return kUndefinedNumber; }
  double BaselineIntersectY() override { return kUndefinedNumber; }

  std::size_t PointCount() const { return pointCount_; }
  const std::shared_ptr<EMVerticalControl>& BenchmarkControl() const { return benchmark_; }
  const std::shared_ptr<EMGage>& GageReading() const { return gage_; }

  // Distance of (e, n) from the range line through start and stop (never
  // negative); from the start point itself when start and stop coincide.
  static double LateralOffset(double e, double n, double x1, double y1, double x2, double y2);

 private:
  bool ParseRangeLine(std::string_view line, Corvid830Survey& survey);
  void ParseControlLine(std::string_view line, Corvid830Survey& survey);
  void ParseDataLine(std::string_view line, Corvid830Survey& survey, std::vector<Corvid830SurveyPoint>& points);
  void ApplyControlDate(std::string_view line, Corvid830Survey& survey);

  std::shared_ptr<InternedCodeTable> codes_;  // keeps the points' code entries alive
  // The section's points: a run in the survey's point arena, which the
  // section keeps alive.
  std::shared_ptr<BlockArena<Corvid830SurveyPoint>> arena_;
  Corvid830SurveyPoint* points_ = nullptr;
  std::size_t pointCount_ = 0;
  double startX_ = kUndefinedNumber;
  double startY_ = kUndefinedNumber;
  double stopX_ = kUndefinedNumber;
  double stopY_ = kUndefinedNumber;
  double station_ = kUndefinedNumber;
  double gridAzimuth_ = kUndefinedNumber;
  double geodeticAzimuth_ = kUndefinedNumber;
  double waterSurfaceElevation_ = 0;
  DateTime date_;
  std::string altName_;
  std::string verticalDatum_;
  std::string epoch_;
  std::shared_ptr<EMVerticalControl> benchmark_;
  std::shared_ptr<EMGage> gage_;
};

}  // namespace veldrane
