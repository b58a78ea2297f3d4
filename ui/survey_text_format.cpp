#include "ui/survey_text_format.h"

#include <QByteArrayView>
#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringView>
#include <algorithm>
#include <array>
#include <unordered_map>

#include "model/text.h"

namespace veldrane::ui {
namespace {

constexpr QChar kParagraphSeparator(0x2029);
constexpr QChar kFrameStart(0xFDD0);
constexpr QChar kFrameEnd(0xFDD1);
constexpr std::string_view kByteOrderMark("\xEF\xBB\xBF");

std::string_view BreakBytes(LineBreak kind, TextEncoding encoding) {
  switch (kind) {
    case LineBreak::LF: return "\n";
    case LineBreak::CRLF: return "\r\n";
    case LineBreak::CR: return "\r";
    // Only a UTF-8 file can hold these (Windows-1252 has no such characters).
    case LineBreak::ParagraphSeparator: return encoding == TextEncoding::Utf8 ? "\xE2\x80\xA9" : "\n";
    case LineBreak::FrameStart: return encoding == TextEncoding::Utf8 ? "\xEF\xB7\x90" : "\n";
    case LineBreak::FrameEnd: return encoding == TextEncoding::Utf8 ? "\xEF\xB7\x91" : "\n";
  }
  return "\n";
}

QString DecodeWindows1252(std::string_view bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    const char16_t cp = Windows1252CodePoint(byte);
    *out++ = QChar(cp != 0 ? cp : byte);  // an undefined byte stays the control character of its number
  }
  return text;
}

// The Windows-1252 byte of a character, or -1 when the code page has none.
int Windows1252Byte(char16_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return cp;
  if (cp < 0xA0) return Windows1252CodePoint(static_cast<unsigned char>(cp)) == 0 ? cp : -1;
  for (int byte = 0x80; byte < 0xA0; ++byte) {
    if (Windows1252CodePoint(static_cast<unsigned char>(byte)) == cp) return byte;
  }
  return -1;
}

// Appends the line in the encoding; false when a character cannot be held
// (`bad` is set to it; with `lossy` it is written as "?" and true returned).
bool AppendEncoded(QStringView line, TextEncoding encoding, std::string& out, QChar& bad, bool lossy = false) {
  if (encoding == TextEncoding::Windows1252) {
    for (const QChar c : line) {
      const int byte = c.unicode() < 0x80 ? c.unicode() : Windows1252Byte(c.unicode());
      if (byte < 0 && !lossy) {
        bad = c;
        return false;
      }
      out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    }
    return true;
  }
  QStringEncoder encoder(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
  const std::size_t old = out.size();
  out.resize(old + static_cast<std::size_t>(encoder.requiredSpace(line.size())));
  char* end = encoder.appendToBuffer(out.data() + old, line);
  out.resize(static_cast<std::size_t>(end - out.data()));
  if (!encoder.hasError() || lossy) return true;
  for (const QChar c : line) {
    if (c.isSurrogate()) bad = c;  // a half of a surrogate pair is the only thing UTF-8 cannot hold
  }
  return false;
}

// The text's lines; the empty piece after a final "\n" stands for the final
// line break and is not a line (an empty text is one empty line).
std::vector<QStringView> SplitLines(const QString& text) {
  std::vector<QStringView> lines;
  qsizetype start = 0;
  for (;;) {
    const qsizetype end = text.indexOf(u'\n', start);
    if (end < 0) break;
    lines.push_back(QStringView(text).mid(start, end - start));
    start = end + 1;
  }
  if (start < text.size() || lines.empty()) lines.push_back(QStringView(text).mid(start));
  return lines;
}

struct ViewHash {
  std::size_t operator()(QStringView v) const { return qHash(v); }
};

// For each line of `now`, the index of the same unedited line in `old`, or
// -1: the unchanged head and tail, then the middle line by line when the
// edit kept the line count, else each middle line matched to the next equal
// old line in order.
std::vector<int> MatchLines(const std::vector<QStringView>& old, const std::vector<QStringView>& now) {
  std::vector<int> match(now.size(), -1);
  std::size_t head = 0;
  while (head < old.size() && head < now.size() && old[head] == now[head]) {
    match[head] = static_cast<int>(head);
    ++head;
  }
  std::size_t tail = 0;
  while (tail < old.size() - head && tail < now.size() - head &&
         old[old.size() - 1 - tail] == now[now.size() - 1 - tail]) {
    match[now.size() - 1 - tail] = static_cast<int>(old.size() - 1 - tail);
    ++tail;
  }
  const std::size_t oldEnd = old.size() - tail;
  const std::size_t nowEnd = now.size() - tail;
  if (oldEnd - head == nowEnd - head) {
    for (std::size_t i = head; i < nowEnd; ++i) match[i] = static_cast<int>(i);
    return match;
  }
  std::unordered_map<QStringView, std::vector<int>, ViewHash> where;
  for (std::size_t i = head; i < oldEnd; ++i) where[old[i]].push_back(static_cast<int>(i));
  int last = static_cast<int>(head) - 1;
  for (std::size_t i = head; i < nowEnd; ++i) {
    const auto found = where.find(now[i]);
    if (found == where.end()) continue;
    for (const int candidate : found->second) {
      if (candidate > last) {
        match[i] = last = candidate;
        break;
      }
    }
  }
  return match;
}

}  // namespace

SurveyTextFormat SurveyTextFormat::Detect(std::string_view bytes, QString& text) {
  SurveyTextFormat format;
  QString decoded;
  if (QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())).isValidUtf8()) {
    format.byteOrderMark_ = bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    if (format.byteOrderMark_) bytes.remove_prefix(kByteOrderMark.size());
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    decoded = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  } else {
    format.encoding_ = TextEncoding::Windows1252;
    decoded = DecodeWindows1252(bytes);
  }

  // One pass: each break the editor recognises becomes "\n", and is counted.
  std::vector<LineBreak> breaks;
  std::array<std::size_t, 6> counts{};
  text = QString(decoded.size(), Qt::Uninitialized);
  QChar* out = text.data();
  const QChar* in = decoded.constData();
  const QChar* end = in + decoded.size();
  for (; in != end; ++in) {
    LineBreak kind;
    switch (in->unicode()) {
      case u'\n': kind = LineBreak::LF; break;
      case u'\r':
        kind = LineBreak::CR;
        if (in + 1 != end && in[1] == u'\n') kind = LineBreak::CRLF, ++in;
        break;
      case kParagraphSeparator.unicode(): kind = LineBreak::ParagraphSeparator; break;
      case kFrameStart.unicode(): kind = LineBreak::FrameStart; break;
      case kFrameEnd.unicode(): kind = LineBreak::FrameEnd; break;
      default: *out++ = *in; continue;
    }
    *out++ = u'\n';
    breaks.push_back(kind);
    ++counts[static_cast<std::size_t>(kind)];
  }
  text.truncate(out - text.constData());

  // A file without any break gets the one survey files are written with.
  std::size_t best = counts[static_cast<std::size_t>(LineBreak::CRLF)];
  for (const LineBreak kind : {LineBreak::LF, LineBreak::CR}) {
    if (counts[static_cast<std::size_t>(kind)] > best) {
      best = counts[static_cast<std::size_t>(kind)];
      format.dominant_ = kind;
    }
  }
  if (static_cast<std::size_t>(std::count(counts.begin(), counts.end(), 0)) < counts.size() - 1) {
    format.lineBreaks_ = std::move(breaks);
  }
  return format;
}

std::vector<LineBreak> SurveyTextFormat::BreaksFor(const QString& text, const QString& loadedText) const {
  const std::vector<int> match = MatchLines(SplitLines(loadedText), SplitLines(text));
  std::vector<LineBreak> breaks(match.size(), dominant_);
  for (std::size_t i = 0; i < match.size(); ++i) {
    if (match[i] >= 0 && static_cast<std::size_t>(match[i]) < lineBreaks_.size()) breaks[i] = lineBreaks_[match[i]];
  }
  return breaks;
}

EncodedText SurveyTextFormat::Encode(const QString& text, const QString& loadedText) const {
  const std::vector<LineBreak> breaks = MixesBreaks() ? BreaksFor(text, loadedText) : std::vector<LineBreak>{};
  EncodedText result;
  result.bytes.reserve(static_cast<std::size_t>(text.size()) * (encoding_ == TextEncoding::Utf8 ? 11 : 10) / 10 + 8);
  if (byteOrderMark_) result.bytes.append(kByteOrderMark);
  const std::vector<QStringView> lines = SplitLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!AppendEncoded(lines[i], encoding_, result.bytes, result.badCharacter)) {
      result.badLine = static_cast<int>(i + 1);
      result.bytes.clear();
      return result;
    }
    result.bytes.append(BreakBytes(breaks.empty() ? dominant_ : breaks[i], encoding_));
  }
  return result;
}

std::string SurveyTextFormat::ReadableBytes(const std::vector<QString>& pieces) const {
  std::string bytes;
  QChar bad;
  for (const QString& piece : pieces) {
    for (qsizetype start = 0; start < piece.size();) {
      qsizetype end = piece.indexOf(u'\n', start);
      if (end < 0) end = piece.size();
      AppendEncoded(QStringView(piece).mid(start, end - start), encoding_, bytes, bad, true);
      bytes.append(BreakBytes(dominant_, encoding_));
      start = end + 1;
    }
  }
  return bytes;
}

void SurveyTextFormat::Adopt(const QString& text, const QString& loadedText) {
  if (!MixesBreaks()) return;
  lineBreaks_ = BreaksFor(text, loadedText);
  if (std::all_of(lineBreaks_.begin(), lineBreaks_.end(), [&](LineBreak b) { return b == lineBreaks_.front(); })) {
    dominant_ = lineBreaks_.empty() ? dominant_ : lineBreaks_.front();
    lineBreaks_.clear();
  }
}

}  // namespace veldrane::ui
