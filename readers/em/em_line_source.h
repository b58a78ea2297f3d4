#pragma once
// Physical lines of a survey file, read in large chunks and split in place.
// A line ends at CR LF, at a lone LF or at a lone CR; the break is not part
// of the line. Lines are views into the read buffer, valid until the next
// call to Next().
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace veldrane {

class EMLineSource {
 public:
  EMLineSource() = default;
  ~EMLineSource() { Close(); }
  EMLineSource(const EMLineSource&) = delete;
  EMLineSource& operator=(const EMLineSource&) = delete;

  // False when the file cannot be opened for reading.
  bool OpenFile(const std::string& path);
  // Reads lines from text already in memory.
  void OpenText(std::string text);
  void Close();
  bool IsOpen() const { return open_; }

  // The next line, or false at the end of the input.
  bool Next(std::string_view& line);
  // 1-based number of the line Next() returned last.
  std::int32_t LineNumber() const { return lineNumber_; }

  // Bytes read per chunk; the buffer grows beyond it only for longer lines.
  static constexpr std::size_t kChunkSize = std::size_t{4} << 20;

 private:
  static std::size_t FirstChunkSize(const std::string& path);
  // Moves the unread tail to the front and reads more; false at the end.
  bool Fill();
  std::size_t FindBreak();

  std::FILE* file_ = nullptr;
  bool open_ = false;
  bool eof_ = true;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // first unread byte
  std::size_t end_ = 0;    // one past the last byte read
  // Cached positions of the next CR and LF at or after begin_ (end_ when
  // the buffer holds none), so lone-CR and lone-LF files are scanned once.
  std::size_t nextCr_ = 0;
  std::size_t nextLf_ = 0;
  bool cacheValid_ = false;
  bool skipLf_ = false;  // the previous line ended in CR: a following LF belongs to it
  std::int32_t lineNumber_ = 0;
};

}  // namespace veldrane
