#include "ui/text_line_selection.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "ui/user_messages.h"

namespace veldrane::ui {

const QString kLineNotFoundMessage = QStringLiteral(
    "Warning, the error line that you are looking for does not exist or is past the last line of the file.");

namespace {

// Characters of the text, without the end-of-document mark the box adds.
int TextLength(const QPlainTextEdit& box) { return box.document()->characterCount() - 1; }

// The 1-based line of a character position.
int LineOf(const QPlainTextEdit& box, int position) { return box.document()->findBlock(position).blockNumber() + 1; }

}  // namespace

bool HighlightLineInRTB(QPlainTextEdit& box, int line, UserMessages& messages) {
  const int length = TextLength(box);
  // The last character's line is the last line: a final line break belongs
  // to the line it ends.
  if (length == 0 || line < 1 || line > LineOf(box, length - 1)) {
    messages.Inform(kLineNotFoundMessage, QStringLiteral("Halden Veldrane"));
    return false;
  }
  SelectLineInRTB(box, HighlightLineInRTBHelper(box, line));
  return true;
}

int HighlightLineInRTBHelper(const QPlainTextEdit& box, int line) {
  int low = 0;
  int high = TextLength(box) - 1;
  while (low < high) {
    const int middle = low + (high - low + 1) / 2;
    const int found = LineOf(box, middle);
    if (found == line) return middle;
    if (line < found) high = middle - 1;
    else low = middle + 1;
  }
  return low;
}

void SelectLineInRTB(QPlainTextEdit& box, int position) {
  const QTextBlock block = box.document()->findBlock(position);
  const int first = block.position();
  const int last = std::min(block.position() + block.length() - 1, TextLength(box) - 1);
  QTextCursor cursor(box.document());
  cursor.setPosition(first);
  cursor.setPosition(last + 1, QTextCursor::KeepAnchor);
  box.setTextCursor(cursor);
  box.centerCursor();
}

}  // namespace veldrane::ui
