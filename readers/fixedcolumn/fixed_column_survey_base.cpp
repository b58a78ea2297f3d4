#include "readers/fixedcolumn/fixed_column_survey_base.h"

#include "config/file_access.h"
#include "model/iterators.h"

namespace veldrane {

FixedColumnSurveyBase::FixedColumnSurveyBase(HeaderRecords::ShortT04 shortT04)
    : headers_(shortT04), codes_(std::make_shared<InternedCodeTable>()) {}

std::shared_ptr<ICrossSectionIterator> FixedColumnSurveyBase::CrossSections() {
  return std::make_shared<ListIterator<ICrossSectionIterator, ICrossSection>>();
}

std::shared_ptr<IProfileCenterlineIterator> FixedColumnSurveyBase::ProfileCenterlines() {
  return std::make_shared<ListIterator<IProfileCenterlineIterator, IProfileCenterline>>();
}

std::shared_ptr<IMiscShotPointIterator> FixedColumnSurveyBase::MiscShotPoints() {
  return std::make_shared<ListIterator<IMiscShotPointIterator, IMiscShotPoint>>();
}

std::shared_ptr<ISurveyAreaIterator> FixedColumnSurveyBase::Areas() {
  return std::make_shared<ListIterator<ISurveyAreaIterator, ISurveyArea>>();
}

std::shared_ptr<IVerticalControlIterator> FixedColumnSurveyBase::VerticalControls() {
  return std::make_shared<ListIterator<IVerticalControlIterator, IVerticalControl, 1>>();
}

std::shared_ptr<IGageIterator> FixedColumnSurveyBase::Gages() {
  return std::make_shared<ListIterator<IGageIterator, IGage, 1>>();
}

std::shared_ptr<ICrewMemberIterator> FixedColumnSurveyBase::CrewMembers() {
  return std::make_shared<ListIterator<ICrewMemberIterator, ICrewMember>>();
}

std::shared_ptr<IEquipmentIterator> FixedColumnSurveyBase::Equipment() {
  return std::make_shared<ListIterator<IEquipmentIterator, IEquipment>>();
}

std::shared_ptr<IWeatherIterator> FixedColumnSurveyBase::Weather() {
  return std::make_shared<ListIterator<IWeatherIterator, IWeather>>();
}

std::string FixedColumnSurveyBase::GetCustomCode(const std::string& code) {
  const std::string* description = codes_->Dictionary().Find(code);
  return description ? *description : std::string();
}

void FixedColumnSurveyBase::AppendError(const std::string& description) {
  errors_->Push(std::make_shared<GenericSurveyError>(fileName_, lineNumber_, description, kSeverityError));
}

void FixedColumnSurveyBase::AppendWarning(const std::string& source, const std::string& description) {
  PropogateError(*errors_, fileName_, 0, kSeverityWarning, source, lineNumber_, description);
}

bool FixedColumnSurveyBase::BeginRead(const std::string& fileName, ChunkedLineReader& lines) {
  fileName_ = fileName;
  lineNumber_ = 0;
  if (const std::string failure = LoadCodeDictionary(fileName, codes_->Dictionary()); !failure.empty())
    AppendError(failure);
  if (lines.Open(fileName)) return true;
  AppendError("Unable to open survey file : " + fileName + " (" + CurrentFileAccess().WhyNotReadable(fileName) + ")");
  return false;
}

void FixedColumnSurveyBase::EndRead(const ChunkedLineReader& lines) {
  if (!lines.ReadFailure().empty()) AppendError(lines.ReadFailure());
}

}  // namespace veldrane
