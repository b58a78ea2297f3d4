// Survey areas ("#A") and the baseline ("#B" records, the baseline file and
// what the end of a read computes against it). The area classes and the
// baseline reader plug in here: every place that needs them is one member
// function of this file.
#include <filesystem>

#include "geometry/offset_calculator.h"
#include "model/constants.h"
#include "model/text.h"
#include "readers/em/em_survey.h"
#include "readers/survey_factory.h"

namespace veldrane {
namespace {

constexpr const char* kSourceBaselineRecord = "Ordane.EMSurvey.DispatchBaselineRecord";
constexpr const char* kSourceBaseline = "Ordane.EMSurvey.Baseline";
constexpr const char* kSourceUpdate = "Ordane.EMSurvey.Update";

}  // namespace

// ---------------------------------------------------------------------------
// Survey areas

void EMSurvey::DispatchArea(std::string_view number, std::string_view /*value*/) {
  // Survey areas are not read by this reader yet: their records are skipped
  // without a message and no area is ever current. An area declaration
  // still closes the feature before it, so the area's points never join
  // the previous cross section or profile.
  if (number == "01") ClearDataRecords();
}

void EMSurvey::RouteAreaPoint(const EMSurveyPoint& /*point*/, std::string_view /*line*/) {
  // Reached only while an area is current (never, until areas are read).
}

void EMSurvey::ClearAreaRecord() {
  // Closing an area checks its exterior ring (at least three points, else
  // the area is removed) and its holes; nothing to close until areas are read.
}

std::shared_ptr<ISurveyAreaIterator> EMSurvey::Areas() {
  auto it = std::make_shared<ListIterator<ISurveyAreaIterator, ISurveyArea, 0>>();
  it->Assign(areas_);
  return it;
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
  std::error_code ec;
  if (std::filesystem::is_regular_file(path, ec)) return OpenBaselineTraverse(path);
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
    // Reading the points also refreshes their stations along the range line.
    const double distance = calculator.RangeStartToBaselineDistance();
    auto points = section->Points();
    while (auto point = points->GetNext()) {
      if (auto* p = dynamic_cast<EMSurveyPoint*>(point.get()))
        p->SetBaselineOffset(distance != kUndefinedNumber ? p->Station() - distance : kUndefinedNumber);
    }
  }
}

}  // namespace veldrane
