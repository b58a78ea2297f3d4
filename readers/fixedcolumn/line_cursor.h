#pragma once
// Walks the lines of a text held in memory. A line ends at CR LF, at LF or
// at a lone CR; the terminator is not part of the line. A terminator at the
// very end of the text does not open one more (empty) line, so "a\n" holds
// one line and "a\n\n" two. The text is not copied: the cursor and the lines
// it hands out view the caller's buffer.
#include <cstddef>
#include <string_view>

#include "readers/fixedcolumn/line_source.h"

namespace veldrane {

class LineCursor : public LineSource {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}

  // The next line; false (and `line` untouched) when no line is left.
  bool Next(std::string_view& line) override;
  bool AtEnd() const { return position_ >= text_.size(); }
  // Offset of the first character of the next line.
  std::size_t Position() const { return position_; }
  // Continues at `offset`, which must be the start of a line (or the end).
  void Seek(std::size_t offset);

 private:
  std::string_view text_;
  std::size_t position_ = 0;
  // Offset of the next LF at or after the position (npos when none is left),
  // remembered so that a file of lone CRs is not scanned again per line.
  std::size_t nextLf_ = 0;
  bool lfKnown_ = false;
};

}  // namespace veldrane
