#pragma once
// The source view's text box: a plain-text editor that stays usable on large
// survey files. Lines are not wrapped (a line of the box is a line of the
// file), a gutter shows line numbers, the caret's line is highlighted and
// the font is monospace.
//
// Problems found in the text are marked on their lines: a sign in the
// gutter coloured by severity, a wavy underline, and the descriptions as the
// line's tooltip. Record codes ("#H01", "#X01", ...) have a colour of their
// own. Both are drawn for the visible lines only, so a large file costs
// nothing more.
//
// Loading shows the first part of the text at once and appends the rest a
// slice at a time from the event loop, so a large file is on screen at once
// and the window never freezes while the rest arrives; anything that needs
// the whole text calls FinishLoading first. Loading is not an edit: it
// cannot be undone and leaves the document unmodified.
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>
#include <map>
#include <vector>

#include "ui/text_chunks.h"

namespace veldrane::ui {

// A problem on a line (1-based); severity as in error records (0 warning, 1
// error, 2 fatal).
struct TextMark {
  int line = 0;
  int severity = 0;
  QString description;
  bool operator==(const TextMark&) const = default;
};

class SurveyTextEditor : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit SurveyTextEditor(QWidget* parent = nullptr);

  // Shows `text` (lines joined by "\n").
  void LoadText(const QString& text);
  // Appends whatever is still to come, now.
  void FinishLoading();
  bool IsLoading() const { return loading_; }

  // The text, lines joined by "\n", kept in step with every edit (reading it
  // does not walk the document).
  const TextChunks& Text() const { return text_; }

  // Replaces the marks. Several marks on one line show as one, with the
  // highest severity and every description.
  void SetMarks(const std::vector<TextMark>& marks);
  // The marks by line.
  const std::map<int, TextMark>& Marks() const { return marks_; }

  int GutterWidth() const;
  void PaintGutter(QPaintEvent* event);
  // The tooltip of a point of the text area (viewport coordinates).
  QString ToolTipAt(const QPoint& point) const;

 signals:
  // The user (or find and replace) changed the text; loading does not count.
  void textEdited();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  void AppendSlice();
  void OnContentsChange(int position, int removed, int added);
  QString RawText() const;
  void UpdateGutter(const QRect& rect, int dy);
  void UpdateExtraSelections();
  std::vector<QTextBlock> VisibleBlocks() const;

  QWidget* gutter_;
  std::map<int, TextMark> marks_;
  TextChunks text_;
  QString pending_;  // the text being loaded
  qsizetype loadedUpTo_ = 0;
  bool loading_ = false;
  QTimer loadTimer_;
};

}  // namespace veldrane::ui
