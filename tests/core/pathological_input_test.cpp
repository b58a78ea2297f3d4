// Pathological input, generated in the test and read through the factory:
// empty and NUL files, a 10 MB line and bytes that are not UTF-8 in every
// reader, huge counts and degenerate geometry in the EM reader. Each must
// read completely and keep every point.
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tests/core/reader_test_support.h"

namespace veldrane::test {
namespace {

using PathologicalInputTest = ReaderTest;

const char* kHeader = "#H00 EM09\n#H02 3/14/2011\n#H17 +-0.05\n";

std::string PointLine(int id, double x, double y, double z, const char* code) {
  char line[96];
  std::snprintf(line, sizeof line, "%d,%.3f,%.3f,%.2f,%s\n", id, x, y, z, code);
  return line;
}

// Each extension, in any letter case, reaches its own reader (a survey or a
// traverse); empty files, NUL bytes and a 10 MB line give every reader an
// object with nothing in it, whose error queue drains.
TEST_F(PathologicalInputTest, NothingToReadGivesAnEmptyResultInEveryReader) {
  const std::string longLine = "; " + std::string(10 * 1024 * 1024, 'x') + "\n";
  const std::pair<const char*, bool> readers[] = {{"EM", false}, {"cl", false}, {"830", false}, {"Pro", false},
                                                  {"27", true},  {"83", true},  {"bl", true}};
  for (const std::string& bytes : {std::string(), std::string(64 * 1024, '\0'), longLine}) {
    for (const auto& [ext, isTraverse] : readers) {
      SCOPED_TRACE(std::string(".") + ext + " of " + std::to_string(bytes.size()) + " bytes");
      auto object = OpenSurveyFile(Write(std::string("input.") + ext, bytes));
      if (auto survey = std::dynamic_pointer_cast<ISurvey>(object)) {
        EXPECT_FALSE(isTraverse);
        ExpectMembers(Json(*survey), R"({"CrossSections": [], "ProfileCenterlines": [], "MiscShotPoints": [],
                                         "Areas": []})");
        Drain(*survey->Errors());
      } else {
        auto traverse = std::dynamic_pointer_cast<ITraverse>(object);
        ASSERT_NE(traverse, nullptr);
        EXPECT_TRUE(isTraverse);
        ExpectMembers(Json(*traverse), R"({"TraversePoints": []})");
        Drain(*traverse->Errors());
      }
    }
  }
  // Past the long line the EM reader still finds what is declared after it.
  auto survey = Read("long.em", "#H00 EM09\n" + longLine + "#X01 0 0 100 0 1+00 R1\n1,10,0,1,GND\n2,20,0,2,GND\n");
  ExpectMembers(Json(*survey), R"({"CrossSections": [{"Station": 100, "Points": [{}, {}]}]})");
}

TEST_F(PathologicalInputTest, BytesThatAreNotUtf8StayValidUtf8InTheDumpJson) {
  // Windows-1252 "é" (0xE9), a lone continuation byte, a truncated 3-byte
  // sequence and an overlong "/" in names, descriptions and codes.
  const std::string bad = "Caf\xE9 \x80 \xE2\x82 \xC0\xAF";
  const std::string path = Write("latin.em", "#H00 EM09\n#H08 " + bad + "\n#X01 0 0 100 0 1+00 " + bad + "\n#X12 " +
                                                 bad + "\n1,10,0,1," + bad + "\n2,20,0,2,GND\n");
  OrderedJson back;
  ASSERT_NO_THROW(back = SurveyFileToJson(path, OpenSurveyFile(path)));  // the parser throws on bad UTF-8
  // Every text member is converted alike; the name stands for them all.
  EXPECT_EQ(back["survey"]["CrossSections"][0]["AltName"].get<std::string>().rfind("Caf\xC3\xA9 ", 0), 0u);
}

TEST_F(PathologicalInputTest, MillionPointsOnOneStationAreAllKeptInStationOrder) {
  // Range line from (0,0) to (100,100): every point (50+k, 50-k) lies on the
  // perpendicular through (50,50), station 50 sqrt 2, whatever k. One point
  // before and one after the crowd, put at the wrong ends of the file, must
  // come out first and last.
  constexpr int kCrowd = 1000000;
  std::string text = std::string(kHeader) + "#X01 0 0 100 100 0+00 CROWD\n";
  text.reserve(text.size() + (kCrowd + 2) * 24);
  text += PointLine(1, 90, 90, 1, "GND");
  for (int i = 0; i < kCrowd; ++i) text += PointLine(i + 2, 50 + (i % 2000) - 1000, 50 - (i % 2000) + 1000, 2, "GND");
  text += PointLine(kCrowd + 2, 10, 10, 3, "GND");
  auto survey = Read("crowd.em", text);
  auto points = survey->CrossSections()->GetItem(0)->Points();
  ASSERT_EQ(points->Size(), kCrowd + 2);
  std::vector<bool> seen(kCrowd + 3, false);
  double previous = -1;
  while (auto p = points->GetNext()) {
    ASSERT_GE(p->Station(), previous);
    previous = p->Station();
    ASSERT_FALSE(seen.at(static_cast<std::size_t>(p->Id()))) << "point " << p->Id() << " twice";
    seen[static_cast<std::size_t>(p->Id())] = true;
  }
  const double root2 = std::sqrt(2.0);
  EXPECT_NEAR(points->GetItem(0)->Station(), 10 * root2, 1e-9);
  EXPECT_EQ(points->GetItem(0)->Id(), kCrowd + 2);
  EXPECT_NEAR(points->GetItem(kCrowd / 2)->Station(), 50 * root2, 1e-9);
  EXPECT_EQ(points->GetItem(kCrowd + 1)->Id(), 1);
}

TEST_F(PathologicalInputTest, RingOfHundredThousandPointsKeepsItsHolesAndRejectsTheOutsideOne) {
  // A circle of radius 5000 whose vertices sit half a step off the axes, so
  // no hole vertex shares a vertex's y; ten square holes inside it, and one
  // beyond its right side: its first vertex is reported and the rest of that
  // hole passed over.
  constexpr int kRing = 100000;
  const double pi = std::acos(-1.0);
  std::string text = std::string(kHeader) + "#A01 BIG PIT\n";
  for (int i = 0; i < kRing; ++i) {
    const double a = 2 * pi * (i + 0.5) / kRing;
    text += PointLine(i + 1, 5000 * std::cos(a), 5000 * std::sin(a), 1, "TOC");
  }
  for (int h = 0; h <= 10; ++h) {
    const double x0 = h < 10 ? -3000 + 600 * h : 6000;
    text += "#A02\n" + PointLine(200000 + 10 * h, x0, -49.75, 0, "MND") + PointLine(0, x0 + 100, -49.75, 0, "MND") +
            PointLine(0, x0 + 100, 50.25, 0, "MND") + PointLine(0, x0, 50.25, 0, "MND");
  }
  auto survey = Read("ring.em", text);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(
      errors_[0].rfind(std::to_string(3 + 1 + kRing + 55) +
                           ":1:Invalid Survey Area Geometry: The hole is not inside the external polygon: 200100,",
                       0),
      0u)
      << errors_[0];
  // Walked through the model itself: its JSON view of 100,000 points costs
  // seconds in a debug build.
  const auto ring = survey->Areas()->GetItem(0)->AreaRing();
  EXPECT_EQ(ring->SurveyPoints()->Size(), kRing);
  const auto inner = ring->InternalRings();
  ASSERT_EQ(inner->Size(), 10);
  while (const auto hole = inner->GetNext()) {
    EXPECT_EQ(hole->SurveyPoints()->Size(), 4);
    EXPECT_EQ(hole->InternalRings()->Size(), 0);
  }
}

TEST_F(PathologicalInputTest, HundredThousandIslandRecordsInOneHoleAreReadWithoutDeepening) {
  // Every "#A03" starts a new island of the same hole: islands never nest
  // in islands, however many follow each other.
  constexpr int kIslands = 100000;
  std::string text = std::string(kHeader) + "#A01 PIT\n" + PointLine(1, 0, 0, 1, "TOC") +
                     PointLine(2, 1000, 0, 1, "TOC") + PointLine(3, 1000, 1000, 1, "TOC") +
                     PointLine(4, 0, 1000, 1, "TOC") + "#A02\n" + PointLine(5, 400, 400.5, 1, "X") +
                     PointLine(6, 600, 400.5, 1, "X") + PointLine(7, 600, 600.5, 1, "X") +
                     PointLine(8, 400, 600.5, 1, "X");
  for (int i = 0; i < kIslands; ++i) text += i % 2 == 0 ? "#A03\n" + PointLine(10 + i, 500, 500, 1, "W") : "#A03\n";
  auto survey = Read("islands.em", text);
  EXPECT_EQ(errors_, Lines{});
  const auto hole = survey->Areas()->GetItem(0)->AreaRing()->InternalRings()->GetItem(0);
  EXPECT_EQ(hole->SurveyPoints()->Size(), 4);
  const auto islands = hole->InternalRings();
  ASSERT_EQ(islands->Size(), kIslands);
  int islandPoints = 0;
  while (const auto island = islands->GetNext()) {
    islandPoints += island->SurveyPoints()->Size();
    ASSERT_EQ(island->InternalRings()->Size(), 0);
  }
  EXPECT_EQ(islandPoints, kIslands / 2);
}

}  // namespace
}  // namespace veldrane::test
