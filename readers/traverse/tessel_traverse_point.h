#pragma once
// One station of a traverse report: a group of four fixed-column lines
// whose first line starts with the station's number in parentheses, e.g.
// "(012)". Values are taken from the report as they stand.
#include <cstdint>
#include <string>

#include "model/constants.h"
#include "model/features.h"
#include "model/survey_error.h"
#include "readers/fixedcolumn/line_source.h"

namespace veldrane {

class TesselTraversePoint : public ITraversePoint {
 public:
  // Reads one station group from `lines`: up to four lines, fewer when the
  // text ends first (the fields read so far are kept). `monitor` receives
  // the parse errors; its line number is the number of the line being read
  // and is advanced after each line. `wasRead` is false, after the first
  // line was consumed, when that line does not start a station group.
  // The monitor must outlive the point: Station reports through it.
  void InitFromLines(IMonitor& monitor, LineSource& lines, bool& wasRead);

  std::int32_t TraversePointId() override { return id_; }
  double AdjustedAngle() override { return adjustedAngle_; }
  double AdjustedDistance() override { return adjustedDistance_; }
  double BackGeodeticAzimuth() override { return backGeodeticAzimuth_; }
  double ScaleFactor() override { return scaleFactor_; }
  double Convergence() override { return convergence_; }
  double Latitude() override { return latitude_; }
  double Longitude() override { return longitude_; }
  double Northing() override { return northing_; }
  double Easting() override { return easting_; }
  // Computed from the station name on every read (see StationFromName).
  double Station() override;
  std::string StationName() override { return stationName_; }
  std::string AltName() override { return altName_; }
  double MeasuredAngle() override { return measuredAngle_; }
  double MeasuredDistance() override { return measuredDistance_; }
  double ForwardGeodeticAzimuth() override { return forwardGeodeticAzimuth_; }
  double PlaneDistance() override { return planeDistance_; }
  double PlaneAzimuth() override { return planeAzimuth_; }

  // "12+34.56" reads 1234.56 and "1+ 5.20" reads 105.20: "+" is dropped,
  // each blank stands for a 0, "=" is dropped, and the first 15 characters
  // are parsed as a number (reported through `monitor` when they are not).
  static double StationFromName(IMonitor& monitor, const std::string& name);

 private:
  static bool StartsGroup(std::string_view line);
  void ReadFirstLine(IMonitor& monitor, std::string_view line);
  void ReadSecondLine(IMonitor& monitor, std::string_view line);
  void ReadThirdLine(IMonitor& monitor, std::string_view line);

  IMonitor* monitor_ = nullptr;
  std::string stationName_;
  std::string altName_;
  double adjustedAngle_ = kUndefinedNumber;
  double adjustedDistance_ = kUndefinedNumber;
  double backGeodeticAzimuth_ = kUndefinedNumber;
  double scaleFactor_ = kUndefinedNumber;
  double convergence_ = kUndefinedNumber;
  double latitude_ = kUndefinedNumber;
  double longitude_ = kUndefinedNumber;
  double northing_ = kUndefinedNumber;
  double easting_ = kUndefinedNumber;
  double measuredAngle_ = kUndefinedNumber;
  double measuredDistance_ = kUndefinedNumber;
  double forwardGeodeticAzimuth_ = kUndefinedNumber;
  double planeDistance_ = kUndefinedNumber;
  double planeAzimuth_ = kUndefinedNumber;
  std::int32_t id_ = kUndefinedPointId;
};

}  // namespace veldrane
