// The EM value classes on their own: points, cross-section geometry,
// benchmarks, gage readings and the iterator protocol.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/constants.h"
#include "readers/em/em_compact_tag.h"
#include "readers/em/em_compact_text.h"
#include "readers/em/em_cross_section.h"
#include "readers/em/em_gage.h"
#include "readers/em/em_misc_shot_point.h"
#include "readers/em/em_point_arena.h"
#include "readers/em/em_profile_centerline.h"
#include "readers/em/em_compact_tag.h"
#include "readers/em/em_survey_point.h"
#include "readers/em/em_vertical_control.h"
#include "tests/core/em_test_support.h"
#include "tests/core/recording_monitor.h"

namespace veldrane {
namespace {

using test::Collect;

EMSurveyPoint MakePoint(const std::string& id, double x, double y, double z = 1) {
  EMSurveyPoint p;
  p.Initialize(id, x, y, z, 0, "", "", kUndefinedNumber, kUndefinedNumber);
  return p;
}

TEST(EMSurveyPointTest, IdFollowsTheTextWhenItIsAWholeNumberThatFits) {
  // The tag is always the text; "4294967296" does not fit 32 bits and
  // "12345678901" has eleven characters.
  const std::pair<const char*, std::int32_t> cases[] = {
      {"A12", 0},        {"1001", 1001},      {"-15", -15},          {"+7", 7},  {"0012", 12},
      {"2147483647", 2147483647},             {"2147483648", 0},     {"-214748364", -214748364},
      {"4294967296", 0}, {"12345678901", 0},  {"-2147483648", 0},    {"12.5", 0}, {"-", 0},
      {"+", 0},          {"", 0},             {" 12", 0},            {"+-3", 0}};
  for (const auto& [text, id] : cases) {
    EXPECT_EQ(MakePoint(text, 0, 0).Id(), id) << text;
    EXPECT_EQ(MakePoint(text, 0, 0).PointTag(), text);
  }
  // The id is read from the tag: a point given no tag has none to read.
  EXPECT_EQ(EMSurveyPoint().Id(), 0);
}

// Every text comes back as it was given, whether it was kept as a number,
// inline or on the heap, and through copies and moves.
TEST(EMCompactTagTest, EveryTextComesBackAsGiven) {
  const std::string texts[] = {"",         "0",        "-0",       "007",    "+7",     "1001",
                               "-15",      "1234567",  "12345678", "-9999999999999999",
                               "99999999999999999",    "A12",      "ABCDEFG", "ABCDEFGH",
                               "-",        "12.5",     "1 2",      "Caf\xc3\xa9", std::string("a\0b", 3),
                               "18446744073709551616"};
  for (const std::string& text : texts) {
    const CompactTag tag(text);
    EXPECT_EQ(tag.Str(), text);
    CompactTag copy(tag);
    CompactTag moved(std::move(copy));
    EXPECT_EQ(moved.Str(), text);
    EXPECT_EQ(copy.Str(), "");  // NOLINT(bugprone-use-after-move): a moved-from tag is empty
    CompactTag assigned("x");
    assigned = moved;
    EXPECT_EQ(assigned.Str(), text);
    assigned = CompactTag("a longer text on the heap");
    EXPECT_EQ(assigned.Str(), "a longer text on the heap");
  }
  EXPECT_EQ(sizeof(CompactTag), 8u);
}

TEST(EMSurveyPointTest, ElevationIncludesTheAdjustmentAndClonesAreIndependent) {
  EMSurveyPoint p;
  const std::string longTag = "A-very-long-point-tag-of-many-characters";
  p.Initialize(longTag, 1, 2, 10, 0.5, "TOE", "Toe of slope", kUndefinedNumber, kUndefinedNumber);
  EXPECT_DOUBLE_EQ(p.Z(), 10.5);
  EXPECT_EQ(p.Code(), "TOE");
  EXPECT_EQ(p.CodeDescription(), "Toe of slope");
  EXPECT_EQ(p.Station(), kUndefinedNumber);
  EXPECT_EQ(p.LateralOffset(), 0);
  EXPECT_EQ(p.BaselineOffset(), kUndefinedNumber);
  auto copy = p.Clone();
  p.Initialize("other", 0, 0, 0, 0, "", "", 0, 0);
  EXPECT_EQ(copy->PointTag(), longTag);
  EXPECT_EQ(copy->Station(), kUndefinedNumber);
  EXPECT_EQ(copy->Code(), "TOE");
  EXPECT_DOUBLE_EQ(copy->Z(), 10.5);
}

TEST(EMCrossSectionValueTest, GridAzimuthAndDegenerateLines) {
  test::RecordingMonitor monitor;
  EMCrossSection a, b, c;
  a.monitor(&monitor);
  b.monitor(&monitor);
  c.monitor(&monitor);
  a.Initialize(0, 0, 10, 10, DateTime::Undefined(), 0, "a");
  b.Initialize(0, 0, -10, -10, DateTime::Undefined(), 0, "b");
  c.Initialize(5, 0, 5, 10, DateTime::Undefined(), 0, "c");
  EXPECT_DOUBLE_EQ(a.GridAzimuth(), 45);
  EXPECT_DOUBLE_EQ(b.GridAzimuth(), 225);
  EXPECT_EQ(c.GridAzimuth(), kUndefinedNumber);
  EXPECT_TRUE(monitor.messages.empty());
  c.Initialize(5, 5, 5, 5, DateTime::Undefined(), 0, "d");
  ASSERT_EQ(monitor.messages.size(), 1u);
}

TEST(EMCrossSectionValueTest, PointsOfASectionOwnedByNoOneAreCopies) {
  EMCrossSection cs;
  cs.Initialize(0, 0, 10, 0, DateTime::Undefined(), 0, "x");
  cs.AddPoint(MakePoint("1", 3, 4));
  cs.AddPoint(MakePoint("2", 10, -3));
  auto points = cs.Points();
  ASSERT_EQ(points->Size(), 2);
  EXPECT_DOUBLE_EQ(points->GetItem(0)->Station(), 3);
  EXPECT_DOUBLE_EQ(points->GetItem(0)->LateralOffset(), 4);
  EXPECT_DOUBLE_EQ(points->GetItem(1)->LateralOffset(), 3);
}

TEST(EMCrossSectionValueTest, SharedPointsKeepTheirSectionAlive) {
  std::shared_ptr<ISurveyPoint> survivor;
  {
    auto cs = std::make_shared<EMCrossSection>();
    cs->Initialize(0, 0, 10, 0, DateTime::Undefined(), 0, "x");
    cs->AddPoint(MakePoint("1", 4, 0));
    cs->AddPoint(MakePoint("2", 2, 0));
    survivor = cs->Points()->GetItem(1);
  }
  EXPECT_EQ(survivor->Id(), 1);
  EXPECT_DOUBLE_EQ(survivor->Station(), 4);
}

TEST(EMPointListTest, LongTagsSurviveGrowthAndCopies) {
  // No arena given: the profile's own one grows through several chunks.
  auto profile = std::make_shared<EMProfileCenterline>();
  for (int i = 0; i < 9000; ++i) profile->AddPoint(MakePoint("station-tag-" + std::to_string(i), i, 0));
  const EMSurveyPoint copied = MakePoint("after-the-copy-tag", 1, 1);
  profile->AddPoint(copied);
  auto points = Collect(profile->Points());
  ASSERT_EQ(points.size(), 9001u);
  for (int i = 0; i < 9000; ++i) ASSERT_EQ(points[i]->PointTag(), "station-tag-" + std::to_string(i));
  EXPECT_EQ(points[9000]->PointTag(), "after-the-copy-tag");
  EXPECT_DOUBLE_EQ(points[8999]->X(), 8999);
}

TEST(EMPointListTest, FeaturesFilledInTurnsKeepTheirOwnPointsInOrder) {
  auto arena = std::make_shared<EMPointArena>();
  EMProfileCenterline first, second;
  first.UseArena(arena);
  second.UseArena(arena);
  for (int i = 0; i < 50; ++i) {
    first.AddPoint(MakePoint(std::to_string(i), i, 0));
    if (i % 3 == 0) second.AddPoint(MakePoint(std::to_string(i), 0, i));
  }
  auto a = Collect(first.Points());
  auto b = Collect(second.Points());
  ASSERT_EQ(a.size(), 50u);
  ASSERT_EQ(b.size(), 17u);
  for (int i = 0; i < 50; ++i) ASSERT_EQ(a[i]->Id(), i);
  for (int i = 0; i < 17; ++i) ASSERT_DOUBLE_EQ(b[i]->Y(), 3 * i);
}

TEST(EMPointListTest, FeaturesSharingAnArenaKeepTheirPointsAfterTheReaderLetsGo) {
  // Enough sections that the shared arena needs several chunks, and one
  // section long enough to run across the end of a chunk.
  std::vector<std::shared_ptr<EMCrossSection>> sections;
  {
    auto arena = std::make_shared<EMPointArena>();
    for (int s = 0; s < 300; ++s) {
      auto cs = std::make_shared<EMCrossSection>();
      cs->Initialize(0, s, 1000, s, DateTime::Undefined(), 0, "x");
      cs->UseArena(arena);
      const int count = s == 7 ? 10000 : 20;
      for (int i = 0; i < count; ++i) cs->AddPoint(MakePoint("long-point-tag-" + std::to_string(i), i * 0.1, s));
      sections.push_back(cs);
    }
    EXPECT_GT(arena->ReservedBytes(), 2 * EMPointArena::kFirstChunkBytes);
  }
  auto survivor = sections[7]->Points()->GetItem(9999);
  sections.erase(sections.begin(), sections.begin() + 7);  // the last handle to other sections goes
  ASSERT_EQ(sections[0]->Points()->Size(), 10000);
  EXPECT_EQ(survivor->PointTag(), "long-point-tag-9999");
  EXPECT_DOUBLE_EQ(survivor->Station(), 999.9);
  auto last = Collect(sections.back()->Points());
  ASSERT_EQ(last.size(), 20u);
  EXPECT_EQ(last[19]->PointTag(), "long-point-tag-19");
  EXPECT_DOUBLE_EQ(last[19]->Y(), 299);
}

TEST(EMIteratorTest, GetNextPastTheEndKeepsReturningNone) {
  auto p = std::make_shared<EMProfileCenterline>();
  p->AddPoint(MakePoint("1", 0, 0));
  p->AddPoint(MakePoint("2", 3, 4));
  auto it = p->Points();
  EXPECT_EQ(it->GetNext()->Id(), 1);
  EXPECT_EQ(it->GetNext()->Id(), 2);
  EXPECT_EQ(it->GetNext(), nullptr);
  EXPECT_EQ(it->GetNext(), nullptr);
  EXPECT_EQ(it->GetItem(0)->Id(), 1);  // zero-based, and it does not move
  it->Initialize();
  EXPECT_EQ(it->GetNext()->Id(), 1);
  // Points handed out after stationing carry their stations.
  EXPECT_EQ(it->GetItem(1)->Station(), kUndefinedNumber);
  p->BuildStationing(nullptr);
  EXPECT_DOUBLE_EQ(p->Points()->GetItem(1)->Station(), 5);
}

// Points are made as they are handed out; one that is still held keeps its
// values while the walk goes on, and outlives its feature.
TEST(EMIteratorTest, HeldPointsKeepTheirValuesWhileTheWalkGoesOn) {
  auto cs = std::make_shared<EMCrossSection>();
  cs->Initialize(0, 0, 100, 0, DateTime::Undefined(), 0, "x");
  for (int i = 0; i < 5; ++i) cs->AddPoint(MakePoint(std::to_string(i + 1), 10.0 * (5 - i), 2));
  auto it = cs->Points();
  auto first = it->GetNext();
  std::vector<double> stations;
  while (auto next = it->GetNext()) stations.push_back(next->Station());  // each let go before the next
  EXPECT_EQ(stations, (std::vector<double>{20, 30, 40, 50}));
  EXPECT_EQ(first->Id(), 5);
  EXPECT_DOUBLE_EQ(first->Station(), 10);
  EXPECT_DOUBLE_EQ(first->LateralOffset(), 2);
  cs.reset();
  it.reset();
  EXPECT_EQ(first->PointTag(), "5");
  EXPECT_DOUBLE_EQ(first->X(), 10);
}

TEST(EMVerticalControlTest, CloneLeavesTheSurveyDateAndEqualsIgnoresCoordinates) {
  EMVerticalControl a;
  a.SetName("A");
  a.SetSurveyDate(*DateTime::FromDate(2023, 3, 1));
  a.SetDocumentedElevation(1.5);
  a.SetNorthing(10);
  a.SetPermanent(true);
  auto copy = a.Clone();
  EXPECT_EQ(copy->Name(), "A");
  EXPECT_TRUE(copy->IsPermanent());
  EXPECT_EQ(copy->Northing(), 10);
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

TEST(EMGageValueTest, EqualsComparesBenchmarksByName) {
  auto bm1 = std::make_shared<EMVerticalControl>();
  bm1->SetName("BM");
  auto bm2 = std::make_shared<EMVerticalControl>();
  bm2->SetName("BM");
  bm2->SetDocumentedElevation(3);
  EMGage a;
  a.SetName("G");
  a.AddDescription("note ");
  auto b = a.Clone();
  EXPECT_TRUE(a.Equals(b.get()));  // both without benchmark
  a.SetBenchmark(bm1);
  EXPECT_FALSE(a.Equals(b.get()));  // one without
  b->SetBenchmark(bm2);
  EXPECT_TRUE(a.Equals(b.get()));  // same benchmark name
  bm2->SetName("OTHER");
  EXPECT_FALSE(a.Equals(b.get()));
  b->SetBenchmark(bm1);
  b->SetNorthing(5);  // Northing does not take part
  EXPECT_TRUE(a.Equals(b.get()));
  b->SetEasting(5);
  EXPECT_FALSE(a.Equals(b.get()));
  EXPECT_EQ(b->Benchmark().get(), bm1.get());
  EXPECT_EQ(b->Description(), "note ");
}

TEST(EMMiscShotPointValueTest, CloneCopiesAttributesAndThePoint) {
  auto shot = std::make_shared<EMMiscShotPoint>();
  EXPECT_EQ(shot->Point(), nullptr);
  shot->SetPoint(MakePoint("7", 1, 2));
  shot->SetDescription("desc");
  shot->SetFieldBook("FB");
  auto copy = shot->Clone();
  shot->SetPoint(MakePoint("8", 1, 2));
  EXPECT_EQ(copy->Point()->Id(), 7);
  EXPECT_EQ(shot->Point()->Id(), 8);
  EXPECT_EQ(copy->Description(), "desc");
  EXPECT_EQ(copy->FieldBook(), "FB");
  EXPECT_EQ(copy->WaterSurfaceElevation(), kUndefinedNumber);
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
  // Codes "C0" ... "C299", built without a literal + string, which GCC 12
  // warns about falsely (-Wrestrict) in a loop.
  const auto codeOf = [](int i) { return std::string(1, 'C').append(std::to_string(i)); };
  std::vector<PointCodeRef> first;
  // Counted handles keep the entries alive after the table lets go.
  for (int i = 0; i < 300; ++i) first.emplace_back(table.Intern(codeOf(i), 0.0, describe));
  for (int i = 299; i >= 0; --i) {
    const PointCode* again = table.Intern(codeOf(i), 0.0, describe);
    EXPECT_EQ(again, first[static_cast<std::size_t>(i)].get());
    EXPECT_EQ(again->Description(), "about " + codeOf(i));
  }
  EXPECT_EQ(described, 300);
  EXPECT_EQ(table.Intern("", 0.0, describe), nullptr);

  // The vertical adjustment in force is part of the entry.
  bool created = false;
  const PointCode* raised = table.Intern("C7", 1.5, describe, &created);
  EXPECT_TRUE(created);
  EXPECT_NE(raised, first[7].get());
  EXPECT_EQ(table.Intern("C7", 1.5, describe, &created), raised);
  EXPECT_FALSE(created);
  EXPECT_DOUBLE_EQ(raised->VerticalAdjustment(), 1.5);
  EXPECT_DOUBLE_EQ(first[7].VerticalAdjustment(), 0.0);
  EXPECT_EQ(raised->Description(), "about C7");
  // A borrowed handle does not count, a copy of it does.
  PointCodeRef owner = PointCodeRef::Make("K", "kept", 2.0);
  PointCodeRef borrowed = PointCodeRef::Borrow(owner.get());
  PointCodeRef counted = borrowed;
  borrowed = PointCodeRef();
  owner = PointCodeRef();
  EXPECT_EQ(counted.Code(), "K");
  EXPECT_DOUBLE_EQ(counted.VerticalAdjustment(), 2.0);
  const PointCode* uncoded = table.Intern("", -0.25, describe);
  ASSERT_NE(uncoded, nullptr);
  EXPECT_EQ(uncoded->Code(), "");
  EXPECT_DOUBLE_EQ(uncoded->VerticalAdjustment(), -0.25);
  table.Clear();
  EXPECT_NE(table.Intern("C7", 0.0, describe), first[7].get());
  EXPECT_EQ(first[7].Description(), "about C7");
}

}  // namespace
}  // namespace veldrane
