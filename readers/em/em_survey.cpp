#include "readers/em/em_survey.h"

#include <exception>

#include "config/code_dictionary.h"
#include "config/file_access.h"
#include "model/constants.h"
#include "model/field_parsing.h"
#include "model/text.h"

namespace veldrane {
namespace {

constexpr const char* kSourceUpdate = "Ordane.EMSurvey.Update";
constexpr const char* kSourceOpen = "Ordane.EMSurvey.OpenSurvey";
constexpr const char* kSourceHeader = "Ordane.EMSurvey.DispatchHeaderRecord";
constexpr const char* kSourceClear = "Ordane.EMSurvey.ClearDataRecords";

}  // namespace

EMSurvey::EMSurvey() { Reset(); }

EMSurvey::~EMSurvey() { CloseSurvey(); }

void EMSurvey::Reset() {
  CloseSurvey();
  filename_.clear();
  lineNumber_ = 0;
  queue_ = std::make_shared<EMErrorQueue>();
  blockAbandoned_ = false;

  version_ = "EM06";
  for (std::string* s : {&jobNumber_, &originalFileName_, &contractor_, &horizontalDatum_, &verticalDatum_, &epoch_,
                         &location_, &surveyOrder_, &units_, &projection_, &fieldBook_, &pageNumber_,
                         &horizontalEpoch_, &horizontalAccuracyClass_, &parishName_, &contractNumber_, &quadName_})
    s->clear();
  verticalAccuracy_ = kUndefinedNumber;
  horizontalAccuracy_ = kUndefinedNumber;
  combinedScaleFactor_ = 0;
  surveyStartDate_ = DateTime::Undefined();
  surveyEndDate_ = DateTime::Undefined();
  title_ = StringBuilder();
  comments_ = StringBuilder();

  currentSurveyDate_ = DateTime::Undefined();
  currentFieldBook_ = MakeSharedText("");
  currentPageNumber_ = currentFieldBook_;
  currentVerticalAdjustment_ = 0;
  lastWeatherLine_ = 0;

  currentCrossSection_.reset();
  currentProfile_.reset();
  miscTemplate_.reset();
  currentArea_.reset();
  crossSectionDescription_ = StringBuilder();
  profileDescription_ = StringBuilder();
  miscDescription_ = StringBuilder();
  miscDescriptionText_.reset();
  miscPointsAdded_ = false;

  currentBenchmark_.reset();
  currentGage_.reset();
  currentGageCode_.clear();
  currentWeather_.reset();
  currentEquipment_.reset();
  equipmentDescription_.clear();

  // New collections: iterators handed out before keep the old ones.
  crossSections_ = {};
  miscShotPoints_ = {};
  profiles_ = {};
  areas_ = {};
  crew_ = std::make_shared<std::vector<std::shared_ptr<EMCrewMember>>>();
  crewNames_.clear();
  equipment_ = std::make_shared<std::vector<std::shared_ptr<EMEquipment>>>();
  weather_ = std::make_shared<std::vector<std::shared_ptr<EMWeather>>>();
  equipmentKeys_.clear();
  weatherKeys_.clear();
  baselinePoints_ = {};
  benchmarks_.Clear();
  gages_.Clear();
  customCodes_.Clear();
  codes_.Clear();
  baselineName_.clear();
}

void EMSurvey::OpenSurvey(const std::string& path) {
  Reset();
  filename_ = path;
  if (const std::string failure = LoadCodeDictionary(path, customCodes_); !failure.empty())
    Report(kErrUnexpected, kSeverityError, kSourceOpen, failure, false);
  if (!source_.OpenFile(path)) {
    Report(kErrUnexpected, kSeverityError, kSourceOpen,
           "Unable to open survey file : " + path + " (" + CurrentFileAccess().WhyNotReadable(path) + ")", false);
    return;
  }
  Update();
  CloseSurvey();
}

void EMSurvey::CloseSurvey() {
  if (source_.IsOpen()) source_.Close();
}

void EMSurvey::Report(std::int32_t number, std::int32_t severity, const char* source,
                      const std::string& description, bool withLine) {
  PropogateError(*queue_, filename_, number, severity, source, withLine ? lineNumber_ : -1, description);
}

void EMSurvey::AppendError(const std::string& description) {
  queue_->Push(std::make_shared<GenericSurveyError>(filename_, lineNumber_, description, kSeverityError));
}

template <class T>
void EMSurvey::AddNoDuplicate(std::vector<std::shared_ptr<T>>& list, std::unordered_set<std::string>& keys,
                              const std::shared_ptr<T>& item, const std::string& message, bool quiet) {
  if (!keys.insert(item->EqualityKey()).second) {
    if (!quiet) Report(kErrInvalidRecord, kSeverityWarning, "Ordane.EMSurvey.AddNoDuplicate", message);
    return;
  }
  list.push_back(item);
}
template void EMSurvey::AddNoDuplicate(std::vector<std::shared_ptr<EMWeather>>&, std::unordered_set<std::string>&,
                                       const std::shared_ptr<EMWeather>&, const std::string&, bool);
template void EMSurvey::AddNoDuplicate(std::vector<std::shared_ptr<EMEquipment>>&, std::unordered_set<std::string>&,
                                       const std::shared_ptr<EMEquipment>&, const std::string&, bool);

// ---------------------------------------------------------------------------
// Reading

void EMSurvey::Update() {
  // A fresh arena per read: features of an earlier read keep theirs alive.
  pointArena_ = std::make_shared<EMPointArena>();
  pointArena_->WarmAhead(true);
  codes_.Clear();  // the entries of this read are kept by its arena
  try {
    ReadAllLines();
    FinishRead();
  } catch (const std::exception& failure) {
    // What was read so far stays; the end-of-read steps do not run.
    if (queue_->InBlock()) queue_->EndBlock(lineNumber_);
    Report(kErrUnexpected, kSeverityError, kSourceUpdate, failure.what(), false);
  }
  pointArena_->WarmAhead(false);
  pointArena_.reset();
}

void EMSurvey::ReadAllLines() {
  while (const EMLineBatch* batch = source_.Next()) {
    for (const EMPreparedLine& line : batch->lines) {
      lineNumber_ = line.number;
      const std::string_view text = line.text;
      // Blank lines and ";" comments count as lines but are not records; they
      // do not end a block of coordinates either.
      if (text.empty() || text.front() == ';') continue;
      if (text.front() == '#') {
        // The block before this record ended on the line before it.
        if (queue_->InBlock()) EndBlock(lineNumber_ - 1);
        DispatchRecord(text);
        continue;
      }
      if (!queue_->InBlock()) BeginBlock();
      // After a malformed line the rest of its block is not read.
      if (blockAbandoned_) continue;
      // A line the batch could not read in the common forms is read here.
      if (line.isCoordinate) AddCoordinate(line.coordinate, text);
      else ReadUncommonDataLine(text);
    }
  }
  if (queue_->InBlock()) EndBlock(lineNumber_);
}

void EMSurvey::BeginBlock() {
  queue_->BeginBlock();
  blockAbandoned_ = false;
}

void EMSurvey::EndBlock(std::int32_t lastLineOfBlock) { queue_->EndBlock(lastLineOfBlock); }

void EMSurvey::FinishRead() {
  if (currentBenchmark_) {
    if (!benchmarks_.Contains(currentBenchmark_->Name()))
      benchmarks_.Add(currentBenchmark_->Name(), currentBenchmark_);
    currentBenchmark_.reset();
  }
  if (currentWeather_) {
    currentWeather_->SetTimeStamp(currentSurveyDate_);
    AddNoDuplicate(*weather_, weatherKeys_, currentWeather_, "Duplicate weather observation ignored");
    currentWeather_.reset();
  }
  if (currentEquipment_) CloseEquipment(false);
  surveyEndDate_ = currentSurveyDate_;
  ApplyBaseline();
  ClearDataRecords();
}

void EMSurvey::DispatchRecord(std::string_view record) {
  if (record.empty()) return;
  if (record.front() != '#') {
    DispatchBlockText(record);
    return;
  }
  recordScratch_.assign(record);
  for (char& c : recordScratch_)
    if (c == '\t') c = ' ';
  const std::string_view text = recordScratch_;
  const std::string code = ToUpperAscii(text.substr(0, 2));
  // A record shorter than its code ("#", "#H") has no number.
  const std::string number(text.size() > 2 ? text.substr(2, 2) : std::string_view());
  std::string value;
  if (const auto blank = text.find(' '); blank != std::string_view::npos) value = TrimBlanks(text.substr(blank + 1));

  if (code == "#H") DispatchHeaderRecord(number, value);
  else if (code == "#V") DispatchPermanentBenchmarkRecord(number, value);
  else if (code == "#T") DispatchTemporaryBenchmarkRecord(number, value);
  else if (code == "#G") DispatchGageRecord(number, value);
  else if (code == "#B") DispatchBaselineRecord(number, value);
  else if (code == "#X") DispatchCrossSectionRecord(number, value);
  else if (code == "#M") DispatchMiscShotPointsRecord(number, value);
  else if (code == "#P") DispatchProfileCenterlineRecord(number, value);
  else if (code == "#W") DispatchWeatherRecord(number, value);
  else if (code == "#C") DispatchCrewRecord(number, value);
  else if (code == "#E" || code == "#I") DispatchEquipment(number, value);
  else if (code == "#A") DispatchArea(number, value);
  // Any other code is not part of the format: skipped without a message.
}

void EMSurvey::DispatchBlockText(std::string_view block) {
  // A block handed over as text: its lines share the current line number.
  const bool ownBlock = !queue_->InBlock();
  if (ownBlock) BeginBlock();
  std::size_t start = 0;
  while (start < block.size()) {
    std::size_t end = block.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = block.size();
    const std::string_view text = TrimBlanks(block.substr(start, end - start));
    if (!text.empty() && text.front() != ';') DispatchDataLine(text);
    start = end + 1;
  }
  if (ownBlock) EndBlock(lineNumber_);
}

// ---------------------------------------------------------------------------
// Header records

void EMSurvey::DispatchHeaderRecord(std::string_view number, std::string_view value) {
  const std::string v(value);
  if (number == "00") {
    if (value == "EM09" || value == "EM06") {
      version_ = v;
    } else {
      version_ = "INVALID_EM_VERSION";
      Report(kErrInvalidDeclaration, kSeverityError, kSourceHeader, "Invalid File Format Version : " + v);
    }
  } else if (number == "01") {
    originalFileName_ = v;
  } else if (number == "02") {
    currentSurveyDate_ = ParseDate(*this, value, "Invalid #H02 Record");
    if (surveyStartDate_ == DateTime::Undefined()) surveyStartDate_ = currentSurveyDate_;
    CloseWeatherAtNewDate();
  } else if (number == "03") {
    if (value.substr(0, 2) == "+-") verticalAccuracy_ = ParseNumber(*this, value.substr(2), "Invalid #H03 record");
    else surveyOrder_ = v;
  } else if (number == "04") {
    horizontalDatum_ = v;
  } else if (number == "05") {
    jobNumber_ = v;
  } else if (number == "06") {
    units_ = v;
  } else if (number == "07") {
    projection_ = v;
  } else if (number == "08") {
    location_ = v;
  } else if (number == "09") {
    contractor_ = v;
  } else if (number == "10") {
    currentFieldBook_ = MakeSharedText(v);
    if (fieldBook_.empty()) fieldBook_ = v;
  } else if (number == "11") {
    currentPageNumber_ = MakeSharedText(v);
    if (pageNumber_.empty()) pageNumber_ = v;
  } else if (number == "12") {
    combinedScaleFactor_ = ParseNumber(*this, value, "Invalid #H12 record");
  } else if (number == "13") {
    parishName_ = v;
  } else if (number == "14") {
    quadName_ = v;
  } else if (number == "15") {
    contractNumber_ = v;
  } else if (number == "16") {
    horizontalEpoch_ = v;
  } else if (number == "17") {
    if (value.substr(0, 2) == "+-") horizontalAccuracy_ = ParseNumber(*this, value.substr(2), "Invalid #H17 record");
    else horizontalAccuracyClass_ = v;
  } else if (number == "18" || number == "19") {
    // Reserved header numbers: nothing to keep.
  } else if (!number.empty() && number.front() == '2') {
    title_.Append(value, " ");
  } else {
    comments_.Append(value, " ");
  }
}

// ---------------------------------------------------------------------------
// Closing the feature being filled

void EMSurvey::ClearDataRecords() {
  CheckPendingGage();
  if (currentCrossSection_ && currentCrossSection_->PointCount() < 2) {
    if (!crossSections_.empty()) crossSections_.pop_back();
    Report(kErrInvalidRecord, kSeverityError, kSourceClear, "Prior Cross-section must have at least two points.");
  }
  if (currentProfile_ && currentProfile_->PointCount() < 2) {
    if (!profiles_.empty()) profiles_.pop_back();
    Report(kErrInvalidRecord, kSeverityError, kSourceClear, "Prior Profile must have at least two points.");
  }
  ClearAreaRecord();
  currentCrossSection_.reset();
  currentProfile_.reset();
  currentArea_.reset();
}

void EMSurvey::CheckPendingGage() {
  if (!currentGage_) return;
  if (currentGage_->MeasurementDate() == DateTime::Undefined() ||
      currentGage_->WaterSurfaceElevation() == kUndefinedNumber) {
    Report(kErrInvalidRecord, kSeverityError, kSourceClear,
           "Invalid gage record: a gage must define its water surface elevation (#G03) and its time (#G04) "
           "before the declaration of a feature record (#X01, #P01, #M01 or #A01).");
  }
}

// ---------------------------------------------------------------------------
// Collections

std::shared_ptr<ICrossSectionIterator> EMSurvey::CrossSections() {
  auto it = std::make_shared<EMCrossSectionIterator>();
  it->InitCrossSections(crossSections_);
  return it;
}

std::shared_ptr<IProfileCenterlineIterator> EMSurvey::ProfileCenterlines() {
  auto it = std::make_shared<EMProfileCenterlineIterator>();
  it->InitProfile(profiles_);
  return it;
}

std::shared_ptr<IMiscShotPointIterator> EMSurvey::MiscShotPoints() {
  auto it = std::make_shared<EMMiscShotPointIterator>();
  it->InitShotPoints(miscShotPoints_);
  return it;
}

std::shared_ptr<IVerticalControlIterator> EMSurvey::VerticalControls() {
  auto it = std::make_shared<EMVerticalControlIterator>();
  it->InitVerticalControls(benchmarks_);
  return it;
}

std::shared_ptr<IGageIterator> EMSurvey::Gages() {
  std::vector<std::shared_ptr<EMGage>> list;
  list.reserve(gages_.Size());
  for (const auto& entry : gages_.Entries()) list.push_back(entry.second);
  auto it = std::make_shared<EMGageIterator>();
  it->InitGages(list);
  return it;
}

std::shared_ptr<ICrewMemberIterator> EMSurvey::CrewMembers() {
  auto it = std::make_shared<CrewMemberIterator>();
  it->Init(crew_);
  return it;
}

std::shared_ptr<IEquipmentIterator> EMSurvey::Equipment() {
  auto it = std::make_shared<EquipmentIterator>();
  it->Init(equipment_);
  return it;
}

std::shared_ptr<IWeatherIterator> EMSurvey::Weather() {
  auto it = std::make_shared<WeatherIterator>();
  it->Init(weather_);
  return it;
}

std::string EMSurvey::GetCustomCode(const std::string& code) {
  const std::string* description = customCodes_.Find(code);
  return description ? *description : std::string();
}

bool EMSurvey::HasCustomCode(const std::string& code) { return customCodes_.Contains(code); }

}  // namespace veldrane
