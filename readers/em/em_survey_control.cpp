// Vertical control ("#V" permanent and "#T" temporary benchmarks) and gage
// readings ("#G").
#include "model/constants.h"
#include "model/field_parsing.h"
#include "model/text.h"
#include "readers/em/em_survey.h"

namespace veldrane {
namespace {

constexpr const char* kSourcePermanent = "Ordane.EMSurvey.DispatchPermanentBenchmarkRecord";
constexpr const char* kSourceTemporary = "Ordane.EMSurvey.DispatchTemporaryBenchmarkRecord";
constexpr const char* kSourceGage = "Ordane.EMSurvey.DispatchGageRecord";

// The texts that differ between the two benchmark families.
struct BenchmarkTexts {
  const char* source;
  const char* parse02;
  const char* parse06;
  const char* duplicate02;
  const char* duplicate03;
  const char* duplicate04;
  const char* duplicate05;
  const char* duplicate06;
  const char* duplicate07;
  const char* duplicate08;
};

constexpr BenchmarkTexts kPermanentTexts{kSourcePermanent,
                                         "Invalid #V02 record",
                                         "Invalid #V06 record",
                                         "Duplicate #V02 record ignored for ",
                                         "Duplicate #V03 record ignored for ",
                                         "Duplicate #V04 record ignored for ",
                                         "Duplicate #V05 record ignored for ",
                                         "Duplicate #V06 record ignored for ",
                                         "Duplicate #V07 record ignored for ",
                                         "Duplicate #V08 record ignored for "};
constexpr BenchmarkTexts kTemporaryTexts{kSourceTemporary,
                                         "Invalid #T02 record",
                                         "Invalid #T06 record",
                                         "Duplicate #T02 record ignored for ",
                                         "Duplicate #T03 record ignored for ",
                                         "Duplicate #T04 record ignored for ",
                                         "Duplicate #T05 record ignored for ",
                                         "Duplicate #T06 record ignored for",
                                         "Duplicate #T07 record ignored for",
                                         "Duplicate #T08 record ignored for "};

bool IsIgnoredPermanentNumber(std::string_view number) {
  return number.size() == 2 && number[0] == '1' && number[1] >= '3' && number[1] <= '9';
}

}  // namespace

// ---------------------------------------------------------------------------
// Benchmarks

void EMSurvey::CreateBenchmark(std::string_view name, bool permanent) {
  auto benchmark = std::make_shared<EMVerticalControl>();
  benchmark->SetSurveyDate(currentSurveyDate_);
  benchmark->SetName(std::string(name));
  benchmarks_.Add(benchmark->Name(), benchmark);
  benchmark->SetAdjustment(currentVerticalAdjustment_);
  if (!permanent) {
    benchmark->SetPermanent(false);
    benchmark->SetFieldBook(TextOf(currentFieldBook_));
    benchmark->SetPageNumber(TextOf(currentPageNumber_));
  }
  currentBenchmark_ = std::move(benchmark);
}

void EMSurvey::DispatchPermanentBenchmarkRecord(std::string_view number, std::string_view value) {
  const std::string name(value);
  // Records that act before (or without) a current benchmark.
  if (number == "01") {
    if (auto* existing = benchmarks_.Find(name)) currentBenchmark_ = *existing;
    else CreateBenchmark(value, true);
  } else if (number == "03") {
    if (epoch_.empty()) epoch_ = name;
  } else if (number == "04") {
    if (verticalDatum_.empty()) verticalDatum_ = name;
  } else if (number == "09") {
    currentVerticalAdjustment_ = ParseNumber(*this, value, "Invalid vertical adjustment #V09");
  }
  if (!currentBenchmark_) {
    if (number == "03" || number == "04" || number == "09") return;
    Report(kErrInvalidRecord, kSeverityError, kSourcePermanent,
           "Permanent benchmark record must be preceded by #V01 record : " + name);
    return;
  }
  EMVerticalControl& bm = *currentBenchmark_;
  if (number == "01") {
    // Also when an existing benchmark was selected again: "#V01" makes a
    // temporary benchmark permanent.
    bm.SetPermanent(true);
    bm.SetName(name);
    bm.SetFieldBook(TextOf(currentFieldBook_));
    bm.SetPageNumber(TextOf(currentPageNumber_));
  } else if (number == "09") {
    bm.SetAdjustment(currentVerticalAdjustment_);
  } else if (number == "10") {
    bm.SetLocalMeanSeaLevelRelationship(ParseNumber(*this, value, "Invalid #V10 Record"));
  } else if (number == "11") {
    bm.SetMeanLowerLowWaterRelationship(ParseNumber(*this, value, "Invalid #V11 Record"));
  } else if (number == "12") {
    bm.SetNationalTidalDatumEpoch(name);
  } else if (IsIgnoredPermanentNumber(number)) {
    // Accepted and ignored.
  } else {
    ApplyBenchmarkRecord(number, value, true);
  }
}

void EMSurvey::DispatchTemporaryBenchmarkRecord(std::string_view number, std::string_view value) {
  const std::string name(value);
  if (number != "01" && !currentBenchmark_) {
    Report(kErrInvalidRecord, kSeverityError, kSourceTemporary,
           "Temporary benchmark record must be preceded by #T01 record : " + name);
    return;
  }
  if (number == "01") {
    if (auto* existing = benchmarks_.Find(name)) currentBenchmark_ = *existing;
    else CreateBenchmark(value, false);
  } else if (number == "09") {
    // A temporary benchmark takes its adjustment only when it is created.
  } else {
    ApplyBenchmarkRecord(number, value, false);
  }
}

// Codes "02" to "08" (same rules for both families) and description lines.
void EMSurvey::ApplyBenchmarkRecord(std::string_view number, std::string_view value, bool permanent) {
  const BenchmarkTexts& t = permanent ? kPermanentTexts : kTemporaryTexts;
  EMVerticalControl& bm = *currentBenchmark_;
  const std::string text(value);
  auto duplicate = [&](const char* message) { Report(kErrInvalidRecord, kSeverityWarning, t.source, message + bm.Name()); };
  if (number == "02") {
    if (bm.DocumentedElevation() != kUndefinedNumber) duplicate(t.duplicate02);
    else bm.SetDocumentedElevation(ParseNumber(*this, value, t.parse02));
  } else if (number == "03") {
    if (!bm.Epoch().empty()) duplicate(t.duplicate03);
    else bm.SetEpoch(text);
  } else if (number == "04") {
    if (!bm.VerticalDatum().empty()) duplicate(t.duplicate04);
    else bm.SetVerticalDatum(text);
  } else if (number == "05") {
    if (!bm.Condition().empty()) duplicate(t.duplicate05);
    else bm.SetCondition(text);
  } else if (number == "06") {
    if (bm.MeasuredElevation() != kUndefinedNumber) duplicate(t.duplicate06);
    else bm.SetMeasuredElevation(ParseNumber(*this, value, t.parse06));
  } else if (number == "07") {
    if (bm.Northing() != kUndefinedNumber || bm.Easting() != kUndefinedNumber) {
      duplicate(t.duplicate07);
    } else {
      const std::string context =
          permanent ? std::string("Invalid Benchmark Coordinate") : "Invalid Benchmark Coordinate for " + bm.Name();
      // The value holds the northing first; the pair comes back reversed.
      const auto pair = ParseCoordinatePair(*this, value, context);
      bm.SetNorthing(pair[1]);
      bm.SetEasting(pair[0]);
    }
  } else if (number == "08") {
    if (!bm.PID().empty()) duplicate(t.duplicate08);
    else bm.SetPID(text);
  } else {
    bm.AppendDescriptionLine(text);
  }
}

// ---------------------------------------------------------------------------
// Gage readings

// Only the equality of keys matters: the name, the date-time in a fixed
// ISO form and the elevation as its shortest exact decimal text.
std::string EMSurvey::GageKey(EMGage& gage) const {
  return gage.Name() + "_" + gage.MeasurementDate().ToIso() + "_" + FormatNumber(gage.WaterSurfaceElevation());
}

void EMSurvey::DispatchGageRecord(std::string_view number, std::string_view value) {
  if (number != "01" && number != "02" && !currentGage_) {
    Report(kErrInvalidRecord, kSeverityError, kSourceGage, "No previously defined #G02 record for gage record");
    return;
  }
  if (!currentGage_) currentGage_ = std::make_shared<EMGage>();
  EMGage& gage = *currentGage_;
  const std::string text(value);
  auto duplicate = [&](const std::string& message) {
    Report(kErrInvalidRecord, kSeverityWarning, kSourceGage, message);
  };
  if (number == "01") {
    currentGageCode_ = text;
  } else if (number == "02") {
    auto reading = std::make_shared<EMGage>();
    reading->SetName(text);
    reading->SetCode(currentGageCode_);
    reading->SetFieldBook(TextOf(currentFieldBook_));
    reading->SetPageNumber(TextOf(currentPageNumber_));
    reading->SetBenchmark(currentBenchmark_);
    currentGage_ = std::move(reading);
  } else if (number == "03") {
    // A second elevation for one reading is ignored, as its message says:
    // the first value and any time already given stay as they are.
    if (gage.WaterSurfaceElevation() != kUndefinedNumber) {
      duplicate("Duplicate water surface elevation (#G03) record ignored for " + gage.Name() +
                ". (Make sure a separate #G02 record exists for each gage reading) This value will be ignored :" +
                text);
    } else {
      gage.SetWaterSurfaceElevation(ParseNumber(*this, value, "Invalid water surface elevation #G03"));
    }
  } else if (number == "04") {
    if (gage.MeasurementDate() != DateTime::Undefined()) {
      duplicate("Duplicate measurement date/time (#G04) record ignored for " + gage.Name() +
                ". (Make sure a separate #G02 record exists for each gage reading) This value will be ignored :" +
                text);
    } else {
      CompleteGageReading(value);
    }
  } else if (number == "05") {
    if (gage.LocalMeanSeaLevelReference() != kUndefinedNumber)
      duplicate("Duplicate LMSL (#G05) record ignored for " + gage.Name());
    else
      gage.SetLocalMeanSeaLevelReference(ParseNumber(*this, value, "Invalid local mean sea level #G05"));
  } else if (number == "06") {
    if (gage.MeanLowerLowWaterReference() != kUndefinedNumber)
      duplicate("Duplicate MLLW (#G06) record ignored for " + gage.Name());
    else
      gage.SetMeanLowerLowWaterReference(
          ParseNumber(*this, value, "Invalid mean lower low water reference #G06"));
  } else if (number == "07") {
    if (gage.Northing() != kUndefinedNumber || gage.Easting() != kUndefinedNumber) {
      duplicate("Duplicate Coordinates (#G07) record ignored for " + gage.Name());
    } else {
      const auto pair = ParseCoordinatePair(*this, value, "Invalid Gage Coordinate");
      gage.SetNorthing(pair[1]);
      gage.SetEasting(pair[0]);
    }
  } else if (number == "08" || number == "09") {
    // Accepted and ignored.
  } else {
    gage.AddDescription(text + " ");
  }
}

// A "#G03" that follows the "#G04" of its reading still gives the (already
// registered) reading its elevation: the file states it for that reading,
// and the key formed at "#G04" only serves to drop repeated readings.
void EMSurvey::CompleteGageReading(std::string_view value) {
  const DateTime time = ParseTime(*this, value, "Invalid Gage date/time #G04");
  if (time != DateTime::Undefined()) currentGage_->SetMeasurementDate(currentSurveyDate_ + time);
  // Features declared before keep the reading object they were given.
  currentGage_ = currentGage_->Clone();
  const std::string key = GageKey(*currentGage_);
  if (!gages_.Add(key, currentGage_)) {
    Report(kErrInvalidRecord, kSeverityWarning, kSourceGage, "Duplicate gage (name/time/water surface elevation) entry");
  }
}

}  // namespace veldrane
