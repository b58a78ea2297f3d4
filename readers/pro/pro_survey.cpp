#include "readers/pro/pro_survey.h"

#include "model/text.h"
#include "readers/fixedcolumn/line_cursor.h"
#include "readers/pro/pro_profile_centerline_iterator.h"

namespace veldrane {
namespace {

// Which line of `text` holds the character at `offset`, counted from 0.
std::int32_t LineIndexOf(std::string_view text, std::size_t offset) {
  const std::string_view before = text.substr(0, offset);
  auto index = static_cast<std::int32_t>(LineCursor::CountLines(before));
  // A partly read line is already counted; a finished one is not ours.
  if (!before.empty() && before.back() != '\n' && before.back() != '\r') --index;
  return index;
}

}  // namespace

ProSurvey::ProSurvey() : FixedColumnSurveyBase(HeaderRecords::ShortT04::Report) {}

void ProSurvey::OpenSurvey(const std::string& fileName) {
  currentPid_ = 0;
  profile_ = std::make_shared<ProProfileCenterline>(Codes());
  std::string contents;
  if (!BeginRead(fileName, contents)) return;
  const std::string_view text(contents);
  LineCursor cursor(text);
  std::string_view line;
  while (!cursor.AtEnd()) {
    const std::size_t start = cursor.Position();
    cursor.Next(line);
    if (line.empty() || line.front() != 'T') {
      DispatchDataSection(text.substr(start), LineNumber() + 1);
      break;
    }
    SetLineNumber(LineNumber() + 1);
    DispatchHeaderLine(line);
  }
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

void ProSurvey::DispatchDataSection(std::string_view text, std::int32_t firstLine) {
  profile_->ReservePoints(LineCursor::CountLines(text));
  // The data section is one record: one tab report at most, however many
  // tabs it holds. The report names the first line with a tab so that the
  // user can find it.
  const std::size_t tab = text.find('\t');
  if (tab != std::string_view::npos) {
    SetLineNumber(firstLine + LineIndexOf(text, tab));
    ReportTab();
  }
  SetLineNumber(firstLine - 1);
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.Next(line)) {
    // Blank lines are counted too, so reports name the right line.
    SetLineNumber(LineNumber() + 1);
    if (TrimBlanks(line).empty()) continue;
    AddDataLine(line);
  }
}

void ProSurvey::AddDataLine(std::string_view line) {
  bool added = false;
  profile_->AddPointFromLine(*this, currentPid_, line, added);
  if (added) ++currentPid_;
}

void ProSurvey::ReportTab() { AppendError("PRO files may not tabs."); }

}  // namespace veldrane
