#pragma once
// A copy of the editor's text (lines joined by "\n") kept in chunks of whole
// lines. The source view keeps one in step with every edit because walking a
// large QTextDocument is slow (reading 50 MB back out of it takes about half
// a second), while searching this copy takes a few tens of milliseconds; an
// edit rewrites only the chunk it touches, and a snapshot for a check on
// another thread shares the chunks instead of copying the text.
#include <QString>
#include <QStringView>
#include <vector>

namespace veldrane::ui {

class TextChunks {
 public:
  void Reset(const QString& text);
  // Replaces `removed` characters at `position` by `inserted`; positions and
  // counts past the end are cut to it.
  void Replace(qsizetype position, qsizetype removed, QStringView inserted);

  qsizetype Size() const { return size_; }
  QString ToString() const;
  // The chunks, each but the last ending in "\n". Copying them shares the
  // text.
  const std::vector<QString>& Chunks() const { return chunks_; }

  // The position of the first match of `what` (which holds no line break) at
  // or after `from`, or -1. A whole-word match has no letter, digit or "_"
  // right before or after it.
  qsizetype IndexOf(QStringView what, qsizetype from, Qt::CaseSensitivity sensitivity, bool wholeWord) const;

 private:
  std::size_t ChunkAt(qsizetype position) const;
  void Split(std::size_t index);
  void Restart(std::size_t from);

  std::vector<QString> chunks_{QString()};
  std::vector<qsizetype> starts_{0};
  qsizetype size_ = 0;
};

}  // namespace veldrane::ui
