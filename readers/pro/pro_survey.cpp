#include "readers/pro/pro_survey.h"

#include "model/text.h"
#include "readers/fixedcolumn/chunked_line_reader.h"
#include "readers/pro/pro_profile_centerline_iterator.h"

namespace veldrane {

ProSurvey::ProSurvey() : FixedColumnSurveyBase(HeaderRecords::ShortT04::Report) {}

void ProSurvey::OpenSurvey(const std::string& fileName) {
  currentPid_ = 0;
  profile_ = std::make_shared<ProProfileCenterline>(Codes());
  ChunkedLineReader lines;
  if (!BeginRead(fileName, lines)) return;
  std::string_view line;
  while (lines.Next(line)) {
    SetLineNumber(LineNumber() + 1);
    if (line.empty() || line.front() != 'T') {
      DispatchDataSection(line, lines);
      break;
    }
    DispatchHeaderLine(line);
  }
  EndRead(lines);
}

std::shared_ptr<IInterface> ProSurvey::Open(const std::string& path) {
  auto survey = std::make_shared<ProSurvey>();
  survey->OpenSurvey(path);
  return survey;
}

std::shared_ptr<IProfileCenterlineIterator> ProSurvey::ProfileCenterlines() {
  auto iterator = std::make_shared<ProProfileCenterlineIterator>();
  if (profile_ && profile_->PointCount() > 0) iterator->InitProfile(profile_);
  return iterator;
}

void ProSurvey::DispatchHeaderLine(std::string_view line) {
  line = TrimRightBlanks(line);
  if (line.find('\t') != std::string_view::npos) ReportTab();
  // A "T" line with a tag of its own is a data line that happens to start
  // with "T" (it will not be numeric, and says so).
  if (!MutableHeaders().Dispatch(line, *this)) AddDataLine(line);
}

void ProSurvey::DispatchDataSection(std::string_view first, LineSource& lines) {
  // The data section is one record: one tab report at most, however many
  // tabs it holds. The report names the first line with a tab so that the
  // user can find it.
  bool tabReported = false;
  std::string_view line = first;
  do {
    if (!tabReported && line.find('\t') != std::string_view::npos) {
      ReportTab();
      tabReported = true;
    }
    // Blank lines are counted too (by the caller and below), so reports
    // name the right line.
    if (!TrimBlanks(line).empty()) AddDataLine(line);
    if (!lines.Next(line)) break;
    SetLineNumber(LineNumber() + 1);
  } while (true);
}

void ProSurvey::AddDataLine(std::string_view line) {
  bool added = false;
  profile_->AddPointFromLine(*this, currentPid_, line, added);
  if (added) ++currentPid_;
}

void ProSurvey::ReportTab() { AppendError("PRO files may not tabs."); }

}  // namespace veldrane
