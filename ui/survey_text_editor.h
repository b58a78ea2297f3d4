#pragma once
// The source view's text box: a plain-text editor that stays usable on large
// survey files. Lines are not wrapped (a line of the box is a line of the
// file), a gutter shows line numbers, the caret's line is highlighted and
// the font is monospace.
//
// Loading shows the first part of the text at once and appends the rest a
// slice at a time from the event loop, so a large file is on screen at once
// and the window never freezes while the rest arrives; anything that needs
// the whole text calls FinishLoading first. Loading is not an edit: it
// cannot be undone and leaves the document unmodified.
#include <QPlainTextEdit>
#include <QTimer>

#include "ui/text_chunks.h"

namespace veldrane::ui {

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

  int GutterWidth() const;
  void PaintGutter(QPaintEvent* event);

 signals:
  // The user (or find and replace) changed the text; loading does not count.
  void textEdited();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void AppendSlice();
  void OnContentsChange(int position, int removed, int added);
  QString RawText() const;
  void UpdateGutter(const QRect& rect, int dy);
  void UpdateExtraSelections();

  QWidget* gutter_;
  TextChunks text_;
  QString pending_;  // the text being loaded
  qsizetype loadedUpTo_ = 0;
  bool loading_ = false;
  QTimer loadTimer_;
};

}  // namespace veldrane::ui
