#include "plugin/survey_source.h"

#include "config/coordinate_system_domain.h"
#include "config/error_log.h"
#include "config/survey_file_utils.h"
#include "model/error_propagation.h"
#include "readers/survey_factory.h"

namespace veldrane {
namespace {

// The file becomes the current survey file; its old entries in the error log
// make way for the errors of this read.
template <class Result>
std::shared_ptr<Result> ReadForHost(const std::string& path, std::shared_ptr<Result> (*open)(const std::string&)) {
  SetCurrentSurveyFile(path);
  std::shared_ptr<Result> result = open(path);
  ErrorLog().RemoveSurveyFileFromErrorTreeGUI(path);
  if (result) {
    if (const std::shared_ptr<ISurveyErrorQueue> errors = result->Errors()) ErrorLog().PullErrors(*errors);
  }
  return result;
}

std::shared_ptr<ISurvey> OpenAsSurvey(const std::string& path) {
  return std::dynamic_pointer_cast<ISurvey>(OpenSurveyFile(path));
}

std::shared_ptr<ISurvey> ReadSurvey(const std::string& path) { return ReadForHost<ISurvey>(path, OpenAsSurvey); }

// Unlike a survey, a traverse that cannot be read is reported here and
// yields nothing.
std::shared_ptr<ITraverse> ReadTraverse(const std::string& path) {
  try {
    return ReadForHost<ITraverse>(path, OpenTraverseFile);
  } catch (const std::exception& failure) {
    ReportProcedureError(true, ProcedureWhere("GetTraverseFile", "survey_source.cpp"), failure);
    return nullptr;
  }
}

}  // namespace

SurveySource DefaultSurveySource() { return SurveySource{ReadSurvey, ReadTraverse, CheckCoordinateSystem}; }

}  // namespace veldrane
