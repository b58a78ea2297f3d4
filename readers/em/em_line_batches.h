#pragma once
// The lines of a survey file in batches: each batch holds a run of whole
// lines, trimmed of blanks, and every coordinate line in the common comma
// form already cut and its numbers read. What is left for the reader is the
// work that depends on the lines before (which feature a point belongs to,
// its code, the problems to report).
//
// A file of more than one batch is read and prepared on a second thread,
// at most two batches ahead of the reader, so on a large survey cutting and
// number reading overlap with the reader's own work. The batches are the
// same either way, and so is everything read from them.
//
// A line ends at CR LF, at a lone LF or at a lone CR; the break is not part
// of the line. A last line without a break is a line.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "config/file_access.h"
#include "config/read_ahead_queue.h"
#include "readers/em/em_coordinate_line.h"

namespace veldrane {

struct EMPreparedLine {
  std::string_view text;   // trimmed of blanks
  std::int32_t number = 0;  // 1-based line number in the file
  bool isCoordinate = false;
  CoordinateValues coordinate;  // set when isCoordinate
};

// Bytes that grow without being cleared first (a batch is refilled many
// times); growing keeps what is held.
class EMBatchBytes {
 public:
  char* data() { return data_.get(); }
  std::size_t size() const { return size_; }
  void Resize(std::size_t size);

 private:
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// Filled on the second thread: on cache lines of its own.
struct alignas(kCacheLine) EMLineBatch {
  EMBatchBytes bytes;  // what the lines view
  std::vector<EMPreparedLine> lines;
};

class EMLineBatches {
 public:
  // Bytes read per batch (a batch grows beyond it only for a longer line),
  // and the file size from which a second thread prepares the batches.
  static constexpr std::size_t kBatchBytes = std::size_t{1} << 20;
  static constexpr std::size_t kThreadFromBytes = std::size_t{2} << 20;

  explicit EMLineBatches(std::size_t batchBytes = kBatchBytes, std::size_t threadFromBytes = kThreadFromBytes);
  ~EMLineBatches();
  EMLineBatches(const EMLineBatches&) = delete;
  EMLineBatches& operator=(const EMLineBatches&) = delete;

  // False when the file cannot be opened for reading (through the calling
  // thread's file access).
  bool OpenFile(const std::string& path);
  // Reads lines from text already in memory.
  void OpenText(std::string text);
  // Reads lines from a file already open. A read that fails part way
  // throws its FileReadError from Next, after the lines read before it.
  void Open(std::unique_ptr<IReadableFile> file);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }
  // True while a second thread prepares the batches of the open file.
  bool IsReadingAhead() const { return ahead_ != nullptr; }

  // The next batch, or null at the end of the input. It stays valid until
  // the next call or Close. A failure while reading ahead (out of memory)
  // is thrown here, after the batches read before it.
  const EMLineBatch* Next();

 private:
  // Cuts the input into batches; used by one thread at a time. It writes
  // its state for every line, so it sits on cache lines of its own, apart
  // from the reader's state beside it.
  class alignas(kCacheLine) Cutter {
   public:
    explicit Cutter(std::size_t batchBytes) : batchBytes_(batchBytes) {}
    void Reset(IReadableFile* file);
    // Fills `batch` with the next lines; false (and an empty batch) at the end.
    bool Fill(EMLineBatch& batch);

   private:
    // Appends up to one batch of input; sets eof_ when the input ends.
    void ReadMore(EMBatchBytes& bytes);
    void CutLines(EMLineBatch& batch, std::size_t start);
    void AddLine(EMLineBatch& batch, const char* begin, const char* end);

    std::size_t batchBytes_;
    IReadableFile* file_ = nullptr;
    bool eof_ = true;
    bool skipLf_ = false;     // the last line ended in CR: a following LF belongs to it
    std::vector<char> carry_;  // a line begun at the end of the last batch
    std::int32_t lineNumber_ = 0;
  };

  std::size_t threadFromBytes_;
  Cutter cutter_;
  std::unique_ptr<IReadableFile> file_;
  std::unique_ptr<EMLineBatch> current_;  // when the batches are made here
  // Set while a second thread fills the batches; it owns cutter_ then.
  std::unique_ptr<ReadAheadQueue<EMLineBatch>> ahead_;
};

}  // namespace veldrane
