// The point id rule: an optional sign and digits, at most ten characters,
// and a value that fits 32 bits; anything else is id 0. The point tag keeps
// the text either way.
#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

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

}  // namespace
}  // namespace veldrane
