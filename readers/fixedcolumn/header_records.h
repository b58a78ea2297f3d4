#pragma once
// The "T" header records that the fixed-column (.830) and PRO (.pro) formats
// share: fixed columns counted from 1, each field trimmed of blanks.
#include <string>
#include <string_view>

#include "model/date_time.h"
#include "model/survey_error.h"

namespace veldrane {

class HeaderRecords {
 public:
  // The PRO format reports a short T04 record; the fixed-column format
  // ignores it like the other short free-text records.
  enum class ShortT04 { Ignore, Report };

  explicit HeaderRecords(ShortT04 shortT04) : shortT04_(shortT04) {}

  // Handles one header line (its tag is the first three characters).
  // Returns false, having done nothing, when the tag is not T01 to T07:
  // the caller then treats the line as data. Problems go to `monitor` at its
  // current line.
  bool Dispatch(std::string_view line, IMonitor& monitor);
  // Whether the line's tag is one of T01 to T07 (what Dispatch handles).
  static bool IsHeaderTag(std::string_view line);

  const std::string& OriginalFileName() const { return originalFileName_; }
  const std::string& SurveyOrder() const { return surveyOrder_; }
  const std::string& HorizontalDatum() const { return horizontalDatum_; }
  const std::string& JobNumber() const { return jobNumber_; }
  const std::string& Units() const { return units_; }
  const std::string& VerticalDatum() const { return verticalDatum_; }
  // The date-time value 0 until a T03 record is read.
  DateTime SurveyDate() const { return surveyDate_; }
  const std::string& Projection() const { return projection_; }
  const std::string& Epoch() const { return epoch_; }
  const std::string& Contractor() const { return contractor_; }
  const std::string& Location() const { return location_; }
  const std::string& Title() const { return title_; }

 private:
  void ReadT01(std::string_view line, IMonitor& monitor);
  void ReadT02(std::string_view line, IMonitor& monitor);
  void ReadT03(std::string_view line, IMonitor& monitor);
  void ReadT04(std::string_view line, IMonitor& monitor);

  ShortT04 shortT04_;
  std::string originalFileName_;
  std::string surveyOrder_;
  std::string horizontalDatum_;
  std::string jobNumber_;
  std::string units_;
  std::string verticalDatum_;
  DateTime surveyDate_ = DateTime::Zero();
  std::string projection_;
  std::string epoch_;
  std::string contractor_;
  std::string location_;
  std::string title_;
};

}  // namespace veldrane
