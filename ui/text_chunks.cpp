#include "ui/text_chunks.h"

#include <algorithm>

namespace veldrane::ui {
namespace {

// About 128 KB of text: an edit moves at most a few of them, and a 50 MB
// file makes some 800 chunks.
constexpr qsizetype kChunkSize = qsizetype{1} << 16;

// Pieces of about kChunkSize characters, each cut right after a line break
// (a line longer than that stays whole).
std::vector<QString> CutIntoChunks(const QString& text) {
  if (text.size() <= kChunkSize) return {text};
  std::vector<QString> pieces;
  qsizetype start = 0;
  while (text.size() - start > kChunkSize) {
    qsizetype cut = text.lastIndexOf(u'\n', start + kChunkSize - 1);
    if (cut < start) cut = text.indexOf(u'\n', start + kChunkSize);
    if (cut < 0) break;
    pieces.push_back(text.mid(start, cut + 1 - start));
    start = cut + 1;
  }
  if (start < text.size()) pieces.push_back(text.mid(start));
  return pieces;
}

bool IsWordCharacter(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

}  // namespace

void TextChunks::Reset(const QString& text) {
  chunks_ = CutIntoChunks(text);
  size_ = text.size();
  Restart(0);
}

std::size_t TextChunks::ChunkAt(qsizetype position) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), position);
  if (after == starts_.end() || position >= size_) return chunks_.size() - 1;
  return static_cast<std::size_t>(after - starts_.begin()) - 1;
}

void TextChunks::Replace(qsizetype position, qsizetype removed, QStringView inserted) {
  position = std::clamp<qsizetype>(position, 0, size_);
  removed = std::clamp<qsizetype>(removed, 0, size_ - position);
  const std::size_t first = ChunkAt(position);
  const std::size_t last = ChunkAt(position + removed);
  if (first == last) {
    chunks_[first].replace(position - starts_[first], removed, inserted.toString());
  } else {
    // Every chunk but the last ends in a line break, and so does the merged
    // one unless it is the last.
    QString merged = chunks_[first].left(position - starts_[first]);
    merged += inserted;
    merged += QStringView(chunks_[last]).mid(position + removed - starts_[last]);
    chunks_[first] = std::move(merged);
    chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(first) + 1,
                  chunks_.begin() + static_cast<std::ptrdiff_t>(last) + 1);
  }
  size_ += inserted.size() - removed;
  if (chunks_[first].size() > 2 * kChunkSize) Split(first);
  Restart(first);
}

void TextChunks::Split(std::size_t index) {
  std::vector<QString> pieces = CutIntoChunks(chunks_[index]);
  chunks_[index] = std::move(pieces.front());
  chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(index) + 1, std::make_move_iterator(pieces.begin() + 1),
                 std::make_move_iterator(pieces.end()));
}

void TextChunks::Restart(std::size_t from) {
  starts_.resize(chunks_.size());
  if (from == 0) starts_[0] = 0, from = 1;
  for (std::size_t i = from; i < chunks_.size(); ++i) starts_[i] = starts_[i - 1] + chunks_[i - 1].size();
}

QString TextChunks::ToString() const {
  if (chunks_.size() == 1) return chunks_.front();
  QString text;
  text.reserve(size_);
  for (const QString& chunk : chunks_) text += chunk;
  return text;
}

qsizetype TextChunks::IndexOf(QStringView what, qsizetype from, Qt::CaseSensitivity sensitivity,
                              bool wholeWord) const {
  if (what.isEmpty() || from >= size_) return -1;
  from = std::max<qsizetype>(from, 0);
  // A match never spans two chunks: `what` holds no line break, and every
  // chunk but the last ends in one. For the same reason a chunk's edges are
  // word boundaries.
  for (std::size_t i = ChunkAt(from); i < chunks_.size(); ++i) {
    const QStringView chunk(chunks_[i]);
    qsizetype at = std::max<qsizetype>(from - starts_[i], 0);
    while ((at = chunk.indexOf(what, at, sensitivity)) >= 0) {
      const qsizetype end = at + what.size();
      if (!wholeWord || ((at == 0 || !IsWordCharacter(chunk[at - 1])) &&
                         (end == chunk.size() || !IsWordCharacter(chunk[end])))) {
        return starts_[i] + at;
      }
      ++at;
    }
  }
  return -1;
}

}  // namespace veldrane::ui
