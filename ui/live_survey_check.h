#pragma once
// Marks the problems of the shown text, when it is loaded and, while it is
// edited, before it is saved: half a second after the last keystroke the
// editor's text is read, on a worker thread, by the same reader that reads
// the file, as if it were the file (its folder still supplies CODES.DAT and
// the baseline file), and each problem found on a line of it becomes a mark
// in the editor. (A problem the reader files under the last line of a block
// of coordinate lines is marked on the block's line that its description
// quotes.)
//
// Typing is never held up: taking the text shares the editor's copy
// (TextChunks) instead of copying it, and a check runs while typing goes
// on. An edit made after a check took its text outdates that check: its
// result is dropped, and the pause after the edit starts a new one. At most
// one check runs at a time. The reading never touches the catalog's error
// log, which keeps listing what the saved file gives.
#include <QFutureWatcher>
#include <QObject>
#include <QTimer>
#include <string>
#include <vector>

#include "ui/survey_text_editor.h"
#include "ui/survey_text_format.h"

namespace veldrane::ui {

// The problems the reader finds in `bytes` read as the file `path`, by line.
std::vector<TextMark> ReadSurveyTextProblems(const std::string& path, const std::string& bytes);

class LiveSurveyCheck : public QObject {
  Q_OBJECT

 public:
  static constexpr int kPauseMs = 500;

  explicit LiveSurveyCheck(SurveyTextEditor& editor, QObject* parent = nullptr);

  // Checks the text now and after every pause in typing; `format` is the
  // file's, so the reader sees the bytes a save would write.
  void Start(const QString& path, const SurveyTextFormat& format);
  // No more checks; the marks are cleared and a running check is ignored.
  void Stop();
  // Whether marks are still to come for the text as it is.
  bool Checking() const { return checking_ || pause_.isActive(); }

 signals:
  // New marks are shown.
  void checked();

 private:
  void Run();
  void OnFinished();

  SurveyTextEditor& editor_;
  QString path_;
  SurveyTextFormat format_;
  QTimer pause_;
  QFutureWatcher<std::vector<TextMark>> running_;
  quint64 edits_ = 0;         // edits made so far
  quint64 checkedEdits_ = 0;  // the edit count when the running check took its text
  bool active_ = false;
  bool runAgain_ = false;     // the pause ended while a check was running
  bool checking_ = false;     // a check runs, its marks not shown yet
};

}  // namespace veldrane::ui
