#include "readers/fixedcolumn/corvid830_cross_section.h"

#include <array>
#include <cmath>
#include <optional>

#include "geometry/planar.h"
#include "model/field_parsing.h"
#include "readers/fixedcolumn/plain_decimal.h"
#include "model/text.h"
#include "readers/fixedcolumn/corvid830_survey.h"
#include "readers/fixedcolumn/corvid830_survey_point_iterator.h"
#include "readers/fixedcolumn/line_cursor.h"

namespace veldrane {
namespace {

constexpr const char* kSource = "Ordane.Corvid830CrossSection.InitCrossSection";
constexpr std::size_t kPointsPerLine = 4;
constexpr std::size_t kMinimumDataLineLength = 81;
constexpr double kEndOfPoints = 9999999.0;

// `count` characters of `text` from 0-based `pos`; empty past its end.
std::string_view Piece(std::string_view text, std::size_t pos, std::size_t count) {
  return pos < text.size() ? text.substr(pos, count) : std::string_view();
}

// DDDMMSS.SS: degrees are the first three characters, minutes the next two
// and seconds the next six. Degrees and minutes are whole numbers (rounded
// the way a whole-number conversion rounds); nullopt when a part is no
// number at all.
std::optional<double> GeodeticAzimuthFromText(std::string_view text) {
  const auto degrees = ToNumber(Piece(text, 0, 3));
  const auto minutes = ToNumber(Piece(text, 3, 2));
  const auto seconds = ToNumber(Piece(text, 5, 6));
  if (!degrees || !minutes || !seconds) return std::nullopt;
  const double value = std::nearbyint(*degrees) + std::nearbyint(*minutes) / 60.0 + *seconds / 3600.0;
  return RoundHalfEven(value, 3);
}

// An A02 time of three digits reads H:MM, of four HH:MM; other numeric
// texts join their first two and last two characters.
std::string TimeWithColon(std::string_view digits) {
  std::string text;
  if (digits.size() == 3) {
    text.append(digits.substr(0, 1)).append(":").append(digits.substr(1));
  } else {
    const std::size_t tail = digits.size() >= 2 ? digits.size() - 2 : 0;
    text.append(digits.substr(0, 2)).append(":").append(digits.substr(tail));
  }
  return text;
}

std::size_t FirstTabColumn(std::string_view line) {
  const auto tab = line.find('\t');
  return tab == std::string_view::npos ? 0 : tab + 1;
}

}  // namespace

bool Corvid830CrossSection::InitCrossSection(std::string_view record, Corvid830Survey& survey) {
  codes_ = survey.Codes();
  verticalDatum_ = survey.Headers().VerticalDatum();
  epoch_ = survey.Headers().Epoch();
  date_ = survey.Headers().SurveyDate();
  auto& points = survey.ScratchPoints();
  points.clear();
  LineCursor lines(record);
  std::string_view line;
  while (lines.Next(line)) {
    survey.SetLineNumber(survey.LineNumber() + 1);
    if (const std::size_t tab = FirstTabColumn(line))
      survey.AppendWarning(kSource, "Corvid830 files may not contain tabs. Tab found in column " +
                                        std::to_string(tab) + ".");
    const std::string_view type = ColumnField(line, 9, 3);
    if (EqualsIgnoreCase(type, "A01")) {
      if (!ParseRangeLine(line, survey)) return false;
    } else if (EqualsIgnoreCase(type, "A02")) {
      ParseControlLine(line, survey);
    } else {
      ParseDataLine(line, survey, points);
    }
  }
  // Exactly as many points as were read, side by side with those of the
  // sections before.
  arena_ = survey.PointArena();
  pointCount_ = points.size();
  points_ = arena_->Allocate(pointCount_);
  for (std::size_t i = 0; i < pointCount_; ++i) points_[i] = points[i];
  return true;
}

std::shared_ptr<ISurveyPointIterator> Corvid830CrossSection::Points() {
  std::vector<std::shared_ptr<ISurveyPoint>> items;
  items.reserve(pointCount_);
  // Items keep their owner alive; an owner that is not shared (made on the
  // stack) hands out plain pointers that live as long as it does.
  const std::shared_ptr<void> self = weak_from_this().lock();
  for (std::size_t i = 0; i < pointCount_; ++i) items.emplace_back(self, points_ + i);
  auto iterator = std::make_shared<Corvid830SurveyPointIterator>();
  iterator->InitPoints(std::move(items));
  return iterator;
}

bool Corvid830CrossSection::ParseRangeLine(std::string_view line, Corvid830Survey& survey) {
  const std::string_view azimuthText = ColumnField(line, 36, 12);
  const auto azimuth = GeodeticAzimuthFromText(azimuthText);
  if (!azimuth) {
    // The azimuth is read as whole degrees and minutes and decimal seconds;
    // text that is none of these cannot be trusted for the range line, so
    // reading stops here, keeping every cross section read before it.
    survey.AppendError("Geodetic azimuth in columns 36-47 is not degrees, minutes and seconds (DDDMMSS.S) : \"" +
                       std::string(azimuthText) + "\". Reading of the file stopped at this line.");
    return false;
  }
  geodeticAzimuth_ = *azimuth;
  station_ = ParseNumberQuick(survey, ColumnField(line, 45, 12), "Station Parse Error");
  altName_ = std::string(ColumnField(line, 64, 12));
  startX_ = ParseNumberQuick(survey, ColumnField(line, 81, 12), "Start Coordinate Parse Error");
  startY_ = ParseNumberQuick(survey, ColumnField(line, 93, 12), "Start Coordinate Parse Error");
  stopX_ = ParseNumberQuick(survey, ColumnField(line, 105, 12), "Stop Coordinate Parse Error");
  stopY_ = ParseNumberQuick(survey, ColumnField(line, 117, 12), "Stop Coordinate Parse Error");
  gridAzimuth_ = veldrane::GridAzimuth(startX_, startY_, stopX_, stopY_);
  return true;
}

void Corvid830CrossSection::ParseControlLine(std::string_view line, Corvid830Survey& survey) {
  const std::string_view benchmarkName = ColumnField(line, 18, 25);
  if (!benchmarkName.empty()) {
    benchmark_ = std::make_shared<EMVerticalControl>();
    benchmark_->SetName(std::string(benchmarkName));
    if (const auto elevation = ToNumber(ColumnField(line, 54, 6))) benchmark_->SetMeasuredElevation(*elevation);
    benchmark_->SetPermanent(Piece(line, 0, 18).find("PBM:") != std::string_view::npos);
    benchmark_->SetVerticalDatum(verticalDatum_);
    benchmark_->SetEpoch(epoch_);
  }
  const std::string_view gageName = ColumnField(line, 71, 6);
  if (!gageName.empty()) {
    gage_ = std::make_shared<EMGage>();
    gage_->SetName(std::string(gageName));
  }
  if (const auto elevation = ToNumber(ColumnField(line, 86, 7))) {
    waterSurfaceElevation_ = *elevation;
    if (gage_) gage_->SetWaterSurfaceElevation(*elevation);
  }
  ApplyControlDate(line, survey);
}

void Corvid830CrossSection::ApplyControlDate(std::string_view line, Corvid830Survey& survey) {
  const auto date = TryParseDate(ColumnField(line, 101, 11));
  if (!date) return;
  DateTime when = *date;
  const std::string_view timeText = ColumnField(line, 120, 4);
  if (IsNumeric(timeText)) {
    if (const auto time = TryParseTime(TimeWithColon(timeText))) {
      when = date->PlusTimeOfDay(*time);
    } else {
      // A time such as 2599 is a typing slip in one field: the date is still
      // good and the rest of the file should not be lost over it, so the
      // reading goes on with the date alone and says so.
      survey.AppendWarning(kSource, "Invalid A02 time : " + std::string(timeText) +
                                        " is not a time of day. The date is used without a time.");
    }
  }
  date_ = when;
  if (gage_) gage_->SetMeasurementDate(when);
}

void Corvid830CrossSection::ParseDataLine(std::string_view line, Corvid830Survey& survey,
                                          std::vector<Corvid830SurveyPoint>& points) {
  if (line.size() < kMinimumDataLineLength) return;
  struct Group {
    double offset;
    double elevation;
    std::string_view code;
  };
  std::array<Group, kPointsPerLine> groups{};
  std::size_t count = 0;
  for (std::size_t k = 0; k < kPointsPerLine; ++k) {
    const double offset = ParseNumberQuick(survey, ColumnField(line, 13 + 17 * k, 7), "Offset Parse Error");
    if (offset == kEndOfPoints) break;
    const double elevation = ParseNumberQuick(survey, ColumnField(line, 20 + 17 * k, 7), "Elevation Parse Error");
    groups[count++] = Group{offset, elevation, ColumnField(line, 27 + 17 * k, 3)};
  }
  for (std::size_t k = 0; k < count; ++k) {
    const double easting = ParseNumberQuick(survey, ColumnField(line, 81 + 24 * k, 12), "Easting Parse Error");
    const double northing = ParseNumberQuick(survey, ColumnField(line, 93 + 24 * k, 12), "Northing Parse Error");
    const double lateral = LateralOffset(easting, northing, startX_, startY_, stopX_, stopY_);
    points.emplace_back();
    points.back().InitSurveyPoint(survey.CurrentPID(), easting, northing, groups[k].elevation,
                                  codes_->Intern(groups[k].code), groups[k].offset, lateral);
    survey.SetCurrentPID(survey.CurrentPID() + 1);
  }
}

double Corvid830CrossSection::LateralOffset(double e, double n, double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  const double lengthSquared = dx * dx + dy * dy;
  // A range line of one point has no direction: the offset is the distance
  // from that point.
  if (lengthSquared == 0) return std::sqrt(SquaredDistance(e, n, x1, y1));
  const double t = (dx * (e - x1) + dy * (n - y1)) / lengthSquared;
  return std::sqrt(SquaredDistance(e, n, x1 + t * dx, y1 + t * dy));
}

}  // namespace veldrane
