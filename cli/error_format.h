#pragma once
// The text forms of error records that the subcommands print.
#include <string>

#include "model/survey_error.h"

namespace veldrane::cli {

// The record in its one-line form (see ErrorLineText); `fallbackFile`
// stands in for a record without a file name.
std::string FormatErrorLine(const ISurveyError& error, const std::string& fallbackFile);

// "3 files checked: 2 errors, 5 warnings", with ", 1 path could not be read"
// added when some could not be read.
std::string FormatCheckSummary(int files, int errors, int warnings, int unreadable);

}  // namespace veldrane::cli
