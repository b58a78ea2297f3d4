#pragma once
// Selecting an error's line in the source view's text box, as the navigator
// does when an error of the error log is followed. Lines are the box's
// blocks (the box does not wrap lines), numbered from 1.
#include <QString>

class QPlainTextEdit;

namespace veldrane::ui {

class UserMessages;

// "Warning, the error line that you are looking for does not exist or is past the last line of the file."
extern const QString kLineNotFoundMessage;

// Selects line `line` with its line break and brings it into view. An empty
// text, or a line before the first or after the last (a final line break
// does not start a line), shows kLineNotFoundMessage instead. True when the
// line was selected.
bool HighlightLineInRTB(QPlainTextEdit& box, int line, UserMessages& messages);

// A character position on line `line` (1 to the last line), found by
// bisection over the text's character positions.
int HighlightLineInRTBHelper(const QPlainTextEdit& box, int line);

// Selects the whole line holding character `position`: from its first
// character to its last, the line break included (the last line has none).
void SelectLineInRTB(QPlainTextEdit& box, int position);

}  // namespace veldrane::ui
