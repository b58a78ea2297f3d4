#include "readers/traverse/tessel_traverse_point.h"

#include "model/field_parsing.h"
#include "readers/fixedcolumn/plain_decimal.h"
#include "model/text.h"

namespace veldrane {
namespace {

// Every parse of a station group reports with the parser's own message only.
constexpr std::string_view kNoContext;
constexpr std::size_t kGroupLines = 4;
constexpr std::size_t kStationTextLength = 15;

}  // namespace

void TesselTraversePoint::InitFromLines(IMonitor& monitor, LineSource& lines, bool& wasRead) {
  monitor_ = &monitor;
  wasRead = false;
  std::string_view line;
  for (std::size_t index = 0; index < kGroupLines; ++index) {
    if (!lines.Next(line)) return;  // an end-cut group keeps what it has
    // Fields are parsed while the monitor names their own line, so every
    // report points at the line that holds the bad value; the count then
    // moves on to the next line.
    switch (index) {
      case 0:
        if (!StartsGroup(line)) {
          monitor.SetLineNumber(monitor.LineNumber() + 1);
          return;
        }
        ReadFirstLine(monitor, line);
        wasRead = true;
        break;
      case 1:
        ReadSecondLine(monitor, line);
        break;
      case 2:
        ReadThirdLine(monitor, line);
        break;
      default:
        break;  // the fourth line carries nothing that is read
    }
    monitor.SetLineNumber(monitor.LineNumber() + 1);
  }
}

bool TesselTraversePoint::StartsGroup(std::string_view line) {
  return line.size() >= 5 && line[0] == '(' && line[4] == ')';
}

void TesselTraversePoint::ReadFirstLine(IMonitor& monitor, std::string_view line) {
  id_ = ParseInteger(monitor, ColumnField(line, 2, 3), kNoContext);
  altName_ = std::string(ColumnField(line, 6, 40));
  backGeodeticAzimuth_ = ParseAngleQuick(monitor, ColumnField(line, 47, 18), kNoContext);
  scaleFactor_ = ParseNumberQuick(monitor, ColumnField(line, 68, 14), kNoContext);
  convergence_ = ParseAngleQuick(monitor, ColumnField(line, 85, 13), kNoContext);
}

void TesselTraversePoint::ReadSecondLine(IMonitor& monitor, std::string_view line) {
  stationName_ = std::string(ColumnField(line, 1, 13));
  adjustedAngle_ = ParseAngleQuick(monitor, ColumnField(line, 16, 11), kNoContext);
  adjustedDistance_ = ParseNumberQuick(monitor, ColumnField(line, 30, 14), kNoContext);
  forwardGeodeticAzimuth_ = ParseAngleQuick(monitor, ColumnField(line, 47, 18), kNoContext);
  planeDistance_ = ParseNumberQuick(monitor, ColumnField(line, 68, 14), kNoContext);
  planeAzimuth_ = ParseAngleQuick(monitor, ColumnField(line, 85, 13), kNoContext);
  northing_ = ParseNumberQuick(monitor, ColumnField(line, 100, 15), kNoContext);
  easting_ = ParseNumberQuick(monitor, ColumnField(line, 116, 16), kNoContext);
}

void TesselTraversePoint::ReadThirdLine(IMonitor& monitor, std::string_view line) {
  measuredAngle_ = ParseAngleQuick(monitor, ColumnField(line, 16, 11), kNoContext);
  measuredDistance_ = ParseNumberQuick(monitor, ColumnField(line, 30, 14), kNoContext);
  latitude_ = ParseAngleQuick(monitor, ColumnField(line, 100, 15), kNoContext);
  longitude_ = ParseAngleQuick(monitor, ColumnField(line, 116, 16), kNoContext);
}

double TesselTraversePoint::Station() {
  if (!monitor_) return kUndefinedNumber;
  return StationFromName(*monitor_, stationName_);
}

double TesselTraversePoint::StationFromName(IMonitor& monitor, const std::string& name) {
  std::string text;
  text.reserve(name.size());
  for (char c : name) {
    if (c == '+' || c == '=') continue;
    text.push_back(c == ' ' ? '0' : c);
  }
  if (text.size() > kStationTextLength) text.resize(kStationTextLength);
  return ParseNumberQuick(monitor, text, kNoContext);
}

}  // namespace veldrane
