#pragma once
// The summary line of `veldrane check`. (The line of each record is
// config/error_log.h's FormatErrorLine, shared with the driver.)
#include <string>

namespace veldrane::cli {

// "3 files checked: 2 errors, 5 warnings", with ", 1 path could not be read"
// added when some could not be read.
std::string FormatCheckSummary(int files, int errors, int warnings, int unreadable);

}  // namespace veldrane::cli
