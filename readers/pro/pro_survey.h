#pragma once
// Reader of PRO files (".pro"): the "T" header records of the fixed-column
// format followed by free-format lines of station, easting, northing,
// elevation and code, which make up the survey's one profile centerline.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "readers/fixedcolumn/fixed_column_survey_base.h"
#include "readers/fixedcolumn/line_source.h"
#include "readers/pro/pro_profile_centerline.h"

namespace veldrane {

class ProSurvey : public FixedColumnSurveyBase {
 public:
  ProSurvey();

  // Reads the whole file. Problems never stop the read: they are queued in
  // Errors() with the line they concern.
  void OpenSurvey(const std::string& fileName);
  // A new survey read from `path`: the survey factory's opener.
  static std::shared_ptr<IInterface> Open(const std::string& path);

  // The profile when it has at least one point; empty otherwise.
  std::shared_ptr<IProfileCenterlineIterator> ProfileCenterlines() override;

  // The identifier the next accepted point receives.
  std::int32_t CurrentPID() const { return currentPid_; }

 private:
  void DispatchHeaderLine(std::string_view line);
  // Everything from the first line that does not start with "T" (`first`,
  // the current line) to the end of the file.
  void DispatchDataSection(std::string_view first, LineSource& lines);
  void AddDataLine(std::string_view line);
  void ReportTab();

  std::shared_ptr<ProProfileCenterline> profile_;
  std::int32_t currentPid_ = 0;
};

}  // namespace veldrane
