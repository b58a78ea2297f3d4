// What the fixed-column, PRO and traverse readers share: the in-memory line
// cursor and the chunked file reader cut every text into the same lines
// wherever a chunk boundary falls; the quick number and angle conversions
// give exactly what the general ones give; the block arena keeps its items
// where they were made.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "model/field_parsing.h"
#include "model/text.h"
#include "readers/fixedcolumn/block_arena.h"
#include "readers/fixedcolumn/chunked_line_reader.h"
#include "readers/fixedcolumn/line_cursor.h"
#include "readers/fixedcolumn/plain_decimal.h"
#include "tests/core/reader_test_support.h"
#include "tests/core/recording_monitor.h"

namespace veldrane::test {
namespace {

Lines CursorLines(std::string_view text) {
  Lines out;
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.Next(line)) out.emplace_back(line);
  return out;
}

class ChunkedLineReaderTest : public ReaderTest {
 protected:
  Lines ReaderLines(const std::string& text, std::size_t chunk) {
    ChunkedLineReader reader(chunk);
    EXPECT_TRUE(reader.Open(Write("lines.txt", text)));
    Lines out;
    std::string_view line;
    while (reader.Next(line)) out.emplace_back(line);
    EXPECT_FALSE(reader.Next(line));
    return out;
  }
};

// A final break adds no line ("a\n\n" is two lines); a last line without
// one is still a line ("...d").
TEST(LineCursorTest, EachLineEndCutsOneLine) {
  const std::pair<std::string, Lines> cases[] = {{"", {}},
                                                 {"a\n\n", {"a", ""}},
                                                 {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
                                                 {"\r\r\n\n", {"", "", ""}},
                                                 {"a\n\rb", {"a", "", "b"}}};
  for (const auto& [text, lines] : cases) EXPECT_EQ(CursorLines(text), lines);
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
  // A line longer than the window grows it (the random lines are short).
  const std::string longLine(1000, 'L');
  EXPECT_EQ(ReaderLines("a\n" + longLine + "\nb", 16), (Lines{"a", longLine, "b"}));
}

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
    ASSERT_TRUE(quick.has_value()) << text;
    ASSERT_EQ(*quick, *ToNumber(text)) << text;
  }
  for (const char* text : {"5.", ".5", "+7", "-0", "0012.50"}) EXPECT_EQ(*PlainDecimal(text), *ToNumber(text)) << text;
  // Everything else is left to the reporting parser.
  for (const char* text : {"", ".", "-", "1e5", " 1", "1 ", "1.2.3", "1234567890123456", "12,5", "abc"})
    EXPECT_FALSE(PlainDecimal(text).has_value()) << text;
  // The field readers fall back on it (their messages are pinned through the
  // fixed-column reader).
  RecordingMonitor monitor;
  EXPECT_EQ(ParseNumberQuick(monitor, "1e2", "L"), 100.0);
}

TEST(PlainDecimalTest, QuickAnglesAgreeWithTheAngleParser) {
  std::mt19937 rng(360);
  const std::string alphabet = "0123456789.-- +";
  RecordingMonitor quickMonitor;
  RecordingMonitor generalMonitor;
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    if (i % 2 == 0) {
      text = std::to_string(rng() % 360) + "-" + std::to_string(rng() % 60) + "-" + std::to_string(rng() % 60) + "." +
             std::to_string(rng() % 100000);
    } else {
      const std::size_t size = rng() % 14;
      for (std::size_t k = 0; k < size; ++k) text.push_back(alphabet[rng() % alphabet.size()]);
    }
    ASSERT_EQ(ParseAngleQuick(quickMonitor, text, "A"), ParseAngle(generalMonitor, text, "A")) << text;
    ASSERT_EQ(quickMonitor.messages, generalMonitor.messages) << text;
    quickMonitor.messages.clear();
    generalMonitor.messages.clear();
  }
}

struct Counted {
  Counted() { ++alive; }
  ~Counted() { --alive; }
  static inline int alive = 0;
  double value = 0;
  char padding[40] = {};
};

TEST(BlockArenaTest, ItemsStayWhereTheyWereMadeInOrder) {
  {
    BlockArena<Counted> arena;
    EXPECT_EQ(arena.Allocate(0), nullptr);
    std::vector<Counted*> made;
    // Runs of assorted lengths, together far more than the first blocks
    // hold, then one run larger than a whole block.
    for (int i = 0; i <= 3000; ++i) {
      const std::size_t count = i < 3000 ? 1 + static_cast<std::size_t>(i % 37) : 100000;
      Counted* run = arena.Allocate(count);
      for (std::size_t k = 0; k < count; ++k) {
        run[k].value = static_cast<double>(made.size());
        made.push_back(run + k);
      }
    }
    EXPECT_EQ(arena.Size(), made.size());
    EXPECT_EQ(Counted::alive, static_cast<int>(made.size()));
    for (std::size_t i = 0; i < made.size(); ++i) ASSERT_EQ(made[i]->value, static_cast<double>(i));
    double expected = 0;
    arena.ForEach([&](Counted& c) { EXPECT_EQ(c.value, expected++); });
    EXPECT_EQ(expected, static_cast<double>(made.size()));
  }
  EXPECT_EQ(Counted::alive, 0);
}

}  // namespace
}  // namespace veldrane::test
