// The EM value classes on their own: point ids and tags, points handed out
// as the walk goes, a benchmark's copy and equality, and the point code
// table. (Points kept in a survey's shared arena across chunks are pinned by
// the million-point pathological test, and outliving the survey by the EM
// reader test.)
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/constants.h"
#include "readers/em/em_compact_tag.h"
#include "readers/em/em_compact_text.h"
#include "readers/em/em_cross_section.h"
#include "readers/em/em_gage.h"
#include "readers/em/em_survey_point.h"
#include "readers/em/em_vertical_control.h"

namespace veldrane {
namespace {

EMSurveyPoint MakePoint(const std::string& tag, double x, double y, double z = 1) {
  EMSurveyPoint p;
  p.Initialize(tag, x, y, z, 0, "", "", kUndefinedNumber, kUndefinedNumber);
  return p;
}

TEST(EMSurveyPointTest, IdFollowsTheTagWhenItIsAWholeNumberThatFits) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"A12", 0}, {"1001", 1001}, {"-15", -15}, {"+7", 7}, {"0012", 12}, {"2147483647", 2147483647},
      {"2147483648", 0}, {"-214748364", -214748364}, {"4294967296", 0}, {"12345678901", 0}, {"-2147483648", 0},
      {"12.5", 0}, {"-", 0}, {"+", 0}, {"", 0}, {" 12", 0}, {"+-3", 0}};
  for (const auto& [tag, id] : cases) {
    EMSurveyPoint p = MakePoint(tag, 0, 0);
    EXPECT_EQ(p.Id(), id) << tag;
    EXPECT_EQ(p.PointTag(), tag);
  }
}

// Every text comes back as given, whether kept as a number, inline or on
// the heap, and through copies and moves.
TEST(EMCompactTagTest, EveryTextComesBackAsGiven) {
  const std::string texts[] = {"", "0", "-0", "007", "+7", "1234567", "12345678", "-9999999999999999",
                               "99999999999999999", "ABCDEFG", "ABCDEFGH", "12.5", "Caf\xc3\xa9",
                               std::string("a\0b", 3), "18446744073709551616"};
  for (const std::string& text : texts) {
    CompactTag copy(text);
    CompactTag moved(std::move(copy));
    CompactTag assigned("x");
    assigned = moved;
    EXPECT_EQ(moved.Str() + "|" + assigned.Str() + "|" + copy.Str(),
              text + "|" + text + "|");  // NOLINT: moved-from is empty
  }
}

// Points are made as they are handed out, and the walk reuses one nobody
// holds; one that is still held keeps its values and outlives its feature.
TEST(EMIteratorTest, HeldPointsKeepTheirValuesWhileTheWalkGoesOn) {
  auto cs = std::make_shared<EMCrossSection>();
  cs->Initialize(0, 0, 100, 0, DateTime::Undefined(), 0, "x");
  for (int i = 0; i < 5; ++i) cs->AddPoint(MakePoint(std::to_string(i + 1), 10.0 * (5 - i), 2));
  auto it = cs->Points();
  auto first = it->GetNext();
  std::vector<double> stations;
  while (auto next = it->GetNext()) stations.push_back(next->Station());  // each let go before the next
  EXPECT_EQ(stations, (std::vector<double>{20, 30, 40, 50}));
  cs.reset();
  it.reset();
  EXPECT_EQ(first->PointTag(), "5");
  EXPECT_DOUBLE_EQ(first->Station(), 10);
  EXPECT_DOUBLE_EQ(first->LateralOffset(), 2);
}

// What the fixed-column reader's duplicate checks rest on.
TEST(EMVerticalControlTest, CloneLeavesTheSurveyDateAndEqualsIgnoresCoordinatesAndCondition) {
  EMVerticalControl a;
  a.SetName("A");
  a.SetSurveyDate(*DateTime::FromDate(2023, 3, 1));
  a.SetDocumentedElevation(1.5);
  a.SetNorthing(10);
  auto copy = a.Clone();
  EXPECT_EQ(copy->SurveyDate(), DateTime::Undefined());
  EXPECT_FALSE(a.Equals(copy.get()));
  copy->SetSurveyDate(a.SurveyDate());
  copy->SetNorthing(99);
  copy->SetCondition("Lost");
  EXPECT_TRUE(a.Equals(copy.get()));
  copy->SetDocumentedElevation(1.6);
  EXPECT_FALSE(a.Equals(copy.get()));
  EMGage notABenchmark;
  EXPECT_FALSE(a.Equals(&notABenchmark));
}

// Many distinct codes make the table grow several times; every code still
// comes back as the one entry first made for it, described once. (Codes
// with their vertical adjustment, and handles that outlive the survey, are
// pinned through the reader in em_reader_test.cpp.)
TEST(EMPointCodes, EachCodeIsStoredOnceAcrossGrowth) {
  PointCodeTable table;
  int described = 0;
  const auto describe = [&](std::string_view code) {
    ++described;
    return "about " + std::string(code);
  };
  // Built without a literal + string, which GCC 12 warns about falsely
  // (-Wrestrict) in a loop.
  const auto codeOf = [](int i) { return std::string(1, 'C').append(std::to_string(i)); };
  std::vector<PointCodeRef> first;  // counted handles keep the entries alive after the table lets go
  for (int i = 0; i < 300; ++i) first.emplace_back(table.Intern(codeOf(i), 0.0, describe));
  for (int i = 299; i >= 0; --i) EXPECT_EQ(table.Intern(codeOf(i), 0.0, describe), first[i].get());
  EXPECT_EQ(described, 300);
  table.Clear();
  EXPECT_EQ(first[7].Description(), "about C7");
}

}  // namespace
}  // namespace veldrane
