#pragma once
// One stationed point of an EM baseline ("#B" record), shown as a traverse
// station so a baseline file can be drawn like a traverse. A baseline point
// carries no measured or adjusted observations: every angle and distance is 0.
#include <cstdint>
#include <string>

#include "model/features.h"

namespace veldrane {

class EMBaselinePoint : public ITraversePoint {
 public:
  EMBaselinePoint() = default;
  EMBaselinePoint(double easting, double northing, double station, std::string name) {
    Initialize(easting, northing, station, std::move(name));
  }

  void Initialize(double easting, double northing, double station, std::string name);

  std::int32_t TraversePointId() override { return 0; }
  double AdjustedAngle() override { return 0; }
  double AdjustedDistance() override { return 0; }
  double BackGeodeticAzimuth() override { return 0; }
  double ScaleFactor() override { return 0; }
  double Convergence() override { return 0; }
  double Latitude() override { return 0; }
  double Longitude() override { return 0; }
  double Northing() override { return northing_; }
  double Easting() override { return easting_; }
  double Station() override { return station_; }
  std::string StationName() override { return StationNotation(station_); }
  std::string AltName() override { return name_; }
  double MeasuredAngle() override { return 0; }
  double MeasuredDistance() override { return 0; }
  double ForwardGeodeticAzimuth() override { return 0; }
  double PlaneDistance() override { return 0; }
  double PlaneAzimuth() override { return 0; }

  // A station in hundreds-plus notation: 1250.5 -> "12+50.50",
  // 1205 -> "12+05.00", -1250.5 -> "-12+50.50". Integer rounding takes
  // exact halves to the even neighbour.
  static std::string StationNotation(double station);

 private:
  double easting_ = 0;
  double northing_ = 0;
  double station_ = 0;
  std::string name_;
};

}  // namespace veldrane
