// Survey areas ("#A") and the baseline ("#B" records, the baseline file and
// what the end of a read computes against it). The area classes and the
// baseline reader plug in here: every place that needs them is one member
// function of this file.
#include <filesystem>

#include "config/file_system.h"
#include "geometry/offset_calculator.h"
#include "model/constants.h"
#include "model/text.h"
#include "readers/em/em_survey.h"
#include "readers/em/em_survey_area.h"
#include "readers/survey_factory.h"

namespace veldrane {
namespace {

constexpr const char* kSourceBaselineRecord = "Ordane.EMSurvey.DispatchBaselineRecord";
constexpr const char* kSourceBaseline = "Ordane.EMSurvey.Baseline";
constexpr const char* kSourceUpdate = "Ordane.EMSurvey.Update";
constexpr const char* kSourceArea = "Ordane.EMSurvey.DispatchArea";
constexpr const char* kSourceClear = "Ordane.EMSurvey.ClearDataRecords";

// The reader makes every area it keeps, so the open area is always one of
// its own.
EMSurveyArea& OpenArea(const std::shared_ptr<ISurveyArea>& area) { return static_cast<EMSurveyArea&>(*area); }

}  // namespace

// ---------------------------------------------------------------------------
// Survey areas

void EMSurvey::DispatchArea(std::string_view number, std::string_view value) {
  const std::string line = "#A" + std::string(number);
  if (number == "01") {
    if (horizontalAccuracy_ == kUndefinedNumber) {
      Report(kErrInvalidDeclaration, kSeverityWarning, kSourceArea,
             "Survey Area Features (#A01, #A02, #A03) specified without Horizontal Accuray Record (#H17). Last "
             "point will be included in polygon rendering and may result in incorrect topology.");
    }
    ClearDataRecords();
    auto area = std::make_shared<EMSurveyArea>();
    holeRejected_ = false;
    islandRejected_ = false;
    area->InitSurveyArea(this);
    area->SetFieldBook(TextOf(currentFieldBook_));
    area->SetPageNumber(TextOf(currentPageNumber_));
    area->SetSurveyDate(currentSurveyDate_);
    area->SetBenchmark(currentBenchmark_);
    area->SetGage(currentGage_);
    area->SetAltName(std::string(value));
    areas_.push_back(area);
    currentArea_ = area;
    return;
  }
  if (number == "02") {
    // A hole needs an area to be inside of: without one the record is
    // reported and skipped (the following points then go wherever points
    // go outside an area).
    if (!HasCurrentArea()) {
      Report(kErrInvalidRecord, kSeverityError, kSourceArea,
             "Survey area hole (#A02) specified out of order. #A02 records must be recorded after #A01 records.");
      return;
    }
    OpenArea(currentArea_).AddNewHole();
    holeRejected_ = false;
    islandRejected_ = false;
    return;
  }
  if (number == "03") {
    if (!HasCurrentArea()) {
      Report(kErrInvalidRecord, kSeverityError, kSourceArea,
             "Survey area island (#A03) specified out of order. #A03 records must be recorded after #A01 and #A02 "
             "records.");
      return;
    }
    // An island lies in a hole: with no hole yet (or the last one rejected)
    // the record is reported and skipped.
    if (!OpenArea(currentArea_).InHole() || !OpenArea(currentArea_).AddNewIsland()) {
      Report(kErrInvalidRecord, kSeverityError, kSourceArea,
             "Survey area island (#A03) specified without a hole. #A03 records must follow the #A02 record of the "
             "hole the island lies in.");
      return;
    }
    islandRejected_ = false;
    return;
  }
  if (!IsNumeric(number)) {
    Report(kErrInvalidRecord, kSeverityError, kSourceArea, "Invalid survey code: " + line);
    return;
  }
  // Numbers 10 and up describe the area; the others are reserved.
  if (ToNumber(number).value_or(0) >= 10 && HasCurrentArea())
    OpenArea(currentArea_).AddDescription(std::string(value) + " ");
}

void EMSurvey::RouteAreaPoint(const EMSurveyPoint& point, std::string_view line) {
  // The rest of a rejected hole or island is skipped: it belongs neither to
  // the ring around it nor anywhere else.
  if (holeRejected_ || islandRejected_) return;
  EMSurveyArea& area = OpenArea(currentArea_);
  if (area.InIsland()) {
    if (!area.AddPointToIsland(point)) {
      AppendError("Invalid Survey Area Geometry: The island is not inside the hole: " + std::string(line));
      islandRejected_ = true;
    }
  } else if (area.InHole()) {
    if (!area.AddPointToHole(point)) {
      AppendError("Invalid Survey Area Geometry: The hole is not inside the external polygon: " + std::string(line));
      holeRejected_ = true;
    }
  } else {
    area.AddExteriorPoint(point);
  }
}

void EMSurvey::ClearAreaRecord() {
  if (!HasCurrentArea()) return;
  const auto& exterior = OpenArea(currentArea_).ExteriorRing();
  if (exterior->PointCount() < 3) {
    if (!areas_.empty() && areas_.back() == currentArea_) areas_.pop_back();
    Report(kErrInvalidRecord, kSeverityError, kSourceClear,
           "Prior Survey Area external ring must have at least three points.");
    return;
  }
  for (const auto& hole : exterior->InteriorRings()) {
    if (hole->PointCount() < 3) {
      Report(kErrInvalidRecord, kSeverityError, kSourceClear,
             "Prior Survey Area internal rings should have at least three points.");
      return;
    }
  }
}

std::shared_ptr<ISurveyAreaIterator> EMSurvey::Areas() {
  // Only areas with a drawn exterior ring are listed.
  std::vector<std::shared_ptr<ISurveyArea>> listed;
  listed.reserve(areas_.size());
  for (const auto& area : areas_)
    if (OpenArea(area).ExteriorRing()->PointCount() >= 1) listed.push_back(area);
  return std::make_shared<ListIterator<ISurveyAreaIterator, ISurveyArea, 0>>(std::move(listed));
}

// ---------------------------------------------------------------------------
// Baseline

void EMSurvey::DispatchBaselineRecord(std::string_view number, std::string_view value) {
  if (number == "00") {
    baselineName_ = std::string(value);
    return;
  }
  auto fields = SplitKeepEmpty(value, ',');
  if (auto blankFields = BlankFieldSplit(value); blankFields.size() > fields.size()) fields = std::move(blankFields);
  const std::string message = "Invalid Baseline Point data record :" + std::string(value);
  if (fields.size() < 3) {
    Report(kErrInvalidRecord, kSeverityError, kSourceBaselineRecord, message);
    return;
  }
  const auto easting = ToNumber(fields[0]);
  const auto northing = ToNumber(fields[1]);
  const auto station = ToNumber(fields[2]);
  if (!easting || !northing || !station) {
    Report(kErrInvalidRecord, kSeverityError, kSourceBaselineRecord, message);
    return;
  }
  std::vector<std::string_view> nameParts;
  for (std::size_t i = 3; i < fields.size(); ++i) nameParts.push_back(TrimBlanks(fields[i]));
  baselinePoints_.push_back({*easting, *northing, *station, Join(nameParts, 0, " ")});
}

std::string EMSurvey::BaselineFileName() {
  if (baselineName_.empty()) return {};
  return (std::filesystem::path(filename_).parent_path() / baselineName_).string();
}

std::shared_ptr<ITraverse> EMSurvey::Baseline() {
  const std::string ownName = std::filesystem::path(filename_).filename().string();
  if (!baselineName_.empty() && ToLowerAscii(baselineName_) == ToLowerAscii(ownName)) {
    Report(kErrInvalidDeclaration, kSeverityError, kSourceBaseline,
           "Invalid baseline filename. #B00 record can not be the same as the survey file name.");
    return nullptr;
  }
  if (baselineName_.empty()) return nullptr;
  const std::string path = BaselineFileName();
  if (FileExists(path)) return OpenBaselineTraverse(path);
  Report(kErrBaselineNotFound, kSeverityError, kSourceBaseline, "Baseline File Not Found : " + path);
  return nullptr;
}

std::shared_ptr<ITraverse> EMSurvey::OpenBaselineTraverse(const std::string& path) {
  // The baseline file is itself an EM file read as a traverse by the
  // baseline reader of the survey factory. While that reader is not plugged
  // in, an existing baseline file yields no baseline and cross sections keep
  // undefined intersections.
  const SurveyReaderOpener opener = FindSurveyReader(SurveyReaderKind::Baseline);
  if (opener == nullptr) return nullptr;
  return std::dynamic_pointer_cast<ITraverse>(opener(path));
}

void EMSurvey::ApplyBaseline() {
  std::shared_ptr<ITraverse> baseline = Baseline();
  if (baseline) {
    const auto points = baseline->TraversePoints();
    if (!points || points->Size() < 1) baseline.reset();
  }
  if (baseline) UpdateCrossSections(baseline);
  for (const auto& profile : profiles_) profile->BuildStationing(baseline);
}

void EMSurvey::UpdateCrossSections(const std::shared_ptr<ITraverse>& baseline) {
  OffsetCalculator calculator;
  calculator.SetBaseline(baseline);
  for (const auto& section : crossSections_) {
    calculator.SetCrossSection(section);
    const double x = calculator.IntersectX();
    const double y = calculator.IntersectY();
    section->SetBaselineIntersectX(x);
    section->SetBaselineIntersectY(y);
    if (x == kUndefinedNumber || y == kUndefinedNumber) {
      Report(kErrNoBaselineIntersection, kSeverityWarning, kSourceUpdate,
             "Cross-section (" + section->AltName() + ") does not intersect baseline", false);
      continue;
    }
    // Each point's baseline offset is its station less this distance.
    section->SetBaselineDistance(calculator.RangeStartToBaselineDistance());
  }
}

}  // namespace veldrane
