#pragma once
// What the reader tests share: the error queue read back as plain records,
// fixed-column line building, and a scratch folder per test to write the
// input files into.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/survey_error.h"
#include "tests/core/temp_dir.h"

namespace veldrane::test {

// One queued error record, as a test compares it.
struct Report {
  std::int32_t line;
  std::int32_t severity;
  std::string text;
};

// Empties the queue, oldest first.
inline std::vector<Report> Drain(ISurveyErrorQueue& queue) {
  std::vector<Report> out;
  while (!queue.IsEmpty()) {
    const auto e = queue.Pop();
    out.push_back({e->LineNumber(), e->severity(), e->Description()});
  }
  return out;
}

// Every named member's text against its expected value: the header values
// a reader fills, checked as one table.
template <class Object>
void ExpectTexts(Object& object, std::initializer_list<std::pair<std::string (Object::*)(), std::string>> expected) {
  int entry = 0;
  for (const auto& [member, value] : expected) EXPECT_EQ((object.*member)(), value) << "entry " << entry++;
}

// Builds a fixed-column line: text placed at 1-based columns, blanks between.
class Columns {
 public:
  Columns& At(std::size_t column, std::string_view text) {
    const std::size_t start = column - 1;
    if (line_.size() < start + text.size()) line_.resize(start + text.size(), ' ');
    line_.replace(start, text.size(), text);
    return *this;
  }
  // Right-aligned in columns first..last.
  Columns& Right(std::size_t first, std::size_t last, std::string_view text) {
    if (text.size() > last + 1 - first)
      ADD_FAILURE() << "\"" << text << "\" does not fit columns " << first << "-" << last;
    return At(last + 1 - text.size(), text);
  }
  Columns& PadTo(std::size_t length) {
    if (line_.size() < length) line_.resize(length, ' ');
    return *this;
  }
  std::string Str() const { return line_; }

 private:
  std::string line_;
};

// A header record: the tag in column 1, each field at its 1-based column,
// blank-padded to `length`.
inline std::string Header(std::string_view tag,
                          std::initializer_list<std::pair<std::size_t, std::string_view>> fields,
                          std::size_t length = 81) {
  Columns c;
  c.At(1, tag);
  for (const auto& [column, text] : fields) c.At(column, text);
  return c.PadTo(length).Str();
}

// The lines joined with `eol`; without `finalEol` the last line is left open,
// as an editor that adds no final break leaves it.
inline std::string JoinLines(const std::vector<std::string>& lines, const std::string& eol, bool finalEol = true) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += lines[i];
    if (finalEol || i + 1 < lines.size()) text += eol;
  }
  return text;
}

// A fresh scratch folder for every test (gtest makes a fixture per test),
// removed with everything in it afterwards.
class ScratchFileTest : public ::testing::Test {
 protected:
  // Writes `bytes` as `name` in the scratch folder; returns the file's path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const auto path = dir_ / name;
    WriteFile(path, bytes);
    return path.string();
  }

  TempDir dir_;
};

}  // namespace veldrane::test
