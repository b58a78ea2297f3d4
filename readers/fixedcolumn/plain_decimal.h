#pragma once
// Number fields of large survey files are nearly always plain decimals such
// as "-123.45". Those are converted here directly: with at most 15 digits
// the digits form an exact integer and the power of ten is exact too, so
// one division gives the correctly rounded value, the very value the
// general conversion gives. Anything else goes through ParseNumber, which
// also does the reporting.
#include <optional>
#include <string_view>

#include "model/survey_error.h"

namespace veldrane {

// The value of `text` when it is an optional sign, digits and at most one
// "." with at most 15 digits in all (no blanks, no exponent); else nullopt.
std::optional<double> PlainDecimal(std::string_view text);

// PlainDecimal, or ParseNumber (with its reports and 0.0001) for the rest.
double ParseNumberQuick(IMonitor& monitor, std::string_view text, std::string_view label);

// Degrees, minutes and seconds written as three plain decimals joined by
// dashes ("29-55-12.345") are converted directly, to the value ParseAngle
// gives; anything else (blanks, a leading minus, more or bad pieces) goes through
// ParseAngle with its reports.
double ParseAngleQuick(IMonitor& monitor, std::string_view text, std::string_view label);

}  // namespace veldrane
