#pragma once
// A calendar date-time with one-second resolution, counted from 12/30/1899
// 00:00 (the value 0 that some readers report for "no date"). It holds every
// date a reader can produce, from year 1 to 9999, compares exactly and prints
// in a few fixed, locale-independent forms.
#include <compare>
#include <cstdint>
#include <optional>
#include <string>

namespace veldrane {

class DateTime {
 public:
  constexpr DateTime() = default;

  // 12/31/2000 00:00, the model's "never given" date.
  static DateTime Undefined();
  // 12/30/1899 00:00.
  static constexpr DateTime Zero() { return DateTime(); }
  // Calendar date; nullopt when the date does not exist (e.g. 2/30/2021)
  // or the year is outside 1..9999.
  static std::optional<DateTime> FromDate(int year, int month, int day);
  // Time of day on 12/30/1899; nullopt unless 0<=h<24, 0<=m<60, 0<=s<60.
  static std::optional<DateTime> FromTime(int hour, int minute, int second = 0);
  static constexpr DateTime FromSeconds(std::int64_t s) { DateTime d; d.seconds_ = s; return d; }

  constexpr std::int64_t Seconds() const { return seconds_; }
  bool IsUndefined() const { return *this == Undefined(); }

  // The time of day part of this value (seconds since midnight).
  std::int64_t TimeOfDaySeconds() const;
  // Date part plus the time of day of `time` (its date part is ignored, as
  // when a time of day is added to a survey date).
  DateTime PlusTimeOfDay(const DateTime& time) const;
  // Adds the full value of `other` counted from 12/30/1899, the way the
  // readers add a parsed time (itself a date-time) to a survey date.
  DateTime operator+(const DateTime& other) const { return FromSeconds(seconds_ + other.seconds_); }

  int Year() const;
  int Month() const;
  int Day() const;
  int Hour() const;
  int Minute() const;
  int Second() const;
  // 0 = Sunday ... 6 = Saturday.
  int DayOfWeek() const;

  // "YYYY-MM-DDTHH:MM:SS"
  std::string ToIso() const;
  // "M/D/YYYY"
  std::string ToShortDate() const;
  // "Wednesday, March 1, 2023"
  std::string ToLongDate() const;
  // "M/D/YYYY" for midnight, else "M/D/YYYY h:mm:ss AM"
  std::string ToGeneral() const;

  constexpr auto operator<=>(const DateTime&) const = default;

 private:
  std::int64_t seconds_ = 0;
};

}  // namespace veldrane
