#pragma once
// Reads the lines of a file in one pass through a window of memory that is
// reused chunk after chunk, so a large survey never has to be held in
// memory as a whole (or copied into freshly touched pages). Line ends are
// CR LF, LF or a lone CR; a terminator at the very end of the file opens no
// further line. A line longer than the window grows it.
//
// The file is opened through the calling thread's file access. A read that
// fails part way ends the lines there; ReadFailure() then says why, and the
// reader reports it.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "config/file_access.h"
#include "readers/fixedcolumn/line_source.h"

namespace veldrane {

class ChunkedLineReader : public LineSource {
 public:
  explicit ChunkedLineReader(std::size_t chunkSize = std::size_t{1} << 20);

  // False when the path cannot be opened as a file.
  bool Open(const std::string& path);
  bool Next(std::string_view& line) override;
  // The size of the file when it was opened.
  std::size_t FileSize() const { return fileSize_; }
  // Why the lines ended before the end of the file; empty when they did not.
  const std::string& ReadFailure() const { return failure_; }

 private:
  // Moves the unread text to the front and reads more after it; false when
  // nothing more could be read.
  bool Refill();
  std::size_t FindLineFeed();

  std::unique_ptr<IReadableFile> file_;
  std::string failure_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // first unread byte
  std::size_t end_ = 0;    // end of the bytes read
  bool eof_ = true;
  std::size_t fileSize_ = 0;
  // The next LF at or after begin_, when known; else every byte before
  // lfScanned_ is known to be no LF. Files of lone CRs are thus scanned once.
  std::size_t lfPos_ = std::string_view::npos;
  std::size_t lfScanned_ = 0;
};

}  // namespace veldrane
