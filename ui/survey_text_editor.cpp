#include "ui/survey_text_editor.h"

#include <QElapsedTimer>
#include <QFontDatabase>
#include <QPainter>
#include <QTextBlock>

namespace veldrane::ui {
namespace {

// A slice appended while loading, cut at a line end; slices are appended
// until the budget of one turn of the event loop is spent.
constexpr qsizetype kLoadSlice = qsizetype{1} << 18;
constexpr int kLoadBudgetMs = 25;
constexpr int kGutterPadding = 4;

class LineNumberGutter : public QWidget {
 public:
  explicit LineNumberGutter(SurveyTextEditor* editor) : QWidget(editor), editor_(editor) {}
  QSize sizeHint() const override { return {editor_->GutterWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override { editor_->PaintGutter(event); }

 private:
  SurveyTextEditor* editor_;
};

QFont SourceFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setFamilies({QStringLiteral("Courier New"), font.family()});
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  return font;
}

}  // namespace

SurveyTextEditor::SurveyTextEditor(QWidget* parent) : QPlainTextEdit(parent), gutter_(new LineNumberGutter(this)) {
  setObjectName(QStringLiteral("rtbContents"));
  setFont(SourceFont());
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setMinimumSize(1, 1);
  loadTimer_.setSingleShot(true);
  connect(&loadTimer_, &QTimer::timeout, this, &SurveyTextEditor::AppendSlice);
  connect(document(), &QTextDocument::contentsChange, this, &SurveyTextEditor::OnContentsChange);
  connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(GutterWidth(), 0, 0, 0); });
  connect(this, &QPlainTextEdit::updateRequest, this, &SurveyTextEditor::UpdateGutter);
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, &SurveyTextEditor::UpdateExtraSelections);
  setViewportMargins(GutterWidth(), 0, 0, 0);
  UpdateExtraSelections();
}

void SurveyTextEditor::LoadText(const QString& text) {
  loadTimer_.stop();
  loading_ = true;
  text_.Reset(text);
  pending_ = text;
  loadedUpTo_ = 0;
  document()->setUndoRedoEnabled(false);
  clear();
  AppendSlice();
  moveCursor(QTextCursor::Start);
}

void SurveyTextEditor::FinishLoading() {
  while (loading_) AppendSlice();
}

void SurveyTextEditor::AppendSlice() {
  loadTimer_.stop();
  QElapsedTimer spent;
  spent.start();
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  do {
    qsizetype cut = pending_.size();
    if (cut - loadedUpTo_ > kLoadSlice) {
      const qsizetype lineEnd = pending_.indexOf(u'\n', loadedUpTo_ + kLoadSlice);
      if (lineEnd >= 0) cut = lineEnd + 1;
    }
    end.insertText(pending_.mid(loadedUpTo_, cut - loadedUpTo_));
    loadedUpTo_ = cut;
  } while (loadedUpTo_ < pending_.size() && spent.elapsed() < kLoadBudgetMs);
  if (loadedUpTo_ < pending_.size()) {
    loadTimer_.start(0);
    return;
  }
  pending_.clear();
  loading_ = false;
  document()->setUndoRedoEnabled(true);
  document()->setModified(false);
}

QString SurveyTextEditor::RawText() const {
  QString text = document()->toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  return text;
}

void SurveyTextEditor::OnContentsChange(int position, int removed, int added) {
  if (loading_) return;
  // The document counts one character past its text; a change reported up
  // to it (the document does so for some edits) ends at the text's end.
  const int length = document()->characterCount() - 1;
  added = std::min(added, length - position);
  QTextCursor inserted(document());
  inserted.setPosition(position);
  inserted.setPosition(position + std::max(added, 0), QTextCursor::KeepAnchor);
  QString text = inserted.selectedText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  text_.Replace(position, removed, text);
  if (text_.Size() != length) text_.Reset(RawText());
  emit textEdited();
}

int SurveyTextEditor::GutterWidth() const {
  int digits = 1;
  for (int max = std::max(1, blockCount()); max >= 10; max /= 10) ++digits;
  return 2 * kGutterPadding + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void SurveyTextEditor::UpdateGutter(const QRect& rect, int dy) {
  if (dy != 0) gutter_->scroll(0, dy);
  else gutter_->update(0, rect.y(), gutter_->width(), rect.height());
}

void SurveyTextEditor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect inside = contentsRect();
  gutter_->setGeometry(QRect(inside.left(), inside.top(), GutterWidth(), inside.height()));
}

void SurveyTextEditor::PaintGutter(QPaintEvent* event) {
  QPainter painter(gutter_);
  painter.fillRect(event->rect(), palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::PlaceholderText));
  const int width = gutter_->width() - kGutterPadding;
  const int lineHeight = fontMetrics().height();
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  while (block.isValid() && top <= event->rect().bottom()) {
    const int bottom = top + qRound(blockBoundingRect(block).height());
    if (block.isVisible() && bottom >= event->rect().top()) {
      painter.drawText(0, top, width, lineHeight, Qt::AlignRight, QString::number(block.blockNumber() + 1));
    }
    block = block.next();
    top = bottom;
  }
}

void SurveyTextEditor::UpdateExtraSelections() {
  QTextEdit::ExtraSelection caretLine;
  caretLine.format.setBackground(QColor(255, 250, 205));
  caretLine.format.setProperty(QTextFormat::FullWidthSelection, true);
  caretLine.cursor = textCursor();
  caretLine.cursor.clearSelection();
  setExtraSelections({caretLine});
}

}  // namespace veldrane::ui
