#include "config/survey_file_utils.h"

#include <exception>

#include "config/file_system.h"
#include "model/error_propagation.h"
#include "model/text.h"

namespace veldrane {

namespace {
thread_local std::string tCurrentSurveyFile;
}  // namespace

const std::string& CurrentSurveyFile() { return tCurrentSurveyFile; }

void SetCurrentSurveyFile(std::string path) { tCurrentSurveyFile = std::move(path); }

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
