#pragma once
// Small planar computations shared by the readers and the geometry.
namespace veldrane {

// The constant pi as the survey formulas use it.
inline constexpr double kSurveyPi = 3.14159265;

// (x1 - x2)^2 + (y1 - y2)^2
double SquaredDistance(double x1, double y1, double x2, double y2);

// Azimuth in degrees, clockwise from grid north (+y), of the direction from
// (x1, y1) to (x2, y2). Exactly equal x values give the undefined number
// 0.0001, also for a line running due north or south.
double GridAzimuth(double x1, double y1, double x2, double y2);

// Rounds to `decimals` places, exact halves to the even neighbour.
double RoundHalfEven(double value, int decimals);

}  // namespace veldrane
