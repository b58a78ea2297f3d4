#pragma once
// Unexpected run-time failures inside public procedures become one readable
// call-stack report. Inner procedures re-raise with one more tab-indented
// line ("not top level"); the outermost reports the whole stack once through
// the notifier.
#include <cstdint>
#include <exception>
#include <string>

namespace veldrane {

inline constexpr int kReportToErrorWindow = 4;
inline constexpr int kReportWarningBox = 2;

// `where` names the failing procedure: "Name module.cpp" plus
// " Line : N" when a line is known (see ProcedureWhere).
// Not top level: throws a RaisedError carrying the grown stack.
// Top level: reports through the notifier and returns.
void ReportProcedureError(bool isTopLevel, const std::string& where, std::int32_t number, const std::string& source,
                          const std::string& description, int mode = kReportToErrorWindow);

// Convenience for catch blocks: takes number, source and text from the
// exception in flight (RaisedError keeps its number; anything else is
// reported as -200010 with its what()).
void ReportProcedureError(bool isTopLevel, const std::string& where, const std::exception& failure,
                          int mode = kReportToErrorWindow);

std::string ProcedureWhere(const std::string& procedure, const std::string& module, std::int32_t line = 0);

}  // namespace veldrane
