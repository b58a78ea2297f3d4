#include "geometry/planar.h"

#include <cmath>

#include "model/constants.h"

namespace veldrane {

double SquaredDistance(double x1, double y1, double x2, double y2) {
  const double dx = x1 - x2;
  const double dy = y1 - y2;
  return dx * dx + dy * dy;
}

double GridAzimuth(double x1, double y1, double x2, double y2) {
  if (x1 == x2) return kUndefinedNumber;
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  const double a = std::atan(dy / dx);
  double t = a;
  if (dx < 0 && dy >= 0) t = a + kSurveyPi;
  else if (dx < 0 && dy < 0) t = a - kSurveyPi;
  double azimuth = 450.0 - t * 180.0 / kSurveyPi;
  if (azimuth > 360.0) azimuth -= 360.0;
  return azimuth;
}

double RoundHalfEven(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  // Every point's offsets are rounded: the usual scales come from a table.
  static constexpr double kScales[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  const double scale = decimals >= 0 && decimals < 10 ? kScales[decimals] : std::pow(10.0, decimals);
  const double scaled = value * scale;
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 9007199254740992.0) return value;
  // Decide halves on the decimal text of the value, so 2.0005 (stored a hair
  // below) still counts as a half, as a decimal rounding would see it.
  const double floorPart = std::floor(scaled);
  const double fraction = scaled - floorPart;
  double rounded;
  const double kHalfTolerance = 1e-9;
  if (std::fabs(fraction - 0.5) <= kHalfTolerance) {
    rounded = std::fmod(floorPart, 2.0) == 0.0 ? floorPart : floorPart + 1.0;
  } else {
    rounded = std::nearbyint(scaled);
  }
  return rounded / scale;
}

}  // namespace veldrane
