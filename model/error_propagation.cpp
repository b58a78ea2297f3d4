#include "model/error_propagation.h"

#include "model/constants.h"
#include "model/notifier.h"
#include "model/survey_error.h"

namespace veldrane {
namespace {
// One failure is propagated at a time per thread: set while an inner level
// has already wrapped the description.
thread_local bool tWrapped = false;

std::string Wrap(std::int32_t number, const std::string& description) {
  return "\r\nError Number \r\n\t" + std::to_string(number) + "\r\nDescription\r\n\t" + description + "\r\n\r\n";
}
}  // namespace

std::string ProcedureWhere(const std::string& procedure, const std::string& module, std::int32_t line) {
  std::string where = procedure + " " + module + " ";
  if (line > 0) where += "Line : " + std::to_string(line);
  return where;
}

void ReportProcedureError(bool isTopLevel, const std::string& where, std::int32_t number, const std::string& source,
                          const std::string& description, int mode) {
  std::string text = description;
  if (!tWrapped) text = Wrap(number, description);
  if (!isTopLevel) {
    tWrapped = true;
    throw RaisedError(number, source, "\t" + where + "\r\n" + text);
  }
  tWrapped = false;
  if (mode == kReportToErrorWindow) {
    CurrentNotifier().Notify(NoticeKind::ErrorWindow, "Record Call Stack Sequence",
                             "Record Call Stack Sequence - Bottom line is error line.\r\n\r\n\t" + where + "\r\n" + text);
  } else {
    CurrentNotifier().Notify(NoticeKind::WarningBox, "Unexpected Program Error",
                             "An error has occured in the application.   Record the call stack sequence\r\n"
                             "and the description of the error.\r\n\r\nError Call Stack Sequence \r\n\t" +
                                 where + "\r\n" + text);
  }
}

void ReportProcedureError(bool isTopLevel, const std::string& where, const std::exception& failure, int mode) {
  if (const auto* raised = dynamic_cast<const RaisedError*>(&failure)) {
    ReportProcedureError(isTopLevel, where, raised->Number(), raised->Source(), raised->Description(), mode);
  } else {
    ReportProcedureError(isTopLevel, where, kErrUnexpected, "Veldrane", failure.what(), mode);
  }
}

}  // namespace veldrane
