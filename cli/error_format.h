#pragma once
// The text forms of error records that the subcommands print.
#include <string>

#include "model/survey_error.h"

namespace veldrane::cli {

// The text of a record's severity: warning (0 and below), error (1), fatal (2 and above).
std::string SeverityName(int severity);

// "FILE:LINE: SEVERITY: DESCRIPTION", ":LINE" left out when the line is below
// 1. `fallbackFile` stands in for a record without a file name. Line breaks
// inside the description become blanks so each record stays on one line;
// the text is valid UTF-8 whatever bytes the record holds.
std::string FormatErrorLine(const ISurveyError& error, const std::string& fallbackFile);

// "3 files checked: 2 errors, 5 warnings", with ", 1 path could not be read"
// added when some could not be read.
std::string FormatCheckSummary(int files, int errors, int warnings, int unreadable);

}  // namespace veldrane::cli
