#include "readers/fixedcolumn/header_records.h"

#include "model/field_parsing.h"
#include "model/text.h"

namespace veldrane {
namespace {

// Fields of T01 to T03 reach column 73 at least; free-text records need one
// character from column 20 on; T04 carries its second field from column 50.
constexpr std::size_t kCoordinateHeaderLength = 73;
constexpr std::size_t kFreeTextHeaderLength = 21;
constexpr std::size_t kT04Length = 51;

std::string Field(std::string_view line, std::size_t start, std::size_t count) {
  return std::string(ColumnField(line, start, count));
}

}  // namespace

bool HeaderRecords::IsHeaderTag(std::string_view line) {
  if (line.size() < 3 || (line[0] != 'T' && line[0] != 't') || line[1] != '0') return false;
  return line[2] >= '1' && line[2] <= '7';
}

bool HeaderRecords::Dispatch(std::string_view rawLine, IMonitor& monitor) {
  const std::string_view line = TrimRightBlanks(rawLine);
  const std::string_view tag = line.substr(0, 3);
  if (EqualsIgnoreCase(tag, "T01")) {
    ReadT01(line, monitor);
  } else if (EqualsIgnoreCase(tag, "T02")) {
    ReadT02(line, monitor);
  } else if (EqualsIgnoreCase(tag, "T03")) {
    ReadT03(line, monitor);
  } else if (EqualsIgnoreCase(tag, "T04")) {
    ReadT04(line, monitor);
  } else if (EqualsIgnoreCase(tag, "T05")) {
    if (line.size() >= kFreeTextHeaderLength) contractor_ = std::string(ColumnRest(line, 20));
  } else if (EqualsIgnoreCase(tag, "T06")) {
    if (line.size() >= kFreeTextHeaderLength) location_ = std::string(ColumnRest(line, 20));
  } else if (EqualsIgnoreCase(tag, "T07")) {
    if (line.size() >= kFreeTextHeaderLength) title_ = std::string(ColumnRest(line, 20));
  } else {
    return false;
  }
  return true;
}

void HeaderRecords::ReadT01(std::string_view line, IMonitor& monitor) {
  if (line.size() < kCoordinateHeaderLength) {
    monitor.AppendError("Header record " + std::string(line.substr(0, 3)) +
                        " is invalid. Filename should start in column 20, order in column 50, and hoziontal datum in "
                        "column 75.");
    return;
  }
  originalFileName_ = Field(line, 20, 21);
  surveyOrder_ = Field(line, 50, 1);
  horizontalDatum_ = Field(line, 74, 6);
}

void HeaderRecords::ReadT02(std::string_view line, IMonitor& monitor) {
  if (line.size() < kCoordinateHeaderLength) {
    monitor.AppendError("Header record " + std::string(line.substr(0, 3)) +
                        " is invalid. Job should start in column 20, units in column 50, and vertical datum in column "
                        "75.");
    return;
  }
  jobNumber_ = Field(line, 20, 8);
  units_ = Field(line, 50, 6);
  verticalDatum_ = Field(line, 74, 8);
}

void HeaderRecords::ReadT03(std::string_view line, IMonitor& monitor) {
  if (line.size() < kCoordinateHeaderLength) {
    monitor.AppendError("Header record " + std::string(line.substr(0, 3)) +
                        " is invalid. Survey date should start in column 20, zone in column 50, epoch in column 75.");
    return;
  }
  surveyDate_ = ParseDate(monitor, ColumnField(line, 20, 11), "Invalid Date String");
  projection_ = Field(line, 50, 12);
  epoch_ = Field(line, 74, 8);
}

void HeaderRecords::ReadT04(std::string_view line, IMonitor& monitor) {
  if (line.size() < kT04Length) {
    if (shortT04_ == ShortT04::Report)
      monitor.AppendError("Header record " + std::string(line.substr(0, 3)) + " must contain at least 50 characters");
    return;
  }
  // Columns 20-22 and 50-79 carry values that no survey property exposes;
  // the record is only checked.
}

}  // namespace veldrane
