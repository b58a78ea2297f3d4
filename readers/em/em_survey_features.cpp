// Cross-section, profile and miscellaneous shot point records, and the
// coordinate lines that fill them.
#include "model/constants.h"
#include "model/field_parsing.h"
#include "model/text.h"
#include "readers/em/em_coordinate_line.h"
#include "readers/em/em_number.h"
#include "readers/em/em_survey.h"

namespace veldrane {
namespace {

constexpr const char* kSourceCrossSection = "Ordane.EMSurvey.DispatchCrossSectionRecord";
constexpr const char* kSourceRecord = "Ordane.EMSurvey.DispatchRecord";
constexpr const char* kSourceData = "Ordane.EMSurvey.DispatchDataRecord";
constexpr const char* kSourceProfile = "Ordane.EMSurvey.DispatchProfileCenterlineRecord";

// Description numbers are the numeric ones of 10 and more; lower numbers
// are reserved and ignored; anything else is not a record of the family.
enum class NumberKind { Description, Reserved, Invalid };

NumberKind ClassifyNumber(std::string_view number) {
  const auto value = ToNumber(number);
  if (!value) return NumberKind::Invalid;
  return *value >= 10 ? NumberKind::Description : NumberKind::Reserved;
}

}  // namespace

DateTime EMSurvey::SurveyDatePlusTime(std::string_view value, const char* label) {
  const DateTime time = ParseTime(*this, value, label);
  // A time that does not parse is reported; the survey date alone is then
  // the best known time, rather than the date pushed a century ahead by
  // adding the undefined date to it.
  if (time == DateTime::Undefined()) return currentSurveyDate_;
  return currentSurveyDate_ + time;
}

// ---------------------------------------------------------------------------
// "#X" records

void EMSurvey::DispatchCrossSectionRecord(std::string_view number, std::string_view value) {
  if (number == "01") {
    DeclareCrossSection(value);
  } else if (number == "02") {
    if (!currentCrossSection_) {
      Report(kErrInvalidRecord, kSeverityError, kSourceCrossSection,
             "Range Name (#X02) specified out of order. #X02 records must be recorded after #X01 records.");
    } else {
      currentCrossSection_->SetRangeName(std::string(value));
    }
  } else if (number == "03") {
    if (!currentCrossSection_) {
      Report(kErrInvalidRecord, kSeverityError, kSourceCrossSection,
             "Water Surface Time (#X03) specified out of order. #X03 records must be recorded after #X01 records.");
    } else {
      currentCrossSection_->SetWaterSurfaceTime(SurveyDatePlusTime(value, "Invalid #X03 Water Surface Time"));
    }
  } else if (number == "04") {
    if (!currentCrossSection_) {
      Report(kErrInvalidRecord, kSeverityError, kSourceCrossSection,
             "Water Surface Elevation (#X04) specified out of order. #X04 records must be recorded after #X01 "
             "records.");
    } else {
      currentCrossSection_->SetWaterSurfaceElevation(
          ParseNumber(*this, value, "Invalid #X04 Pro-rated Water Surface Elevation"));
    }
  } else {
    switch (ClassifyNumber(number)) {
      case NumberKind::Description: crossSectionDescription_.Append(value, " "); break;
      case NumberKind::Reserved: break;
      case NumberKind::Invalid:
        Report(kErrInvalidRecord, kSeverityError, kSourceCrossSection,
               "Invalid survey code: #X" + std::string(number));
        break;
    }
  }
}

void EMSurvey::DeclareCrossSection(std::string_view value) {
  const auto fields = BlankFieldSplit(value);
  ClearDataRecords();
  if (fields.size() < 5) {
    Report(kErrInvalidRecord, kSeverityError, kSourceRecord,
           "Invalid #X01 data record. #X01 records must contain a StartX, StartY, StopX, StopY, Station, and Name "
           "separated by spaces.");
    return;
  }
  auto section = std::make_shared<EMCrossSection>();
  section->monitor(this);
  section->SetFieldBook(TextOf(currentFieldBook_));
  section->SetPageNumber(TextOf(currentPageNumber_));
  section->SetBenchmark(currentBenchmark_);
  section->SetGage(currentGage_);
  const std::string name = Join(fields, 5, " ");
  const double startX = ParseNumber(*this, fields[0], "Invalid #X01 Start X");
  const double startY = ParseNumber(*this, fields[1], "Invalid #X01 Start Y");
  const double stopX = ParseNumber(*this, fields[2], "Invalid #X01 End X");
  const double stopY = ParseNumber(*this, fields[3], "Invalid #X01 End Y");
  const double station = ParseStation(*this, fields[4], "Invalid Station");
  section->Initialize(startX, startY, stopX, stopY, currentSurveyDate_, station, name);
  section->UseArena(pointArena_);
  crossSections_.push_back(section);
  currentCrossSection_ = std::move(section);
}

// ---------------------------------------------------------------------------
// "#P" records

void EMSurvey::DispatchProfileCenterlineRecord(std::string_view number, std::string_view value) {
  if (number == "01") {
    DeclareProfile(value);
  } else if (number == "03") {
    if (!currentProfile_) {
      Report(kErrInvalidRecord, kSeverityError, kSourceProfile,
             "Water Surface Time (#P03) specified out of order. #P03 records must be recorded after #P01 records.");
    } else {
      currentProfile_->SetWaterSurfaceTime(SurveyDatePlusTime(value, "Invalid #P03 Water Surface Time"));
    }
  } else if (number == "04") {
    if (!currentProfile_) {
      Report(kErrInvalidRecord, kSeverityError, kSourceProfile,
             "Water Surface Elevation (#P04) specified out of order. #P04 records must be recorded after #P01 "
             "records.");
    } else {
      currentProfile_->SetWaterSurfaceElevation(
          ParseNumber(*this, value, "Invalid #P04 Pro-rated Water Surface Elevation"));
    }
  } else {
    switch (ClassifyNumber(number)) {
      case NumberKind::Description: profileDescription_.Append(value, " "); break;
      case NumberKind::Reserved: break;
      case NumberKind::Invalid:
        Report(kErrInvalidRecord, kSeverityError, kSourceProfile, "Invalid survey code: #P" + std::string(number));
        break;
    }
  }
}

void EMSurvey::DeclareProfile(std::string_view value) {
  ClearDataRecords();
  const auto fields = BlankFieldSplit(value);
  if (fields.size() < 3) {
    Report(kErrInvalidDeclaration, kSeverityError, kSourceProfile,
           "Invalid #P01 Profile Declaration '" + std::string(value) + "'");
    return;
  }
  const double startX = ParseNumber(*this, fields[0], "Invalid Profile Start X");
  const double startY = ParseNumber(*this, fields[1], "Invalid Profile Start Y");
  const double station = ParseNumber(*this, fields[2], "Invalid Profile Start Station");
  const std::string name = Join(fields, 3, " ");
  auto profile = std::make_shared<EMProfileCenterline>();
  profile->SetFieldBook(TextOf(currentFieldBook_));
  profile->SetPageNumber(TextOf(currentPageNumber_));
  profile->SetSurveyDate(currentSurveyDate_);
  profile->SetBenchmark(currentBenchmark_);
  profile->SetGage(currentGage_);
  profile->Initialize(startX, startY, station, name);
  profile->UseArena(pointArena_);
  profiles_.push_back(profile);
  currentProfile_ = std::move(profile);
}

// ---------------------------------------------------------------------------
// "#M" records

void EMSurvey::DispatchMiscShotPointsRecord(std::string_view /*number*/, std::string_view value) {
  if (miscPointsAdded_) {
    miscDescription_.Clear();
    miscPointsAdded_ = false;
  }
  miscDescription_.Append(value, " ");
  miscDescriptionText_.reset();
  ClearDataRecords();
  auto shot = std::make_shared<EMMiscShotPoint>();
  shot->SetFieldBook(currentFieldBook_);
  shot->SetPageNumber(currentPageNumber_);
  shot->SetSurveyDate(currentSurveyDate_);
  shot->SetBenchmark(currentBenchmark_);
  shot->SetGage(currentGage_);
  miscTemplate_ = std::move(shot);
}

const SharedText& EMSurvey::MiscDescription() {
  if (!miscDescriptionText_) miscDescriptionText_ = MakeSharedText(miscDescription_.ToString());
  return miscDescriptionText_;
}

void EMSurvey::AddMiscShotPoint(const EMSurveyPoint& point) {
  miscTemplate_->SetPoint(point);
  miscTemplate_->SetDescription(MiscDescription());
  miscShotPoints_.push_back(miscTemplate_);
  // The next point becomes a shot point of its own with the same attributes.
  miscTemplate_ = miscTemplate_->Clone();
  miscPointsAdded_ = true;
}

// ---------------------------------------------------------------------------
// Coordinate lines

PointCodeRef EMSurvey::InternCode(std::string_view code) {
  bool created = false;
  const PointCode* entry = codes_.Intern(
      code, currentVerticalAdjustment_,
      [this](std::string_view c) {
        const std::string* description = customCodes_.Find(std::string(c));
        return description ? *description : std::string();
      },
      &created);
  if (!pointArena_) return PointCodeRef(entry);
  // Every entry of this read is made during it (the table starts empty),
  // and the read's arena keeps each: the points stored there borrow them,
  // and a point copied elsewhere counts its own.
  if (created) pointArena_->Keep(PointCodeRef(entry));
  return PointCodeRef::Borrow(entry);
}

void EMSurvey::DispatchDataLine(std::string_view line) {
  // After a malformed line the rest of its block is not read.
  if (blockAbandoned_) return;
  CoordinateValues values;
  if (ReadCoordinateLine(line, values)) AddCoordinate(values, line);
  else ReadUncommonDataLine(line);
}

void EMSurvey::ReadUncommonDataLine(std::string_view line) {
  CoordinateValues values;
  // Any other form: tabs count as blanks, a line of fewer than four
  // comma-separated values is split at blanks, and a code of several words
  // keeps one blank between them.
  if (line.find('\t') != std::string_view::npos) {
    lineScratch_.assign(line);
    for (char& c : lineScratch_)
      if (c == '\t') c = ' ';
    line = lineScratch_;
  }
  std::string_view cut[4];
  const bool blankSeparated = CutAtCommas(line, cut, values.code) < 4;
  if (blankSeparated && CutAtBlanks(line, cut, values.code) < 4) {
    Report(kErrInvalidRecord, kSeverityError, kSourceData,
           "Coordinate has less than the minimum # of attributes :" + std::string(line));
    blockAbandoned_ = true;
    return;
  }
  const auto northing = CoordinateNumber(cut[1]);
  const char* failure = nullptr;
  std::optional<double> easting, elevation;
  if (!northing) {
    failure = "Non-Numeric Northing Value in Coordinate:";
  } else if (!(easting = CoordinateNumber(cut[2]))) {
    failure = "Non-Numeric Easting Value in Coordinate:";
  } else if (!(elevation = CoordinateNumber(cut[3]))) {
    failure = "Non-Numeric Elevation Value in Coordinate:";
  }
  if (failure != nullptr) {
    Report(kErrInvalidRecord, kSeverityError, kSourceData, failure + std::string(line));
    blockAbandoned_ = true;
    return;
  }
  if (blankSeparated) {
    codeScratch_.clear();
    for (const std::string_view word : BlankFieldSplit(values.code)) {
      if (!codeScratch_.empty()) codeScratch_.push_back(' ');
      codeScratch_.append(word);
    }
    values.code = codeScratch_;
  }
  values.id = cut[0];
  values.northing = *northing;
  values.easting = *easting;
  values.elevation = *elevation;
  AddCoordinate(values, line);
}

void EMSurvey::AddCoordinate(const CoordinateValues& values, std::string_view line) {
  EMSurveyPoint point;
  point.Initialize(values.id, values.easting, values.northing, values.elevation, InternCode(values.code),
                   kUndefinedNumber, kUndefinedNumber);
  if (values.easting == kUndefinedNumber || values.northing == kUndefinedNumber ||
      values.elevation == kUndefinedNumber) {
    Report(kErrInvalidRecord, kSeverityError, kSourceData, "Non-Numeric Value in Coordinate");
    return;
  }
  RoutePoint(std::move(point), line);
}

void EMSurvey::RoutePoint(EMSurveyPoint&& point, std::string_view line) {
  if (currentCrossSection_) {
    currentCrossSection_->AddPoint(std::move(point));
    if (!crossSectionDescription_.IsEmpty()) {
      currentCrossSection_->SetDescription(crossSectionDescription_.ToString());
      crossSectionDescription_.Clear();
    }
  } else if (currentProfile_) {
    currentProfile_->AddPoint(std::move(point));
    if (!profileDescription_.IsEmpty()) {
      currentProfile_->SetDescription(profileDescription_.ToString());
      profileDescription_.Clear();
    }
  } else if (!HasCurrentArea()) {
    if (miscTemplate_) {
      AddMiscShotPoint(point);
    } else {
      Report(kErrInvalidRecord, kSeverityError, kSourceData,
             "Unexpected error, no data record available in which to put surveyed point");
    }
  } else {
    RouteAreaPoint(point, line);
  }
}

}  // namespace veldrane
