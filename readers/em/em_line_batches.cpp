#include "readers/em/em_line_batches.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "model/text.h"

namespace veldrane {
namespace {

// Position of the first `c` in [from, size), or size.
std::size_t Find(const char* base, std::size_t from, std::size_t size, char c) {
  if (from >= size) return size;  // an empty batch has no bytes at all
  const void* hit = std::memchr(base + from, c, size - from);
  return hit == nullptr ? size : static_cast<std::size_t>(static_cast<const char*>(hit) - base);
}

bool HasBreak(const char* base, std::size_t from, std::size_t size) {
  return Find(base, from, size, '\n') < size || Find(base, from, size, '\r') < size;
}

}  // namespace

void EMBatchBytes::Resize(std::size_t size) {
  if (size > capacity_) {
    const std::size_t capacity = std::max(size, capacity_ * 2);
    auto grown = std::make_unique<char[]>(capacity);
    if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = capacity;
  }
  size_ = size;
}

// ---------------------------------------------------------------------------
// Cutting

void EMLineBatches::Cutter::Reset(IReadableFile* file) {
  file_ = file;
  eof_ = file == nullptr;
  skipLf_ = false;
  carry_.clear();
  lineNumber_ = 0;
}

void EMLineBatches::Cutter::ReadMore(EMBatchBytes& bytes) {
  const std::size_t old = bytes.size();
  bytes.Resize(old + batchBytes_);
  // A read that fails throws: the batches before it have been handed out.
  const std::size_t got = file_->Read(bytes.data() + old, batchBytes_);
  bytes.Resize(old + got);
  // A short read is the end of the input.
  if (got < batchBytes_) eof_ = true;
}

bool EMLineBatches::Cutter::Fill(EMLineBatch& batch) {
  batch.lines.clear();
  EMBatchBytes& bytes = batch.bytes;
  bytes.Resize(carry_.size());
  if (!carry_.empty()) std::memcpy(bytes.data(), carry_.data(), carry_.size());
  carry_.clear();
  std::size_t start = 0;
  std::size_t scanFrom = bytes.size();  // carried bytes hold no break
  while (!eof_) {
    ReadMore(bytes);
    if (skipLf_ && start < bytes.size()) {
      // The CR that ended the last batch and this LF are one break.
      if (bytes.data()[start] == '\n') ++start;
      skipLf_ = false;
      scanFrom = std::max(scanFrom, start);
    }
    // A line longer than a batch makes the batch longer.
    if (HasBreak(bytes.data(), scanFrom, bytes.size())) break;
    scanFrom = bytes.size();
  }
  CutLines(batch, start);
  return !batch.lines.empty();
}

void EMLineBatches::Cutter::CutLines(EMLineBatch& batch, std::size_t start) {
  const char* base = batch.bytes.data();
  const std::size_t size = batch.bytes.size();
  // The next CR and LF are looked up once each and kept until passed, so a
  // file with only one kind of break is not scanned for the other per line.
  std::size_t nextCr = Find(base, start, size, '\r');
  std::size_t nextLf = Find(base, start, size, '\n');
  std::size_t pos = start;
  while (pos < size) {
    if (nextCr < pos) nextCr = Find(base, pos, size, '\r');
    if (nextLf < pos) nextLf = Find(base, pos, size, '\n');
    const std::size_t brk = std::min(nextCr, nextLf);
    if (brk == size) {
      // No break after this: the rest is the last line, or the start of a
      // line the next batch completes.
      if (eof_) AddLine(batch, base + pos, base + size);
      else carry_.assign(base + pos, base + size);
      return;
    }
    AddLine(batch, base + pos, base + brk);
    pos = brk + 1;
    if (base[brk] == '\r') {
      if (pos < size) {
        if (base[pos] == '\n') ++pos;
      } else if (!eof_) {
        skipLf_ = true;
      }
    }
  }
}

void EMLineBatches::Cutter::AddLine(EMLineBatch& batch, const char* begin, const char* end) {
  EMPreparedLine& line = batch.lines.emplace_back();
  line.text = TrimBlanks(std::string_view(begin, static_cast<std::size_t>(end - begin)));
  line.number = ++lineNumber_;
  // Records ("#"), comments (";") and blank lines are the reader's.
  if (!line.text.empty() && line.text.front() != '#' && line.text.front() != ';')
    line.isCoordinate = ReadCoordinateLine(line.text, line.coordinate);
}

// ---------------------------------------------------------------------------
// Batches

EMLineBatches::EMLineBatches(std::size_t batchBytes, std::size_t threadFromBytes)
    : threadFromBytes_(threadFromBytes), cutter_(batchBytes) {}

EMLineBatches::~EMLineBatches() { Close(); }

bool EMLineBatches::OpenFile(const std::string& path) {
  Close();
  std::unique_ptr<IReadableFile> file = CurrentFileAccess().OpenForReading(path);
  if (!file) return false;
  Open(std::move(file));
  return true;
}

void EMLineBatches::OpenText(std::string text) { Open(MemoryFile(std::move(text))); }

void EMLineBatches::Open(std::unique_ptr<IReadableFile> file) {
  Close();
  file_ = std::move(file);
  cutter_.Reset(file_.get());
  if (file_->Size() < threadFromBytes_) return;
  try {
    ahead_ = std::make_unique<ReadAheadQueue<EMLineBatch>>([this](EMLineBatch& batch) { return cutter_.Fill(batch); });
  } catch (const std::system_error&) {
    // No second thread to be had: the batches are made on the reader's.
  }
}

void EMLineBatches::Close() {
  ahead_.reset();
  file_.reset();
  current_.reset();
  cutter_.Reset(nullptr);
}

const EMLineBatch* EMLineBatches::Next() {
  if (!file_) return nullptr;
  if (ahead_) return ahead_->Next();
  if (!current_) current_ = std::make_unique<EMLineBatch>();
  return cutter_.Fill(*current_) ? current_.get() : nullptr;
}

}  // namespace veldrane
