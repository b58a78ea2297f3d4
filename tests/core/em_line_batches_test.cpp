// Survey files cut into batches of prepared lines: the same lines, numbers
// and coordinate values whatever the batch size, whether the batches are
// prepared on the reader's thread or ahead of it on a second one.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "readers/em/em_line_batches.h"
#include "readers/em/em_survey.h"
#include "readers/survey_factory.h"
#include "tests/core/em_test_support.h"
#include "tests/core/reader_test_support.h"

namespace veldrane::test {
namespace {

struct CutLine {
  std::string text;
  std::int32_t number;
  bool operator==(const CutLine& other) const { return text == other.text && number == other.number; }
};

std::vector<CutLine> AllLines(EMLineBatches& batches) {
  std::vector<CutLine> lines;
  while (const EMLineBatch* batch = batches.Next())
    for (const EMPreparedLine& line : batch->lines) lines.push_back({std::string(line.text), line.number});
  return lines;
}

std::vector<CutLine> CutText(const std::string& text, std::size_t batchBytes) {
  EMLineBatches batches(batchBytes);
  batches.OpenText(text);
  return AllLines(batches);
}

TEST(EMLineBatches, EveryBatchSizeCutsTheSameLines) {
  // Breaks of every kind, a CR LF that a small batch splits between its CR
  // and LF, blank and trimmed lines, and a last line without a break.
  const std::string text = "#H05 A\r\n  one , two \nthree\r\rfour\r\n\r\n;note\n" + std::string(40, 'x') + "\rlast";
  const std::vector<CutLine> expected = {{"#H05 A", 1}, {"one , two", 2}, {"three", 3}, {"", 4},
                                         {"four", 5},   {"", 6},          {";note", 7}, {std::string(40, 'x'), 8},
                                         {"last", 9}};
  for (std::size_t batchBytes : {1, 2, 3, 5, 7, 8, 13, 64, 4096}) {
    SCOPED_TRACE(batchBytes);
    EXPECT_EQ(CutText(text, batchBytes), expected);
  }
}

TEST(EMLineBatches, BreakAtTheVeryEndAddsNoLine) {
  for (const std::string end : {"\r\n", "\n", "\r"}) {
    for (std::size_t batchBytes : {1, 4, 100}) {
      SCOPED_TRACE(batchBytes);
      EXPECT_EQ(CutText("a" + end + "b" + end, batchBytes), (std::vector<CutLine>{{"a", 1}, {"b", 2}}));
    }
  }
  EXPECT_TRUE(CutText("", 4).empty());
  EXPECT_EQ(CutText("\n", 4), (std::vector<CutLine>{{"", 1}}));
}

TEST(EMLineBatches, CoordinateLinesArriveRead) {
  EMLineBatches batches;
  batches.OpenText(
      "12,3312345.25,712345.5,-1.75,EW,toe of levee\n"  // a code keeps its commas
      "13,1,2,3\n"                                       // no code
      "14,1,2\n"                                         // too few values
      "15\t1,2,3,4\n"                                    // tabs are the reader's
      "16,1,x,3\n"                                       // a number that does not read
      "#X01 1,2,3,4\n"                                   // a record
      ";1,2,3,4\n"                                      // a comment
      "17  3312345.5 712345.25   4.5 top of bank\n"        // blanks, a code of words
      "18 1 2 3 two  blanks\n");                          // a code the reader tidies
  const EMLineBatch* batch = batches.Next();
  ASSERT_NE(batch, nullptr);
  ASSERT_EQ(batch->lines.size(), 9u);
  const EMPreparedLine& first = batch->lines[0];
  ASSERT_TRUE(first.isCoordinate);
  EXPECT_EQ(first.coordinate.id, "12");
  EXPECT_EQ(first.coordinate.northing, 3312345.25);
  EXPECT_EQ(first.coordinate.easting, 712345.5);
  EXPECT_EQ(first.coordinate.elevation, -1.75);
  EXPECT_EQ(first.coordinate.code, "EW,toe of levee");
  ASSERT_TRUE(batch->lines[1].isCoordinate);
  EXPECT_EQ(batch->lines[1].coordinate.code, "");
  EXPECT_EQ(batch->lines[1].coordinate.elevation, 3.0);
  for (std::size_t i : {2, 3, 4, 5, 6, 8}) EXPECT_FALSE(batch->lines[i].isCoordinate) << batch->lines[i].text;
  const EMPreparedLine& blanks = batch->lines[7];
  ASSERT_TRUE(blanks.isCoordinate);
  EXPECT_EQ(blanks.coordinate.id, "17");
  EXPECT_EQ(blanks.coordinate.easting, 712345.25);
  EXPECT_EQ(blanks.coordinate.elevation, 4.5);
  EXPECT_EQ(blanks.coordinate.code, "top of bank");
  EXPECT_EQ(batches.Next(), nullptr);
}

class EMLineBatchFileTest : public ScratchFileTest {
 protected:
  // A file of numbered coordinate lines with mixed breaks.
  static std::string ManyLines(int count) {
    std::string text;
    const char* breaks[] = {"\r\n", "\n", "\r"};
    for (int i = 0; i < count; ++i) {
      text += std::to_string(i) + "," + std::to_string(3300000 + i) + ".5,712345.25," + std::to_string(i % 7) + ",C";
      text += breaks[i % 3];
    }
    return text;
  }
};

TEST_F(EMLineBatchFileTest, ReadingAheadGivesTheSameLinesAsReadingInPlace) {
  const std::string text = ManyLines(5000);
  EMLineBatches ahead(/*batchBytes=*/512, /*threadFromBytes=*/0);
  ASSERT_TRUE(ahead.OpenFile(Write("ahead.em", text)));
  EXPECT_TRUE(ahead.IsReadingAhead());
  const std::vector<CutLine> lines = AllLines(ahead);
  EXPECT_EQ(lines.size(), 5000u);
  EXPECT_EQ(lines, CutText(text, 1 << 20));
  // At the end it stays at the end.
  EXPECT_EQ(ahead.Next(), nullptr);
}

TEST_F(EMLineBatchFileTest, ClosedHalfWayAndOpenedAgainItStartsAtTheFirstLine) {
  const std::string path = Write("partial.em", ManyLines(20000));
  EMLineBatches ahead(256, 0);
  ASSERT_TRUE(ahead.OpenFile(path));
  ASSERT_NE(ahead.Next(), nullptr);
  ahead.Close();
  EXPECT_FALSE(ahead.IsReadingAhead());
  EXPECT_EQ(ahead.Next(), nullptr);
  ASSERT_TRUE(ahead.OpenFile(path));
  const EMLineBatch* batch = ahead.Next();
  ASSERT_NE(batch, nullptr);
  EXPECT_EQ(batch->lines.front().number, 1);
}

// A survey large enough to be read ahead, with problems spread over it,
// reads the same from its file as from the same text in memory (which is
// cut on the reader's thread): points, values and every problem's line.
TEST_F(EMLineBatchFileTest, LargeSurveyReadAheadMatchesTheSameTextReadInPlace) {
  std::string text = "#H00 EM09\r\n#H06 US SURVEY FEET\r\n";
  int line = 2;
  std::vector<int> badLines;
  for (int section = 0; text.size() < 3 * EMLineBatches::kThreadFromBytes / 2; ++section) {
    text += "#X01 3390000 690000 3390500 690000 " + std::to_string(section) + " XS\r\n";
    ++line;
    for (int p = 0; p < 100; ++p) {
      ++line;
      if (p == 50 && section % 97 == 0) {
        // Reported, on the last line of its block (49 lines on); the rest of
        // the block is skipped.
        text += std::to_string(p) + ",690000,north,1.5\r\n";
        badLines.push_back(line + 49);
      } else if (p % 10 == 3) {
        text += std::to_string(p) + "\t690000 " + std::to_string(3390000 + p) + " 2.25 TAB\r\n";
      } else {
        text += std::to_string(p) + ",690000.5," + std::to_string(3390000 + p) + ".25," + std::to_string(p % 9) +
                ".5,GND\r\n";
      }
    }
  }
  EMSurvey fromFile;
  fromFile.OpenSurvey(Write("large.em", text));
  const auto read = OpenSurveyText("large.em", text);
  ASSERT_NE(std::dynamic_pointer_cast<EMSurvey>(read), nullptr);
  EMSurvey& fromText = *std::dynamic_pointer_cast<EMSurvey>(read);

  const auto fileErrors = Drain(*fromFile.Errors());
  const auto textErrors = Drain(*fromText.Errors());
  ASSERT_EQ(fileErrors.size(), badLines.size());
  ASSERT_EQ(textErrors.size(), badLines.size());
  for (std::size_t i = 0; i < badLines.size(); ++i) {
    EXPECT_EQ(fileErrors[i].line, badLines[i]);
    EXPECT_EQ(fileErrors[i].line, textErrors[i].line);
    EXPECT_EQ(fileErrors[i].text, textErrors[i].text);
  }

  const auto fileSections = Collect(fromFile.CrossSections());
  const auto textSections = Collect(fromText.CrossSections());
  ASSERT_EQ(fileSections.size(), textSections.size());
  ASSERT_GT(fileSections.size(), 100u);
  std::size_t points = 0;
  for (std::size_t s = 0; s < fileSections.size(); ++s) {
    const auto a = Collect(fileSections[s]->Points());
    const auto b = Collect(textSections[s]->Points());
    ASSERT_EQ(a.size(), b.size()) << "section " << s;
    // A section with a bad line keeps the 50 points before it.
    EXPECT_EQ(a.size(), s % 97 == 0 ? 50u : 100u) << "section " << s;
    for (std::size_t p = 0; p < a.size(); ++p) {
      EXPECT_EQ(a[p]->Y(), b[p]->Y());
      EXPECT_EQ(a[p]->Z(), b[p]->Z());
      EXPECT_EQ(a[p]->Code(), b[p]->Code());
    }
    points += a.size();
  }
  EXPECT_GT(points, 10000u);
  // The common form and the tab-separated one read their values.
  const auto section = Collect(fileSections[1]->Points());
  EXPECT_DOUBLE_EQ(section[4]->X(), 3390004.25);
  EXPECT_DOUBLE_EQ(section[4]->Y(), 690000.5);
  EXPECT_DOUBLE_EQ(section[4]->Z(), 4.5);
  EXPECT_EQ(section[4]->Code(), "GND");
  EXPECT_DOUBLE_EQ(section[3]->X(), 3390003);
  EXPECT_DOUBLE_EQ(section[3]->Z(), 2.25);
  EXPECT_EQ(section[3]->Code(), "TAB");
}

}  // namespace
}  // namespace veldrane::test
