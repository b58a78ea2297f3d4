#pragma once
// How a survey file spells its text on disk, so that the source view can
// show it and write it back without changing what the user did not edit.
//
// Encoding: the whole file is UTF-8 when its bytes are valid UTF-8 (a byte
// order mark is kept aside and written back), else Windows-1252 (the five
// bytes that code page leaves undefined become the control characters of the
// same number, so every byte reads back as itself).
//
// Line breaks: the editor turns CR LF, LF, a lone CR (and the Unicode
// paragraph separators it treats as breaks) into one break each; the editor's
// text is the file's lines joined by "\n". Writing back, every line ends in
// the file's most frequent break; a file that mixes breaks keeps each
// unedited line's own break. The written file always ends with exactly one
// line break, so saving the same text twice gives the same bytes.
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veldrane::ui {

enum class TextEncoding { Utf8, Windows1252 };

enum class LineBreak : std::uint8_t { LF, CRLF, CR, ParagraphSeparator, FrameStart, FrameEnd };

// The bytes a text decodes from, and the first place where a text cannot be
// written in an encoding.
struct EncodedText {
  std::string bytes;
  int badLine = 0;  // 1-based line of the first character the encoding cannot hold; 0 when none
  QChar badCharacter;
};

class SurveyTextFormat {
 public:
  // Decodes the file's bytes into `text` (lines joined by "\n") and returns
  // the format they were written in.
  static SurveyTextFormat Detect(std::string_view bytes, QString& text);

  TextEncoding Encoding() const { return encoding_; }
  LineBreak DominantBreak() const { return dominant_; }
  bool MixesBreaks() const { return !lineBreaks_.empty(); }

  // The bytes of `text` in this format. `loadedText` is the text as it was
  // loaded (or last saved); it tells which lines are unedited in a file that
  // mixes line breaks.
  EncodedText Encode(const QString& text, const QString& loadedText) const;
  // The bytes the readers would see if the text (given as the pieces of a
  // TextChunks) were saved, for checking it while it is edited: as Encode,
  // except that a character the encoding cannot hold becomes "?" and every
  // line ends in the file's most frequent break.
  std::string ReadableBytes(const std::vector<QString>& pieces) const;
  // After `text` has been written: its lines' breaks are the file's now.
  void Adopt(const QString& text, const QString& loadedText);

 private:
  std::vector<LineBreak> BreaksFor(const QString& text, const QString& loadedText) const;

  TextEncoding encoding_ = TextEncoding::Utf8;
  bool byteOrderMark_ = false;
  LineBreak dominant_ = LineBreak::CRLF;
  // Each line's break, only for a file that mixes them (line i of the loaded
  // text; a last line without break is not listed).
  std::vector<LineBreak> lineBreaks_;
};

}  // namespace veldrane::ui
