#pragma once
// The reader of EM survey files (".em", ".cl"): "#" records and blocks of
// coordinate lines, read in one pass into the survey object model. The
// reader is also the monitor that its value objects and field parsers
// report through; every problem becomes a record in the survey's error
// queue and reading goes on.
//
// Record families and where they are handled:
//   em_survey.cpp           framing, routing, header records, end of read
//   em_survey_features.cpp  "#X", "#P", "#M" records and coordinate lines
//   em_survey_control.cpp   "#V", "#T" benchmarks and "#G" gage readings
//   em_survey_crew.cpp      "#C" crew, "#E"/"#I" equipment, "#W" weather
//   em_survey_hooks.cpp     "#A" survey areas and "#B" baseline records
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "config/code_dictionary.h"
#include "config/ordered_map.h"
#include "model/date_time.h"
#include "model/features.h"
#include "model/string_builder.h"
#include "model/survey_error.h"
#include "readers/em/em_compact_text.h"
#include "readers/em/em_crew_member.h"
#include "readers/em/em_cross_section.h"
#include "readers/em/em_equipment.h"
#include "readers/em/em_error_queue.h"
#include "readers/em/em_gage.h"
#include "readers/em/em_line_batches.h"
#include "readers/em/em_misc_shot_point.h"
#include "readers/em/em_point_arena.h"
#include "readers/em/em_profile_centerline.h"
#include "readers/em/em_survey_point.h"
#include "readers/em/em_vertical_control.h"
#include "readers/em/em_weather.h"

namespace veldrane {

// A point of the survey's baseline as a "#B" record gives it.
struct BaselinePointRecord {
  double easting = 0;
  double northing = 0;
  double station = 0;
  std::string name;
};

class EMSurvey : public ISurvey, public IMonitor {
 public:
  EMSurvey();
  ~EMSurvey() override;
  EMSurvey(const EMSurvey&) = delete;
  EMSurvey& operator=(const EMSurvey&) = delete;

  // Resets, loads the CODES.DAT of the file's folder, reads the file and
  // closes it. A file that cannot be opened leaves an empty survey with one
  // error record.
  void OpenSurvey(const std::string& path);
  // Closes any open file and forgets everything read.
  void Reset();
  // Reads and routes every record, then runs the end-of-read steps.
  void Update();
  void CloseSurvey();

  // Routes one "#" record, or a block of coordinate lines (text that does
  // not start with "#", one line per line break).
  void DispatchRecord(std::string_view record);
  void DispatchHeaderRecord(std::string_view number, std::string_view value);
  void DispatchCrossSectionRecord(std::string_view number, std::string_view value);
  void DispatchProfileCenterlineRecord(std::string_view number, std::string_view value);
  void DispatchMiscShotPointsRecord(std::string_view number, std::string_view value);
  void DispatchPermanentBenchmarkRecord(std::string_view number, std::string_view value);
  void DispatchTemporaryBenchmarkRecord(std::string_view number, std::string_view value);
  void DispatchGageRecord(std::string_view number, std::string_view value);
  void DispatchCrewRecord(std::string_view number, std::string_view value);
  void DispatchEquipment(std::string_view number, std::string_view value);
  void DispatchWeatherRecord(std::string_view number, std::string_view value);
  void DispatchArea(std::string_view number, std::string_view value);
  void DispatchBaselineRecord(std::string_view number, std::string_view value);
  // Closes the feature being filled (before each feature declaration and at
  // the end of the read), removing it when it has too few points.
  void ClearDataRecords();

  const std::vector<BaselinePointRecord>& BaselinePoints() const { return baselinePoints_; }
  // Stores each cross section's crossing with the baseline and its points'
  // offsets from it; a section that does not meet the baseline is reported
  // (severity 0, line -1). Run at the end of a read when the survey names a
  // usable baseline.
  void UpdateCrossSections(const std::shared_ptr<ITraverse>& baseline);

  // ISurvey
  std::string JobNumber() override { return jobNumber_; }
  std::string Title() override { return title_.ToString(); }
  std::string Comments() override { return comments_.ToString(); }
  std::string OriginalFileName() override { return originalFileName_; }
  std::string Contractor() override { return contractor_; }
  std::string HorizontalDatum() override { return horizontalDatum_; }
  std::string VerticalDatum() override { return verticalDatum_; }
  std::string Epoch() override { return epoch_; }
  std::string Location() override { return location_; }
  std::string SurveyOrder() override { return surveyOrder_; }
  std::shared_ptr<ICrossSectionIterator> CrossSections() override;
  std::shared_ptr<IProfileCenterlineIterator> ProfileCenterlines() override;
  DateTime SurveyDate() override { return surveyStartDate_; }
  DateTime SurveyStartDate() override { return surveyStartDate_; }
  DateTime SurveyEndDate() override { return surveyEndDate_; }
  std::shared_ptr<IMiscShotPointIterator> MiscShotPoints() override;
  std::shared_ptr<ISurveyAreaIterator> Areas() override;
  std::string Units() override { return units_; }
  std::string Projection() override { return projection_; }
  std::shared_ptr<IVerticalControlIterator> VerticalControls() override;
  std::shared_ptr<IGageIterator> Gages() override;
  std::shared_ptr<ISurveyErrorQueue> Errors() override { return queue_; }
  std::string FieldBook() override { return fieldBook_; }
  std::string PageNumber() override { return pageNumber_; }
  std::shared_ptr<ICrewMemberIterator> CrewMembers() override;
  std::shared_ptr<IEquipmentIterator> Equipment() override;
  std::shared_ptr<IWeatherIterator> Weather() override;
  std::shared_ptr<ITraverse> Baseline() override;
  std::string BaselineFileName() override;
  double CombinedScaleFactor() override { return combinedScaleFactor_; }
  std::string version() override { return version_; }
  std::string HorizontalEpoch() override { return horizontalEpoch_; }
  std::string HorizontalAccuracyClass() override { return horizontalAccuracyClass_; }
  double VerticalAccuracy() override { return verticalAccuracy_; }
  std::string ParishName() override { return parishName_; }
  std::string ContractNumber() override { return contractNumber_; }
  double HorizontalAccuracy() override { return horizontalAccuracy_; }
  std::string VerticalAccuracyClass() override { return surveyOrder_; }
  std::string QuadName() override { return quadName_; }
  std::string GetCustomCode(const std::string& code) override;
  bool HasCustomCode(const std::string& code) override;

  // IMonitor
  std::string Filename() const override { return filename_; }
  std::int32_t LineNumber() const override { return lineNumber_; }
  void SetLineNumber(std::int32_t line) override { lineNumber_ = line; }
  void AppendError(const std::string& description) override;
  std::shared_ptr<ISurveyErrorQueue> errorQueue() override { return queue_; }

 private:
  template <class T>
  using SharedList = std::shared_ptr<std::vector<std::shared_ptr<T>>>;

  // Framing (em_survey.cpp).
  void ReadAllLines();
  void BeginBlock();
  void EndBlock(std::int32_t lastLineOfBlock);
  void DispatchBlockText(std::string_view block);
  // Queues a record with the reader's file name and the current line (or
  // -1); a severity-2 record raises.
  void Report(std::int32_t number, std::int32_t severity, const char* source, const std::string& description,
              bool withLine = true);
  // Appends `item` unless an equal one (by the item's Equals) is listed;
  // then `message` is queued with severity 0 unless `quiet`. `keys` holds
  // the equality keys of the listed items, so a file with many entries is
  // not compared item by item.
  template <class T>
  void AddNoDuplicate(std::vector<std::shared_ptr<T>>& list, std::unordered_set<std::string>& keys,
                      const std::shared_ptr<T>& item, const std::string& message, bool quiet = false);
  void FinishRead();

  // Features and coordinate lines (em_survey_features.cpp).
  void DeclareCrossSection(std::string_view value);
  void DeclareProfile(std::string_view value);
  void DispatchDataLine(std::string_view line);
  // A data line that is not a coordinate line in the common comma or blank
  // form: tabs, fewer values, numbers that do not read, codes with runs of
  // blanks. Reported when it is no coordinate line at all.
  void ReadUncommonDataLine(std::string_view line);
  // A coordinate line whose values are read: the point goes to the open
  // feature. `line` is the whole line, for messages.
  void AddCoordinate(const CoordinateValues& values, std::string_view line);
  void RoutePoint(EMSurveyPoint&& point, std::string_view line);
  void AddMiscShotPoint(const EMSurveyPoint& point);
  const SharedText& MiscDescription();
  // The code with the vertical adjustment now in force.
  PointCodeRef InternCode(std::string_view code);
  DateTime SurveyDatePlusTime(std::string_view value, const char* label);

  // Benchmarks and gages (em_survey_control.cpp).
  void CreateBenchmark(std::string_view name, bool permanent);
  void ApplyBenchmarkRecord(std::string_view number, std::string_view value, bool permanent);
  void CompleteGageReading(std::string_view value);
  std::string GageKey(EMGage& gage) const;
  void CheckPendingGage();

  // Crew, equipment, weather (em_survey_crew.cpp).
  void CloseEquipment(bool clearDescription);
  void CloseWeatherAtNewDate();

  // Areas and baseline (em_survey_hooks.cpp).
  bool HasCurrentArea() const { return currentArea_ != nullptr; }
  void RouteAreaPoint(const EMSurveyPoint& point, std::string_view line);
  void ClearAreaRecord();
  std::shared_ptr<ITraverse> OpenBaselineTraverse(const std::string& path);
  // End-of-read steps that use the baseline: cross-section intersections and
  // offsets, then profile stationing.
  void ApplyBaseline();


  // Reading.
  std::string filename_;
  EMLineBatches source_;
  std::int32_t lineNumber_ = 0;
  std::shared_ptr<EMErrorQueue> queue_;
  bool blockAbandoned_ = false;
  std::string lineScratch_, codeScratch_, recordScratch_;
  // Where the points of this read's features are stored (see EMPointArena).
  std::shared_ptr<EMPointArena> pointArena_;

  // Header values.
  std::string version_ = "EM06";
  std::string jobNumber_, originalFileName_, contractor_, horizontalDatum_, verticalDatum_, epoch_, location_,
      surveyOrder_, units_, projection_, fieldBook_, pageNumber_, horizontalEpoch_, horizontalAccuracyClass_,
      parishName_, contractNumber_, quadName_;
  double verticalAccuracy_ = kUndefinedNumber;
  double horizontalAccuracy_ = kUndefinedNumber;
  double combinedScaleFactor_ = 0;
  DateTime surveyStartDate_ = DateTime::Undefined();
  DateTime surveyEndDate_ = DateTime::Undefined();
  StringBuilder title_, comments_;

  // Values later records copy.
  DateTime currentSurveyDate_ = DateTime::Undefined();
  SharedText currentFieldBook_, currentPageNumber_;
  double currentVerticalAdjustment_ = 0;
  std::int32_t lastWeatherLine_ = 0;

  // Features being filled.
  std::shared_ptr<EMCrossSection> currentCrossSection_;
  std::shared_ptr<EMProfileCenterline> currentProfile_;
  std::shared_ptr<EMMiscShotPoint> miscTemplate_;
  std::shared_ptr<ISurveyArea> currentArea_;
  // Set when the open area's current hole (island) was rejected: its further
  // points are skipped until the next "#A02" ("#A02" or "#A03").
  bool holeRejected_ = false, islandRejected_ = false;
  StringBuilder crossSectionDescription_, profileDescription_, miscDescription_;
  SharedText miscDescriptionText_;  // miscDescription_ as text, made once per "#M"
  bool miscPointsAdded_ = false;

  std::shared_ptr<EMVerticalControl> currentBenchmark_;
  std::shared_ptr<EMGage> currentGage_;
  std::string currentGageCode_;
  std::shared_ptr<EMWeather> currentWeather_;
  std::shared_ptr<EMEquipment> currentEquipment_;
  std::string equipmentDescription_;

  // Collections.
  std::vector<std::shared_ptr<EMCrossSection>> crossSections_;
  std::vector<std::shared_ptr<EMMiscShotPoint>> miscShotPoints_;
  std::vector<std::shared_ptr<EMProfileCenterline>> profiles_;
  std::vector<std::shared_ptr<ISurveyArea>> areas_;
  SharedList<EMCrewMember> crew_;
  std::unordered_set<std::string> crewNames_;  // lower-case keys of crew_
  SharedList<EMEquipment> equipment_;
  SharedList<EMWeather> weather_;
  std::unordered_set<std::string> equipmentKeys_, weatherKeys_;
  std::vector<BaselinePointRecord> baselinePoints_;
  OrderedMap<std::shared_ptr<EMVerticalControl>> benchmarks_;
  OrderedMap<std::shared_ptr<EMGage>> gages_;
  CodeDictionary customCodes_;
  PointCodeTable codes_;
  std::string baselineName_;
};

}  // namespace veldrane
