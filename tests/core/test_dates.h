#pragma once
// Expected dates written the way a reader states them: a calendar day,
// optionally with a time of day.
#include "model/date_time.h"

namespace veldrane::test {

inline DateTime Date(int year, int month, int day, int hour = 0, int minute = 0) {
  return DateTime::FromDate(year, month, day)->PlusTimeOfDay(*DateTime::FromTime(hour, minute));
}

}  // namespace veldrane::test
