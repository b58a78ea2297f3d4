#include "readers/fixedcolumn/chunked_line_reader.h"

#include <cstring>

namespace veldrane {

ChunkedLineReader::ChunkedLineReader(std::size_t chunkSize) : buffer_(chunkSize < 16 ? 16 : chunkSize) {}

bool ChunkedLineReader::Open(const std::string& path) {
  failure_.clear();
  file_ = CurrentFileAccess().OpenForReading(path);
  if (!file_) return false;
  fileSize_ = static_cast<std::size_t>(file_->Size());
  begin_ = end_ = 0;
  lfPos_ = std::string_view::npos;
  lfScanned_ = 0;
  eof_ = false;
  return true;
}

bool ChunkedLineReader::Refill() {
  if (eof_ || !file_) return false;
  const std::size_t shift = begin_;
  if (shift > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= shift;
    begin_ = 0;
    if (lfPos_ != std::string_view::npos) lfPos_ -= shift;
    lfScanned_ = lfScanned_ > shift ? lfScanned_ - shift : 0;
  }
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);  // one line fills the window
  std::size_t got = 0;
  try {
    got = file_->Read(buffer_.data() + end_, buffer_.size() - end_);
  } catch (const FileReadError& failure) {
    failure_ = failure.what();
  }
  end_ += got;
  if (got == 0) {
    eof_ = true;
    file_.reset();
  }
  return got > 0;
}

std::size_t ChunkedLineReader::FindLineFeed() {
  if (lfPos_ != std::string_view::npos && lfPos_ >= begin_) return lfPos_;
  const std::size_t from = lfScanned_ > begin_ ? lfScanned_ : begin_;
  const void* hit = from < end_ ? std::memchr(buffer_.data() + from, '\n', end_ - from) : nullptr;
  if (hit) {
    lfPos_ = static_cast<std::size_t>(static_cast<const char*>(hit) - buffer_.data());
  } else {
    lfPos_ = std::string_view::npos;
    lfScanned_ = end_;
  }
  return lfPos_;
}

bool ChunkedLineReader::Next(std::string_view& line) {
  while (true) {
    const std::size_t lf = FindLineFeed();
    const std::size_t limit = lf == std::string_view::npos ? end_ : lf;
    const char* base = buffer_.data();
    const void* cr = limit > begin_ ? std::memchr(base + begin_, '\r', limit - begin_) : nullptr;
    std::size_t stop = limit;
    if (cr) stop = static_cast<std::size_t>(static_cast<const char*>(cr) - base);
    const bool terminated = cr != nullptr || lf != std::string_view::npos;
    // A CR as the last byte read may be the first half of CR LF.
    const bool crAtWindowEnd = cr != nullptr && stop + 1 == end_ && !eof_;
    if (terminated && !crAtWindowEnd) {
      std::size_t next = stop + 1;
      if (base[stop] == '\r' && next < end_ && base[next] == '\n') ++next;
      line = std::string_view(base + begin_, stop - begin_);
      begin_ = next;
      return true;
    }
    if (!eof_) {
      Refill();  // at the end of the file it sets eof_, and the loop looks again
      continue;
    }
    // End of the file: what is left is the last line, unterminated. After a
    // failed read it is a line cut short, and not handed out.
    if (begin_ >= end_ || !failure_.empty()) return false;
    line = std::string_view(buffer_.data() + begin_, end_ - begin_);
    begin_ = end_;
    return true;
  }
}

}  // namespace veldrane
