#include "model/date_time.h"

#include <array>
#include <cstdio>

namespace veldrane {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days from 1970-01-01 to a proleptic Gregorian civil date.
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil {
  std::int64_t year;
  unsigned month;
  unsigned day;
};

constexpr Civil CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {y + (m <= 2), m, d};
}

constexpr std::int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[static_cast<std::size_t>(m - 1)];
}

}  // namespace

DateTime DateTime::Undefined() { return *FromDate(2000, 12, 31); }

std::optional<DateTime> DateTime::FromDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return std::nullopt;
  if (day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
  const std::int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochDays;
  return FromSeconds(days * kSecondsPerDay);
}

std::optional<DateTime> DateTime::FromTime(int hour, int minute, int second) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return std::nullopt;
  return FromSeconds(hour * 3600 + minute * 60 + second);
}

std::int64_t DateTime::TimeOfDaySeconds() const {
  return seconds_ - FloorDiv(seconds_, kSecondsPerDay) * kSecondsPerDay;
}

DateTime DateTime::PlusTimeOfDay(const DateTime& time) const {
  return FromSeconds(FloorDiv(seconds_, kSecondsPerDay) * kSecondsPerDay + time.TimeOfDaySeconds());
}

int DateTime::Year() const { return static_cast<int>(CivilFromDays(FloorDiv(seconds_, kSecondsPerDay) + kEpochDays).year); }
int DateTime::Month() const { return static_cast<int>(CivilFromDays(FloorDiv(seconds_, kSecondsPerDay) + kEpochDays).month); }
int DateTime::Day() const { return static_cast<int>(CivilFromDays(FloorDiv(seconds_, kSecondsPerDay) + kEpochDays).day); }
int DateTime::Hour() const { return static_cast<int>(TimeOfDaySeconds() / 3600); }
int DateTime::Minute() const { return static_cast<int>(TimeOfDaySeconds() / 60 % 60); }
int DateTime::Second() const { return static_cast<int>(TimeOfDaySeconds() % 60); }

int DateTime::DayOfWeek() const {
  // 1970-01-01 was a Thursday (4).
  const std::int64_t days = FloorDiv(seconds_, kSecondsPerDay) + kEpochDays;
  return static_cast<int>(((days % 7) + 7 + 4) % 7);
}

std::string DateTime::ToIso() const {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", Year(), Month(), Day(), Hour(), Minute(), Second());
  return buf;
}

std::string DateTime::ToShortDate() const {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d/%d/%04d", Month(), Day(), Year());
  return buf;
}

std::string DateTime::ToLongDate() const {
  static constexpr std::array<const char*, 7> kDays{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  static constexpr std::array<const char*, 12> kMonths{"January", "February", "March", "April", "May", "June", "July",
                                                       "August", "September", "October", "November", "December"};
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s, %s %d, %04d", kDays[static_cast<std::size_t>(DayOfWeek())],
                kMonths[static_cast<std::size_t>(Month() - 1)], Day(), Year());
  return buf;
}

std::string DateTime::ToGeneral() const {
  if (TimeOfDaySeconds() == 0) return ToShortDate();
  const int h = Hour();
  const int h12 = h % 12 == 0 ? 12 : h % 12;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s %d:%02d:%02d %s", ToShortDate().c_str(), h12, Minute(), Second(), h < 12 ? "AM" : "PM");
  return buf;
}

}  // namespace veldrane
