#include "readers/survey_file_utils.h"

#include <exception>

#include "config/error_log.h"
#include "config/file_system.h"
#include "config/module_context.h"
#include "model/error_propagation.h"
#include "model/constants.h"
#include "model/survey_error.h"
#include "model/text.h"
#include "readers/survey_factory.h"

namespace veldrane {

namespace {
// The file's fresh errors replace whatever the log listed for it before.
void RefreshErrorLog(const std::string& path, const std::shared_ptr<ISurveyErrorQueue>& errors) {
  auto& log = ErrorLog();
  log.RemoveSurveyFileFromErrorTreeGUI(path);
  if (errors) log.PullErrors(*errors);
}
}  // namespace

std::shared_ptr<ISurvey> GetSurveyFile(const std::string& path) {
  SetCurrentSurveyFile(path);
  auto survey = std::dynamic_pointer_cast<ISurvey>(OpenSurveyFile(path));
  if (!survey)
    throw RaisedError(kErrUnexpected, "Ordane.SurveyFileUtils.GetSurveyFile", path + " does not hold a survey");
  RefreshErrorLog(path, survey->Errors());
  return survey;
}

std::shared_ptr<ITraverse> GetTraverseFile(const std::string& path) {
  try {
    SetCurrentSurveyFile(path);
    auto traverse = OpenTraverseFile(path);
    if (!traverse) return nullptr;
    RefreshErrorLog(path, traverse->Errors());
    return traverse;
  } catch (const std::exception& failure) {
    ReportProcedureError(true, ProcedureWhere("GetTraverseFile", "survey_file_utils.cpp"), failure);
    return nullptr;
  }
}

bool IsValidSurveyMetadataFile(const std::string& path) {
  try {
    if (path.size() < 4 || !EndsWithIgnoreCase(path, ".xml")) return false;
    return FileExists(path) && FileExists(path.substr(0, path.size() - 4));
  } catch (const std::exception& failure) {
    ReportProcedureError(true, ProcedureWhere("IsValidSurveyMetadataFile", "survey_file_utils.cpp"), failure);
    return false;
  }
}

}  // namespace veldrane
