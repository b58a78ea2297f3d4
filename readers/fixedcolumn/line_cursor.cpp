#include "readers/fixedcolumn/line_cursor.h"

#include <cstring>

namespace veldrane {

bool LineCursor::Next(std::string_view& line) {
  if (position_ >= text_.size()) return false;
  const char* base = text_.data();
  const std::size_t size = text_.size();
  if (!lfKnown_ || (nextLf_ != std::string_view::npos && nextLf_ < position_)) {
    const void* lf = std::memchr(base + position_, '\n', size - position_);
    nextLf_ = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) : std::string_view::npos;
    lfKnown_ = true;
  }
  const std::size_t limit = nextLf_ == std::string_view::npos ? size : nextLf_;
  const void* cr = std::memchr(base + position_, '\r', limit - position_);
  std::size_t end = limit;
  std::size_t next = limit == size ? size : limit + 1;
  if (cr) {
    end = static_cast<std::size_t>(static_cast<const char*>(cr) - base);
    // CR LF is one terminator; a CR elsewhere ends the line on its own.
    next = (end + 1 < size && base[end + 1] == '\n') ? end + 2 : end + 1;
  }
  line = text_.substr(position_, end - position_);
  position_ = next;
  return true;
}

void LineCursor::Seek(std::size_t offset) {
  position_ = offset < text_.size() ? offset : text_.size();
  lfKnown_ = false;
}

}  // namespace veldrane
