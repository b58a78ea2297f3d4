// Crew ("#C"), equipment ("#E" and "#I") and weather ("#W") records.
#include "model/constants.h"
#include "model/text.h"
#include "readers/em/em_survey.h"

namespace veldrane {
namespace {

constexpr const char* kSourceCrew = "Ordane.EMSurvey.DispatchCrewRecord";
constexpr const char* kSourceEquipment = "Ordane.EMSurvey.DispatchEquipment";
constexpr const char* kSourceWeather = "Ordane.EMSurvey.DispatchWeatherRecord";

std::string Assignment(std::string_view number) {
  if (number == "01") return "Party Chief";
  if (number == "02") return "Instrument Man";
  if (number == "03") return "Rodman";
  return "Other";
}

}  // namespace

void EMSurvey::DispatchCrewRecord(std::string_view number, std::string_view value) {
  auto member = std::make_shared<EMCrewMember>();
  member->SetName(std::string(value));
  member->SetAssignment(Assignment(number));
  // Crew members are keyed by name regardless of letter case.
  if (!crewNames_.insert(ToLowerAscii(value)).second) {
    Report(kErrInvalidRecord, kSeverityWarning, kSourceCrew, "Duplicate crew member ignored: " + std::string(value));
    return;
  }
  crew_->push_back(std::move(member));
}

void EMSurvey::DispatchEquipment(std::string_view number, std::string_view value) {
  const std::string text(TrimBlanks(value));
  if (number == "01") {
    if (currentEquipment_) CloseEquipment(true);
    currentEquipment_ = std::make_shared<EMEquipment>();
    currentEquipment_->SetInstrument(text);
    return;
  }
  if (!currentEquipment_) {
    Report(kErrInvalidRecord, kSeverityError, kSourceEquipment, "No Equipment initializer record (#E01) found");
    return;
  }
  if (number == "02") {
    currentEquipment_->SetSerialNumber(text);
  } else if (number == "03") {
    currentEquipment_->SetModel(text);
  } else if (const auto n = ToNumber(number)) {
    if (*n >= 10) equipmentDescription_.append(value).append(" ");
    else Report(kErrInvalidRecord, kSeverityWarning, kSourceEquipment, "Unrecognized Equipment Record");
  } else {
    Report(kErrInvalidRecord, kSeverityError, kSourceEquipment, "Invalid survey code: #E" + std::string(number));
  }
}

// The description keeps the blank that follows every note, as the notes
// were accumulated.
void EMSurvey::CloseEquipment(bool clearDescription) {
  currentEquipment_->SetDescription(equipmentDescription_);
  if (clearDescription) equipmentDescription_.clear();
  AddNoDuplicate(*equipment_, equipmentKeys_, currentEquipment_, "Duplicate equipment ignored");
  currentEquipment_.reset();
}

void EMSurvey::DispatchWeatherRecord(std::string_view number, std::string_view value) {
  lastWeatherLine_ = lineNumber_;
  if (!currentWeather_) {
    currentWeather_ = std::make_shared<EMWeather>();
    currentWeather_->SetTimeStamp(currentSurveyDate_);
    currentWeather_->SetFieldBook(TextOf(currentFieldBook_));
    currentWeather_->SetPageNumber(TextOf(currentPageNumber_));
  }
  std::string text(value);
  EMWeather& w = *currentWeather_;
  if (number == "01") w.SetTemperature(std::move(text));
  else if (number == "02") w.SetPressure(std::move(text));
  else if (number == "03") w.SetHumidity(std::move(text));
  else if (number == "04") w.SetCloudConditions(std::move(text));
  else if (number == "05") w.SetWindSpeed(std::move(text));
  else if (number == "06") w.SetWindDirection(std::move(text));
  else Report(kErrInvalidRecord, kSeverityWarning, kSourceWeather, "Unrecognized Record");
}

void EMSurvey::CloseWeatherAtNewDate() {
  // An observation without any value stays open for the next date.
  if (!currentWeather_ || currentWeather_->IsUndefined()) return;
  AddNoDuplicate(*weather_, weatherKeys_, currentWeather_,
                 "Duplicate weather observation from line " + std::to_string(lastWeatherLine_) + " ignored.");
  currentWeather_.reset();
}

}  // namespace veldrane
