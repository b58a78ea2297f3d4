#include "ui/survey_text_editor.h"

#include <QElapsedTimer>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include "config/error_log.h"
#include "model/constants.h"

namespace veldrane::ui {
namespace {

// A slice appended while loading, cut at a line end; slices are appended
// until the budget of one turn of the event loop is spent.
constexpr qsizetype kLoadSlice = qsizetype{1} << 18;
constexpr int kLoadBudgetMs = 25;
constexpr int kGutterPadding = 4;

const QColor kRecordCodeColour(0, 84, 166);

QColor SeverityColour(int severity) {
  if (severity == kSeverityWarning) return {226, 150, 0};
  if (severity == kSeverityFatal) return {120, 0, 40};
  return {215, 38, 38};
}

// The gutter's sign for a line's problems: a triangle for a warning, a
// circle for an error, a square for a fatal error, so that the severity
// does not rest on colour alone.
void PaintMarkSign(QPainter& painter, const QRectF& box, int severity) {
  const QRectF sign = box.adjusted(box.width() * 0.2, box.height() * 0.2, -box.width() * 0.2, -box.height() * 0.2);
  QPainterPath path;
  if (severity == kSeverityWarning) {
    path.moveTo(sign.center().x(), sign.top());
    path.lineTo(sign.bottomRight());
    path.lineTo(sign.bottomLeft());
    path.closeSubpath();
  } else if (severity == kSeverityFatal) {
    path.addRect(sign);
  } else {
    path.addEllipse(sign);
  }
  painter.fillPath(path, SeverityColour(severity));
}

class LineNumberGutter : public QWidget {
 public:
  explicit LineNumberGutter(SurveyTextEditor* editor) : QWidget(editor), editor_(editor) {}
  QSize sizeHint() const override { return {editor_->GutterWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override { editor_->PaintGutter(event); }
  bool event(QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = editor_->ToolTipAt(QPoint(0, help->pos().y()));
    if (tip.isEmpty()) QToolTip::hideText();
    else QToolTip::showText(help->globalPos(), tip, this);
    return true;
  }

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
  connect(document(), &QTextDocument::contentsChanged, this, &SurveyTextEditor::UpdateExtraSelections);
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

void SurveyTextEditor::SetMarks(const std::vector<TextMark>& marks) {
  std::map<int, TextMark> byLine;
  for (const TextMark& mark : marks) {
    const QString text = QString::fromUtf8(SeverityWord(mark.severity)) + QStringLiteral(": ") + mark.description;
    const auto [entry, added] = byLine.try_emplace(mark.line, TextMark{mark.line, mark.severity, text});
    if (added || entry->second.description.split(u'\n').contains(text)) continue;
    entry->second.severity = std::max(entry->second.severity, mark.severity);
    entry->second.description += u'\n' + text;
  }
  if (byLine == marks_) return;
  marks_ = std::move(byLine);
  gutter_->update();
  UpdateExtraSelections();
}

QString SurveyTextEditor::ToolTipAt(const QPoint& point) const {
  const QTextBlock block = cursorForPosition(point).block();
  const QRectF area = blockBoundingGeometry(block).translated(contentOffset());
  if (point.y() < area.top() || point.y() > area.bottom()) return {};
  const auto mark = marks_.find(block.blockNumber() + 1);
  return mark == marks_.end() ? QString() : mark->second.description;
}

bool SurveyTextEditor::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QPlainTextEdit::viewportEvent(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const QString tip = ToolTipAt(help->pos());
  if (tip.isEmpty()) QToolTip::hideText();
  else QToolTip::showText(help->globalPos(), tip, viewport());
  return true;
}

int SurveyTextEditor::GutterWidth() const {
  int digits = 1;
  for (int max = std::max(1, blockCount()); max >= 10; max /= 10) ++digits;
  return fontMetrics().height() + kGutterPadding + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

// Called once the view has moved or repainted; the extra selections follow
// a scroll (only then: setting them asks for a repaint itself).
void SurveyTextEditor::UpdateGutter(const QRect& rect, int dy) {
  if (dy == 0) {
    gutter_->update(0, rect.y(), gutter_->width(), rect.height());
    return;
  }
  gutter_->scroll(0, dy);
  UpdateExtraSelections();
}

void SurveyTextEditor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect inside = contentsRect();
  gutter_->setGeometry(QRect(inside.left(), inside.top(), GutterWidth(), inside.height()));
  UpdateExtraSelections();
}

void SurveyTextEditor::PaintGutter(QPaintEvent* event) {
  QPainter painter(gutter_);
  painter.fillRect(event->rect(), palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::PlaceholderText));
  painter.setRenderHint(QPainter::Antialiasing);
  const int width = gutter_->width() - kGutterPadding;
  const int lineHeight = fontMetrics().height();
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  while (block.isValid() && top <= event->rect().bottom()) {
    const int bottom = top + qRound(blockBoundingRect(block).height());
    if (block.isVisible() && bottom >= event->rect().top()) {
      painter.drawText(0, top, width, lineHeight, Qt::AlignRight, QString::number(block.blockNumber() + 1));
      const auto mark = marks_.find(block.blockNumber() + 1);
      if (mark != marks_.end()) PaintMarkSign(painter, QRectF(0, top, lineHeight, lineHeight), mark->second.severity);
    }
    block = block.next();
    top = bottom;
  }
}

std::vector<QTextBlock> SurveyTextEditor::VisibleBlocks() const {
  std::vector<QTextBlock> blocks;
  QTextBlock block = firstVisibleBlock();
  qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
  while (block.isValid() && top <= viewport()->height()) {
    if (block.isVisible()) blocks.push_back(block);
    top += blockBoundingRect(block).height();
    block = block.next();
  }
  return blocks;
}

// The caret's line, then the record codes and marks of the visible lines.
void SurveyTextEditor::UpdateExtraSelections() {
  QList<QTextEdit::ExtraSelection> selections;
  QTextEdit::ExtraSelection caretLine;
  caretLine.format.setBackground(QColor(255, 250, 205));
  caretLine.format.setProperty(QTextFormat::FullWidthSelection, true);
  caretLine.cursor = textCursor();
  caretLine.cursor.clearSelection();
  selections << caretLine;
  const auto span = [this](int from, int length, const QTextCharFormat& format) {
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(document());
    selection.cursor.setPosition(from);
    selection.cursor.setPosition(from + length, QTextCursor::KeepAnchor);
    selection.format = format;
    return selection;
  };
  QTextCharFormat code;
  code.setForeground(kRecordCodeColour);
  code.setFontWeight(QFont::Bold);
  for (const QTextBlock& block : VisibleBlocks()) {
    const QString text = block.text();
    qsizetype start = 0;
    while (start < text.size() && text[start] == u' ') ++start;
    if (start < text.size() && text[start] == u'#') {
      qsizetype length = 1;
      while (length < 4 && start + length < text.size() && !text[start + length].isSpace()) ++length;
      selections << span(block.position() + static_cast<int>(start), static_cast<int>(length), code);
    }
    const auto mark = marks_.find(block.blockNumber() + 1);
    if (mark != marks_.end() && !text.isEmpty()) {
      QTextCharFormat underline;
      underline.setUnderlineStyle(QTextCharFormat::WaveUnderline);
      underline.setUnderlineColor(SeverityColour(mark->second.severity));
      selections << span(block.position(), static_cast<int>(text.size()), underline);
    }
  }
  setExtraSelections(selections);
}

}  // namespace veldrane::ui
