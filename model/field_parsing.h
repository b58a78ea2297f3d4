#pragma once
// Conversion of single field values. Each function takes the monitor that
// receives its messages, the text and a label naming the field; it never
// fails: bad input is reported through IMonitor::AppendError (severity 1,
// current line) and a fixed failure value is returned, so the caller stores
// it and reading goes on. Locale independent: "." decimals, month/day/year.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/date_time.h"
#include "model/survey_error.h"

namespace veldrane {

// 0.0001 on failure. Empty text reports two messages.
double ParseNumber(IMonitor& monitor, std::string_view text, std::string_view label);
// 9999999 on failure; text longer than 9 characters is an overflow.
std::int32_t ParseInteger(IMonitor& monitor, std::string_view text, std::string_view label);
// A time of day (on 12/30/1899); "930" and "1415" read as 9:30 and 14:15.
// 12/31/2000 on failure.
DateTime ParseTime(IMonitor& monitor, std::string_view text, std::string_view label);
// A month/day/year date; 12/31/2000 on failure or when the year has fewer
// than 4 digits after conversion (two-digit years are widened first).
DateTime ParseDate(IMonitor& monitor, std::string_view text, std::string_view label);
// Station notation: "12+50.00" and "1250" give 1250. 0.0001 on failure.
double ParseStation(IMonitor& monitor, std::string_view text, std::string_view label);
// Degrees-minutes-seconds "12-30-36" as decimal degrees; 0 on failure.
double ParseAngle(IMonitor& monitor, std::string_view text, std::string_view label);
// Two numbers separated by a comma or blanks, returned in reverse order:
// element 0 is the second number of the text, element 1 the first.
// Both 0.0001 on failure.
std::array<double, 2> ParseCoordinatePair(IMonitor& monitor, std::string_view text, std::string_view label);

// The same rules without reporting.
std::optional<DateTime> TryParseTime(std::string_view text);
std::optional<DateTime> TryParseDate(std::string_view text);

}  // namespace veldrane
