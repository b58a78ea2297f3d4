#include "ui/live_survey_check.h"

#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <string_view>

#include "config/module_context.h"
#include "model/notifier.h"
#include "model/text.h"
#include "readers/survey_factory.h"

namespace veldrane::ui {
namespace {

// A check reports through its marks only: nothing it meets reaches a
// message box or the terminal.
class SilentNotifier : public INotifier {
 public:
  void Notify(NoticeKind, const std::string&, const std::string&) override {}
};

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\n' && bytes[i] != '\r') continue;
    lines.push_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

// A record about a block of coordinate lines carries the number of the
// block's last line. When its description quotes one of the block's lines,
// the mark goes on that line, where the user has to look.
int QuotedLine(const std::vector<std::string_view>& lines, int line, const std::string& description) {
  constexpr int kLongestWalk = 100000;
  for (int at = std::min<int>(line, static_cast<int>(lines.size())); at >= 1 && line - at < kLongestWalk; --at) {
    const std::string_view text = TrimBlanks(lines[at - 1]);
    if (!text.empty() && text.front() == '#') break;
    if (!text.empty() && description.find(text) != std::string::npos) return at;
  }
  return line;
}

}  // namespace

std::vector<TextMark> ReadSurveyTextProblems(const std::string& path, const std::string& bytes) {
  std::vector<TextMark> marks;
  SilentNotifier silent;
  ScopedNotifier quiet(&silent);
  std::shared_ptr<ISurveyErrorQueue> queue;
  try {
    const std::shared_ptr<IInterface> read = OpenSurveyText(path, bytes);
    if (const auto survey = std::dynamic_pointer_cast<ISurvey>(read)) {
      // Some readers find repeated benchmarks and gage readings only when
      // these are asked for, as the catalog does when it lists the classes.
      survey->VerticalControls();
      survey->Gages();
      queue = survey->Errors();
    } else if (const auto traverse = std::dynamic_pointer_cast<ITraverse>(read)) queue = traverse->Errors();
  } catch (const std::exception&) {
    // No reader for the file, or a read given up: nothing to mark.
  }
  if (!queue) return marks;
  const std::vector<std::string_view> lines = queue->IsEmpty() ? std::vector<std::string_view>{} : SplitLines(bytes);
  while (!queue->IsEmpty()) {
    const auto error = queue->Pop();
    if (error->LineNumber() < 1 || error->Filename() != path) continue;
    const std::string description = error->Description();
    marks.push_back({QuotedLine(lines, error->LineNumber(), description), error->severity(),
                     QString::fromStdString(ToValidUtf8(description))});
  }
  return marks;
}

LiveSurveyCheck::LiveSurveyCheck(SurveyTextEditor& editor, QObject* parent) : QObject(parent), editor_(editor) {
  pause_.setSingleShot(true);
  pause_.setInterval(kPauseMs);
  connect(&pause_, &QTimer::timeout, this, &LiveSurveyCheck::Run);
  connect(&editor_, &SurveyTextEditor::textEdited, this, [this] {
    ++edits_;
    if (active_) pause_.start();
  });
  connect(&running_, &QFutureWatcherBase::finished, this, &LiveSurveyCheck::OnFinished);
}

void LiveSurveyCheck::Start(const QString& path, const SurveyTextFormat& format) {
  path_ = path;
  format_ = format;
  active_ = true;
  Run();
}

void LiveSurveyCheck::Stop() {
  active_ = false;
  runAgain_ = false;
  checking_ = false;
  pause_.stop();
  editor_.SetMarks({});
}

void LiveSurveyCheck::Run() {
  if (!active_) return;
  if (running_.isRunning()) {
    runAgain_ = true;
    return;
  }
  checkedEdits_ = edits_;
  checking_ = true;
  // The check reads in a module context of its own: the catalog's
  // configuration, but an error log nobody shows instead of the catalog's.
  running_.setFuture(QtConcurrent::run([path = path_.toStdString(), format = format_, pieces = editor_.Text().Chunks(),
                                        context = CurrentModuleContext().Derive()] {
    ModuleContextScope scope(*context);
    return ReadSurveyTextProblems(path, format.ReadableBytes(pieces));
  }));
}

void LiveSurveyCheck::OnFinished() {
  if (!active_) return;
  checking_ = false;
  if (runAgain_) {
    runAgain_ = false;
    Run();
    return;
  }
  if (checkedEdits_ != edits_) return;
  editor_.SetMarks(running_.result());
  emit checked();
}

}  // namespace veldrane::ui
