// Line splitting shared by the fixed-column, PRO and traverse readers: the
// in-memory cursor and the chunked file reader must cut every text into the
// same lines, whatever the line ends and wherever a chunk boundary falls.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "model/field_parsing.h"
#include "model/text.h"
#include "readers/fixedcolumn/chunked_line_reader.h"
#include "readers/fixedcolumn/line_cursor.h"
#include "readers/fixedcolumn/plain_decimal.h"
#include "tests/core/recording_monitor.h"

namespace veldrane {
namespace {

std::vector<std::string> CursorLines(std::string_view text) {
  std::vector<std::string> out;
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.Next(line)) out.emplace_back(line);
  return out;
}

class ChunkedLineReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() /
             ("veldrane-lines-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
                .string();
  }
  void TearDown() override { std::filesystem::remove(path_); }

  std::vector<std::string> ReaderLines(const std::string& text, std::size_t chunk) {
    std::ofstream(path_, std::ios::binary) << text;
    ChunkedLineReader reader(chunk);
    EXPECT_TRUE(reader.Open(path_));
    std::vector<std::string> out;
    std::string_view line;
    while (reader.Next(line)) out.emplace_back(line);
    EXPECT_FALSE(reader.Next(line));
    EXPECT_EQ(reader.BytesRead(), text.size());
    return out;
  }

  std::string path_;
};

TEST(LineCursorTest, EachLineEndCutsOneLine) {
  using V = std::vector<std::string>;
  EXPECT_EQ(CursorLines(""), V{});
  EXPECT_EQ(CursorLines("a"), V{"a"});
  EXPECT_EQ(CursorLines("a\n"), V{"a"});
  EXPECT_EQ(CursorLines("a\n\n"), (V{"a", ""}));
  EXPECT_EQ(CursorLines("a\r\nb\rc\nd"), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(CursorLines("\r\r\n\n"), (V{"", "", ""}));
  EXPECT_EQ(CursorLines("a\n\rb"), (V{"a", "", "b"}));
  EXPECT_EQ(LineCursor::CountLines("x\r\ny\rz\n"), 3u);
}

TEST_F(ChunkedLineReaderTest, SplitsLikeTheCursorAcrossChunkBoundaries) {
  std::mt19937 rng(7);
  const std::string alphabet = "ab \r\n\r\n\t";
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const std::size_t size = rng() % 300;
    for (std::size_t i = 0; i < size; ++i) text.push_back(alphabet[rng() % alphabet.size()]);
    const std::size_t chunk = 16 + rng() % 40;
    ASSERT_EQ(ReaderLines(text, chunk), CursorLines(text)) << "round " << round << " chunk " << chunk;
  }
}

TEST_F(ChunkedLineReaderTest, CrLfSplitByTheChunkIsOneLineEnd) {
  // With a 16-byte window the CR is its last byte and the LF comes next.
  const std::string text = std::string(15, 'x') + "\r\n" + "y\r\nz";
  EXPECT_EQ(ReaderLines(text, 16), (std::vector<std::string>{std::string(15, 'x'), "y", "z"}));
  EXPECT_EQ(ReaderLines(std::string(15, 'x') + "\r", 16), (std::vector<std::string>{std::string(15, 'x')}));
}

TEST_F(ChunkedLineReaderTest, LinesLongerThanTheWindowGrowIt) {
  const std::string longLine(1000, 'L');
  EXPECT_EQ(ReaderLines("a\n" + longLine + "\nb", 16), (std::vector<std::string>{"a", longLine, "b"}));
}

TEST_F(ChunkedLineReaderTest, ManyLoneCrLinesAreReadInOnePass) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\r";
  const auto lines = ReaderLines(text, 1 << 12);
  ASSERT_EQ(lines.size(), 20000u);
  EXPECT_EQ(lines.back(), "line 19999");
}

TEST_F(ChunkedLineReaderTest, MissingFilesAndFoldersDoNotOpen) {
  ChunkedLineReader reader;
  EXPECT_FALSE(reader.Open(path_ + ".absent"));
  EXPECT_FALSE(reader.Open(std::filesystem::temp_directory_path().string()));
  std::string_view line;
  EXPECT_FALSE(reader.Next(line));
}

}  // namespace
}  // namespace veldrane

namespace veldrane {
namespace {

// The quick conversion must give bit for bit what the general one gives.
TEST(PlainDecimalTest, AgreesWithTheGeneralConversion) {
  std::mt19937_64 rng(15);
  for (int i = 0; i < 200000; ++i) {
    const int digits = 1 + static_cast<int>(rng() % 15);
    std::string text = rng() % 3 == 0 ? "-" : "";
    const int pointAt = static_cast<int>(rng() % (digits + 1));
    for (int d = 0; d < digits; ++d) {
      if (d == pointAt && rng() % 4 != 0) text.push_back('.');
      text.push_back(static_cast<char>('0' + rng() % 10));
    }
    const auto quick = PlainDecimal(text);
    const auto general = ToNumber(text);
    ASSERT_TRUE(quick.has_value()) << text;
    ASSERT_TRUE(general.has_value()) << text;
    ASSERT_EQ(*quick, *general) << text;
  }
  for (const char* text : {"5.", ".5", "+7", "-0", "0012.50"}) EXPECT_EQ(*PlainDecimal(text), *ToNumber(text)) << text;
}

TEST(PlainDecimalTest, LeavesEverythingElseToTheReportingParser) {
  for (const char* text : {"", ".", "-", "1e5", " 1", "1 ", "1.2.3", "1234567890123456", "12,5", "abc"})
    EXPECT_FALSE(PlainDecimal(text).has_value()) << text;
  test::RecordingMonitor monitor;
  EXPECT_EQ(ParseNumberQuick(monitor, "1e2", "L"), 100.0);
  EXPECT_EQ(ParseNumberQuick(monitor, "1234567890123456", "L"), 1234567890123456.0);
  EXPECT_TRUE(monitor.messages.empty());
  EXPECT_EQ(ParseNumberQuick(monitor, "", "Offset Parse Error"), 0.0001);
  ASSERT_EQ(monitor.messages.size(), 2u);
  EXPECT_EQ(monitor.messages[0], "Offset Parse Error: No value specified for numeric attribute.");
}

}  // namespace
}  // namespace veldrane

namespace veldrane {
namespace {

TEST(PlainDecimalTest, QuickAnglesAgreeWithTheAngleParser) {
  std::mt19937 rng(360);
  const std::string alphabet = "0123456789.-- +";
  test::RecordingMonitor quickMonitor;
  test::RecordingMonitor generalMonitor;
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    if (i % 2 == 0) {
      text = std::to_string(rng() % 360) + "-" + std::to_string(rng() % 60) + "-" + std::to_string(rng() % 60) + "." +
             std::to_string(rng() % 100000);
    } else {
      const std::size_t size = rng() % 14;
      for (std::size_t k = 0; k < size; ++k) text.push_back(alphabet[rng() % alphabet.size()]);
    }
    const double quick = ParseAngleQuick(quickMonitor, text, "A");
    const double general = ParseAngle(generalMonitor, text, "A");
    ASSERT_EQ(quick, general) << text;
    ASSERT_EQ(quickMonitor.messages, generalMonitor.messages) << text;
    quickMonitor.messages.clear();
    generalMonitor.messages.clear();
  }
  EXPECT_DOUBLE_EQ(ParseAngleQuick(quickMonitor, "12-30-36", "A"), 12.51);
}

}  // namespace
}  // namespace veldrane
