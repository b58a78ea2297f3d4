#include "readers/em/em_line_source.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace veldrane {

// A small file gets a buffer just large enough to see its end in one read,
// so opening a catalog of many small surveys does not clear megabytes each.
std::size_t EMLineSource::FirstChunkSize(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) return kChunkSize;
  constexpr std::size_t kMinimum = 4096;
  return std::clamp<std::size_t>(static_cast<std::size_t>(size) + 1, kMinimum, kChunkSize);
}

bool EMLineSource::OpenFile(const std::string& path) {
  Close();
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) return false;
  open_ = true;
  eof_ = false;
  buffer_.assign(FirstChunkSize(path), '\0');
  return true;
}

void EMLineSource::OpenText(std::string text) {
  Close();
  buffer_.assign(text.begin(), text.end());
  end_ = buffer_.size();
  open_ = true;
  eof_ = true;
}

void EMLineSource::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  open_ = false;
  eof_ = true;
  std::vector<char>().swap(buffer_);
  begin_ = end_ = 0;
  cacheValid_ = false;
  skipLf_ = false;
  lineNumber_ = 0;
}

bool EMLineSource::Fill() {
  if (eof_ || file_ == nullptr) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
  const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
  end_ += got;
  cacheValid_ = false;
  if (got == 0) {
    eof_ = true;
    return false;
  }
  return true;
}

std::size_t EMLineSource::FindBreak() {
  const char* base = buffer_.data();
  auto find = [&](char c) {
    const void* hit = std::memchr(base + begin_, c, end_ - begin_);
    return hit == nullptr ? end_ : static_cast<std::size_t>(static_cast<const char*>(hit) - base);
  };
  if (!cacheValid_) {
    nextCr_ = find('\r');
    nextLf_ = find('\n');
    cacheValid_ = true;
  } else {
    if (nextCr_ < begin_) nextCr_ = find('\r');
    if (nextLf_ < begin_) nextLf_ = find('\n');
  }
  return nextCr_ < nextLf_ ? nextCr_ : nextLf_;
}

bool EMLineSource::Next(std::string_view& line) {
  if (!open_) return false;
  while (true) {
    if (skipLf_) {
      if (begin_ == end_ && Fill()) continue;
      if (begin_ < end_ && buffer_[begin_] == '\n') ++begin_;
      skipLf_ = false;
    }
    if (begin_ < end_) {
      const std::size_t brk = FindBreak();
      if (brk < end_) {
        line = std::string_view(buffer_.data() + begin_, brk - begin_);
        skipLf_ = buffer_[brk] == '\r';
        begin_ = brk + 1;
        ++lineNumber_;
        return true;
      }
    }
    if (Fill()) continue;
    // End of input: what is left is the last line, without a break.
    if (begin_ >= end_) return false;
    line = std::string_view(buffer_.data() + begin_, end_ - begin_);
    begin_ = end_;
    ++lineNumber_;
    return true;
  }
}

}  // namespace veldrane
