#include "readers/em/em_baseline_point.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "geometry/planar.h"
#include "model/text.h"

namespace veldrane {
namespace {

// Beyond this the station has no meaningful hundredths in a double and the
// whole cents would not fit 64 bits: such a station is written as a number.
constexpr double kLargestNotatedStation = 1e13;

std::string TwoDecimals(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  return buffer;
}

// The notation of a non-negative station from its whole hundreds H and the
// remainder r = s - H. H is taken from the station rounded to an integer,
// so a station just below a hundred (1299.5, 99.996) gets H one hundred
// too high and a negative remainder; that case (and a remainder that would
// not print as two digits) is written from the station's whole cents
// instead, which keeps the remainder in 00.00 .. 99.99.
std::string NonNegativeNotation(double s) {
  const double a = std::fmod(RoundHalfEven(s, 0), 100.0);
  const double hundreds = RoundHalfEven(s - a, 0);
  const std::string r = TwoDecimals(s - hundreds);
  const bool negativeRemainder = !r.empty() && r.front() == '-';
  if (!negativeRemainder && (r.size() == 5 || r.size() == 4)) {
    return FormatNumber(hundreds / 100.0) + (r.size() == 5 ? "+" : "+0") + r;
  }
  const auto cents = static_cast<std::int64_t>(RoundHalfEven(s * 100.0, 0));
  const std::int64_t rest = cents % 10000;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%lld+%02lld.%02lld", static_cast<long long>(cents / 10000),
                static_cast<long long>(rest / 100), static_cast<long long>(rest % 100));
  return buffer;
}

}  // namespace

void EMBaselinePoint::Initialize(double easting, double northing, double station, std::string name) {
  easting_ = easting;
  northing_ = northing;
  station_ = station;
  name_ = std::move(name);
}

std::string EMBaselinePoint::StationNotation(double station) {
  if (!std::isfinite(station) || std::fabs(station) >= kLargestNotatedStation) return FormatNumber(station);
  // A station before the baseline's origin reads as the notation of its
  // distance with a leading minus, so the "+" still separates hundreds
  // from the remainder ("-12+50.50", not "-13+49.50").
  if (station < 0) {
    const std::string text = NonNegativeNotation(-station);
    return text == "0+00.00" ? text : "-" + text;
  }
  return NonNegativeNotation(station);
}

}  // namespace veldrane
