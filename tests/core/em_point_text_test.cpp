// The texts of a point: the id rule (an optional sign and digits, at most
// ten characters, and a value that fits 32 bits; anything else is id 0, while
// the point tag keeps the text either way), and codes stored once per read.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "readers/em/em_compact_text.h"
#include "readers/em/em_survey_point.h"

namespace veldrane {
namespace {

TEST(EMPointId, SignedDigitsUpToTenCharactersThatFit32Bits) {
  const struct {
    std::string_view text;
    std::int32_t id;
  } cases[] = {
      {"7", 7},           {"+12", 12},          {"-5", -5},          {"0042", 42},
      {"2147483647", INT32_MAX},                {"-214748364", -214748364},
      {"2147483648", 0},  {"9999999999", 0},    {"12345678901", 0},  {"-2147483648", 0},
      {"", 0},            {"+", 0},             {"-", 0},            {"12A", 0},
      {" 12", 0},         {"1.5", 0},           {"+-3", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(EMSurveyPoint::IdFromText(c.text), c.id) << "\"" << c.text << "\"";
}

TEST(EMPointId, TagKeepsTheTextOfANonNumericId) {
  EMSurveyPoint point;
  point.Initialize("BM-12", 1, 2, 3, 0, "", "", 0, 0);
  EXPECT_EQ(point.Id(), 0);
  EXPECT_EQ(point.PointTag(), "BM-12");
}

// Many distinct codes make the table grow several times; every code must
// still come back as the one object first made for it, described once.
TEST(EMPointCodes, EachCodeIsStoredOnceAcrossGrowth) {
  PointCodeTable table;
  int described = 0;
  const auto describe = [&](std::string_view code) {
    ++described;
    return "about " + std::string(code);
  };
  std::vector<PointCodeRef> first;
  for (int i = 0; i < 300; ++i) first.push_back(table.Intern("C" + std::to_string(i), describe));
  for (int i = 299; i >= 0; --i) {
    const PointCodeRef again = table.Intern("C" + std::to_string(i), describe);
    EXPECT_EQ(again.get(), first[static_cast<std::size_t>(i)].get());
    EXPECT_EQ(again.Description(), "about C" + std::to_string(i));
  }
  EXPECT_EQ(described, 300);
  EXPECT_EQ(table.Intern("", describe).get(), nullptr);
  table.Clear();
  EXPECT_NE(table.Intern("C7", describe).get(), first[7].get());
}

}  // namespace
}  // namespace veldrane
