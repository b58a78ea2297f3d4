#pragma once
// What every reader test shares: one fixture that writes a text to a file in
// a scratch folder and reads it through the survey factory (as every caller
// of the library does), the error queue as "LINE:SEVERITY:TEXT" lines, the
// model compared member by member through its JSON view, and fixed-column
// line building.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/json_writer.h"
#include "cli/survey_json.h"
#include "model/features.h"
#include "model/survey_error.h"
#include "readers/survey_factory.h"
#include "tests/core/temp_dir.h"

namespace veldrane::test {

using OrderedJson = nlohmann::ordered_json;
using Lines = std::vector<std::string>;

// Empties the queue, oldest first, each record as "LINE:SEVERITY:TEXT".
inline Lines Drain(ISurveyErrorQueue& queue) {
  Lines out;
  while (!queue.IsEmpty()) {
    const auto e = queue.Pop();
    out.push_back(std::to_string(e->LineNumber()) + ":" + std::to_string(e->severity()) + ":" + e->Description());
  }
  return out;
}

// Every member that `expected` names has that value in `actual`; members it
// leaves out are not compared. Objects and arrays are compared the same way
// inside (an array must have exactly as many items), numbers to 1e-9 of
// their size.
inline void ExpectMembersOf(const OrderedJson& actual, const OrderedJson& expected, const std::string& path) {
  if (expected.is_object()) {
    ASSERT_TRUE(actual.is_object()) << path << " is " << actual.dump();
    for (const auto& [key, value] : expected.items()) {
      ASSERT_TRUE(actual.contains(key)) << path << " has no member " << key;
      ExpectMembersOf(actual[key], value, path + "." + key);
    }
  } else if (expected.is_array()) {
    ASSERT_TRUE(actual.is_array()) << path << " is " << actual.dump();
    ASSERT_EQ(actual.size(), expected.size()) << path << " is " << actual.dump();
    for (std::size_t i = 0; i < expected.size(); ++i)
      ExpectMembersOf(actual[i], expected[i], path + "[" + std::to_string(i) + "]");
  } else if (expected.is_number() && actual.is_number()) {
    const double a = actual.get<double>(), e = expected.get<double>();
    EXPECT_LE(std::fabs(a - e), 1e-9 * std::max({1.0, std::fabs(a), std::fabs(e)})) << path << ": " << a << " != " << e;
  } else {
    EXPECT_EQ(actual, expected) << path;
  }
}
inline void ExpectMembers(const OrderedJson& actual, std::string_view expected) {
  ExpectMembersOf(actual, OrderedJson::parse(expected), "");
}
// The JSON view that `veldrane dump` streams, read back as a value.
template <class T, class V>
OrderedJson Written(void (*write)(JsonWriter&, T&), V& value) {
  std::ostringstream text;
  {
    JsonWriter w(text, false);
    write(w, value);
  }
  return OrderedJson::parse(text.str());
}
inline OrderedJson Json(ISurvey& survey) { return Written(WriteSurvey, survey); }
inline OrderedJson Json(ITraverse& traverse) { return Written(WriteTraverse, traverse); }
inline OrderedJson SurveyPointToJson(ISurveyPoint& point) { return Written(WriteSurveyPoint, point); }
inline OrderedJson SurveyFileToJson(const std::string& path, const std::shared_ptr<IInterface>& object) {
  return OrderedJson::parse(SurveyFileJsonText(path, object, false));
}

// The lines, each ended with `eol`.
inline std::string JoinLines(const Lines& lines, const std::string& eol = "\r\n") {
  std::string text;
  for (const auto& line : lines) text += line + eol;
  return text;
}
inline Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A fresh scratch folder for every test (gtest makes a fixture per test).
class ReaderTest : public ::testing::Test {
 protected:
  // Writes `bytes` as `name` in the scratch folder; returns the file's path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const auto path = dir_ / name;
    WriteFile(path, bytes);
    return path.string();
  }
  // Writes `text` as `name` and reads it through the survey factory; the
  // records it queued are left in errors_.
  template <class Result = ISurvey>
  std::shared_ptr<Result> Read(const std::string& name, const std::string& text) {
    auto result = std::dynamic_pointer_cast<Result>(OpenSurveyFile(Write(name, text)));
    EXPECT_NE(result, nullptr) << name;
    errors_ = result ? Drain(*result->Errors()) : Lines{};
    return result;
  }

  TempDir dir_;
  Lines errors_;
};

// One file read, its records and the members it must give.
struct ReadCase {
  const char* what;
  std::string text;
  Lines errors;         // every record, in queue order
  const char* members;  // JSON of the members compared
};

// Each case read as `name`; a survey or a traverse, whichever the extension
// gives. CheckLines reads cases given as lines as `lineFile`, each line ended
// with `eol`; `finalBreak_` false leaves the last line open, as an editor that
// adds no final break does.
class ReadCaseTest : public ReaderTest {
 protected:
  explicit ReadCaseTest(std::string lineFile = "s.em", std::string eol = "\r\n")
      : lineFile_(std::move(lineFile)), eol_(std::move(eol)) {}

  void Check(const std::string& name, const ReadCase& c) {
    SCOPED_TRACE(c.what);
    const auto object = OpenSurveyFile(Write(name, c.text));
    if (auto survey = std::dynamic_pointer_cast<ISurvey>(object)) {
      EXPECT_EQ(Drain(*survey->Errors()), c.errors);
      ExpectMembers(Json(*survey), c.members);
    } else if (auto traverse = std::dynamic_pointer_cast<ITraverse>(object)) {
      EXPECT_EQ(Drain(*traverse->Errors()), c.errors);
      ExpectMembers(Json(*traverse), c.members);
    } else {
      ADD_FAILURE() << name << " gave neither a survey nor a traverse";
    }
  }
  void CheckAll(const std::string& name, std::initializer_list<ReadCase> cases) {
    for (const auto& c : cases) Check(name, c);
  }
  void CheckLines(std::initializer_list<std::pair<ReadCase, Lines>> cases) {
    for (const auto& [c, lines] : cases) {
      ReadCase withText = c;
      withText.text = JoinLines(lines, eol_);
      if (!finalBreak_ && !withText.text.empty()) withText.text.resize(withText.text.size() - eol_.size());
      Check(lineFile_, withText);
    }
  }

  std::string lineFile_, eol_;
  bool finalBreak_ = true;
};

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
inline std::string Header(std::string_view tag, std::initializer_list<std::pair<std::size_t, std::string_view>> fields,
                          std::size_t length = 81) {
  Columns c;
  c.At(1, tag);
  for (const auto& [column, text] : fields) c.At(column, text);
  return c.PadTo(length).Str();
}

}  // namespace veldrane::test
