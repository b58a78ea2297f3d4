#include "model/field_parsing.h"

#include <cmath>
#include <string>

#include "model/constants.h"
#include "model/text.h"

namespace veldrane {
namespace {

std::string Concat(std::string_view a, std::string_view b, std::string_view c = {}) {
  std::string s;
  s.reserve(a.size() + b.size() + c.size());
  s.append(a).append(b).append(c);
  return s;
}

std::optional<int> SmallInt(std::string_view digits) {
  if (digits.empty() || digits.size() > 4 || !IsAllDigits(digits)) return std::nullopt;
  int v = 0;
  for (char c : digits) v = v * 10 + (c - '0');
  return v;
}

// "H:MM", "H:MM:SS", optionally followed by AM or PM.
std::optional<DateTime> TimeWithColon(std::string_view text) {
  text = TrimBlanks(text);
  int meridiem = 0;  // 0 none, 1 AM, 2 PM
  if (text.size() >= 2) {
    const auto tail = ToUpperAscii(text.substr(text.size() - 2));
    if (tail == "AM" || tail == "PM") {
      meridiem = tail == "AM" ? 1 : 2;
      text = TrimBlanks(text.substr(0, text.size() - 2));
    }
  }
  const auto parts = SplitKeepEmpty(text, ':');
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  const auto h = SmallInt(parts[0]);
  const auto m = SmallInt(parts[1]);
  const auto s = parts.size() == 3 ? SmallInt(parts[2]) : std::optional<int>(0);
  if (!h || !m || !s || parts[1].size() > 2 || (parts.size() == 3 && parts[2].size() > 2)) return std::nullopt;
  int hour = *h;
  if (meridiem != 0) {
    if (hour < 1 || hour > 12) return std::nullopt;
    hour = hour % 12 + (meridiem == 2 ? 12 : 0);
  }
  return DateTime::FromTime(hour, *m, *s);
}

}  // namespace

double ParseNumber(IMonitor& monitor, std::string_view text, std::string_view label) {
  if (text.empty()) monitor.AppendError(Concat(label, ": No value specified for numeric attribute."));
  if (const auto value = ToNumber(text)) return *value;
  monitor.AppendError(Concat("Invalid Numeric Value : ", text));
  return kUndefinedNumber;
}

std::int32_t ParseInteger(IMonitor& monitor, std::string_view text, std::string_view label) {
  if (text.empty()) {
    monitor.AppendError(Concat(label, ": No value specified for numeric attribute."));
    return kUndefinedPointId;
  }
  if (text.size() > 9) {
    monitor.AppendError(Concat(label, ": Numeric overflow. (Integer values are limited to 9 digits or less)."));
    return kUndefinedPointId;
  }
  if (const auto value = ToNumber(text)) {
    // Whole-number conversion rounds halves to even; nine characters always fit.
    return static_cast<std::int32_t>(std::nearbyint(*value));
  }
  monitor.AppendError(Concat("Invalid Numeric Value : ", text));
  return kUndefinedPointId;
}

std::optional<DateTime> TryParseTime(std::string_view text) {
  text = TrimBlanks(text);
  if (text.find(':') != std::string_view::npos) return TimeWithColon(text);
  if (text.size() == 3 || text.size() == 4) {
    std::string withColon(text.substr(0, text.size() - 2));
    withColon.push_back(':');
    withColon.append(text.substr(text.size() - 2));
    return TimeWithColon(withColon);
  }
  return std::nullopt;
}

DateTime ParseTime(IMonitor& monitor, std::string_view text, std::string_view label) {
  if (const auto time = TryParseTime(text)) return *time;
  monitor.AppendError(Concat(label, ": Invalid time string : ", TrimBlanks(text)));
  return DateTime::Undefined();
}

std::optional<DateTime> TryParseDate(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  // An optional time of day after the date.
  std::optional<DateTime> time = DateTime::FromTime(0, 0);
  const auto blank = text.find(' ');
  if (blank != std::string_view::npos) {
    time = TimeWithColon(text.substr(blank + 1));
    if (!time) return std::nullopt;
    text = text.substr(0, blank);
  }
  char separator = 0;
  for (char c : {'/', '-', '.'})
    if (text.find(c) != std::string_view::npos) separator = c;
  if (separator == 0) return std::nullopt;
  const auto parts = SplitKeepEmpty(text, separator);
  if (parts.size() != 3) return std::nullopt;
  int month = 0, day = 0, year = 0;
  std::size_t yearDigits = 0;
  if (parts[0].size() == 4) {  // year-month-day
    const auto y = SmallInt(parts[0]), m = SmallInt(parts[1]), d = SmallInt(parts[2]);
    if (!y || !m || !d) return std::nullopt;
    year = *y, month = *m, day = *d, yearDigits = 4;
  } else {
    const auto m = SmallInt(parts[0]), d = SmallInt(parts[1]), y = SmallInt(parts[2]);
    if (!y || !m || !d || parts[0].size() > 2 || parts[1].size() > 2) return std::nullopt;
    year = *y, month = *m, day = *d, yearDigits = parts[2].size();
  }
  // Two-digit years are read in the 1930..2029 window.
  if (yearDigits <= 2) year += year < 30 ? 2000 : 1900;
  const auto date = DateTime::FromDate(year, month, day);
  if (!date) return std::nullopt;
  return date->PlusTimeOfDay(*time);
}

DateTime ParseDate(IMonitor& monitor, std::string_view text, std::string_view label) {
  if (text.empty()) monitor.AppendError(Concat(label, ": No value specified for date attribute."));
  if (const auto date = TryParseDate(text)) {
    if (date->Year() < 1000) {
      monitor.AppendError(Concat(label, ": Invalid/Truncated Date Value : ", text));
      return DateTime::Undefined();
    }
    return *date;
  }
  monitor.AppendError(Concat(label, ": Invalid Date Value : ", text));
  return DateTime::Undefined();
}

double ParseStation(IMonitor& monitor, std::string_view text, std::string_view label) {
  std::string_view body = text;
  if (body.size() >= 3 && body.substr(body.size() - 3) == ".00") body = body.substr(0, body.size() - 3);
  std::string cleaned;
  cleaned.reserve(body.size());
  for (char c : body)
    if (c != ' ' && c != '+' && c != '=') cleaned.push_back(c);
  return ParseNumber(monitor, cleaned, label);
}

double ParseAngle(IMonitor& monitor, std::string_view text, std::string_view label) {
  std::string cleaned;
  for (char c : text)
    if (c != ' ') cleaned.push_back(c);
  if (cleaned.empty()) {
    monitor.AppendError(Concat(label, ": No value specified for angular attribute."));
    return 0;
  }
  const auto pieces = SplitKeepEmpty(cleaned, '-');
  bool valid = pieces.size() >= 3;
  for (const auto piece : pieces) valid = valid && IsNumeric(piece);
  if (!valid) {
    monitor.AppendError(Concat(label,
                               ": Invalid Angle - angle should be written as three numbers separated by dashes : ",
                               text));
    return 0;
  }
  const double d = ParseNumber(monitor, pieces[0], label);
  const double m = ParseNumber(monitor, pieces[1], label);
  const double s = ParseNumber(monitor, pieces[2], label);
  return d + m / 60.0 + s / 3600.0;
}

std::array<double, 2> ParseCoordinatePair(IMonitor& monitor, std::string_view text, std::string_view label) {
  const std::string fullLabel = Concat(label, " : ", text);
  auto pieces = SplitKeepEmpty(text, ',');
  if (pieces.size() != 2) {
    pieces = BlankFieldSplit(text);
    if (pieces.size() != 2) {
      monitor.AppendError(fullLabel);
      return {kUndefinedNumber, kUndefinedNumber};
    }
  }
  const double second = ParseNumber(monitor, TrimBlanks(pieces[1]), fullLabel);
  const double first = ParseNumber(monitor, TrimBlanks(pieces[0]), fullLabel);
  return {second, first};
}

}  // namespace veldrane
