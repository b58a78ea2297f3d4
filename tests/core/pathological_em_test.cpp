// Pathological EM input: huge counts, degenerate geometry and repeated
// records, generated in the test. Each must read completely, keep every
// point and report exactly what the reader documents.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/core/pathological_input_support.h"

namespace veldrane::test {
namespace {

const char* kHeader = "#H00 EM09\n#H02 3/14/2011\n#H17 +-0.05\n";

std::string PointLine(int id, double x, double y, double z, const char* code) {
  char line[96];
  std::snprintf(line, sizeof line, "%d,%.3f,%.3f,%.2f,%s\n", id, x, y, z, code);
  return line;
}

using PathologicalEmTest = PathologicalInputTest;

TEST_F(PathologicalEmTest, MillionPointsOnOneStationAreAllKeptInStationOrder) {
  // Range line from (0,0) to (100,100): every point (50+k, 50-k) lies on the
  // perpendicular through (50,50), station 50 sqrt 2, whatever k. One point
  // before and one after the crowd, put at the wrong ends of the file, must
  // come out first and last.
  constexpr int kCrowd = 1000000;
  const double root2 = std::sqrt(2.0);
  std::string text = std::string(kHeader) + "#X01 0 0 100 100 0+00 CROWD\n";
  text.reserve(text.size() + (kCrowd + 2) * 24);
  text += PointLine(1, 90, 90, 1, "GND");
  for (int i = 0; i < kCrowd; ++i) {
    const int k = (i % 2000) - 1000;
    text += PointLine(i + 2, 50 + k, 50 - k, 2, "GND");
  }
  text += PointLine(kCrowd + 2, 10, 10, 3, "GND");
  auto survey = OpenSurvey("crowd.em", text);
  ASSERT_NE(survey, nullptr);
  auto sections = survey->CrossSections();
  ASSERT_EQ(sections->Size(), 1);
  auto points = sections->GetItem(0)->Points();
  ASSERT_EQ(points->Size(), kCrowd + 2);
  EXPECT_EQ(points->GetItem(0)->Id(), kCrowd + 2);
  EXPECT_NEAR(points->GetItem(0)->Station(), 10 * root2, 1e-9);
  EXPECT_EQ(points->GetItem(kCrowd + 1)->Id(), 1);
  EXPECT_NEAR(points->GetItem(kCrowd + 1)->Station(), 90 * root2, 1e-9);
  std::vector<bool> seen(kCrowd + 3, false);
  double previous = -1;
  for (std::int32_t i = 0; i < points->Size(); ++i) {
    auto p = points->GetItem(i);
    ASSERT_GE(p->Station(), previous) << "at " << i;
    previous = p->Station();
    ASSERT_GE(p->Id(), 1);
    ASSERT_LE(p->Id(), kCrowd + 2);
    ASSERT_FALSE(seen[static_cast<std::size_t>(p->Id())]) << "point " << p->Id() << " twice";
    seen[static_cast<std::size_t>(p->Id())] = true;
  }
  EXPECT_NEAR(points->GetItem(kCrowd / 2)->Station(), 50 * root2, 1e-9);
}

// Records of an area's rings: holes and islands included.
struct AreaShape {
  std::int32_t outerPoints = 0;
  std::vector<std::int32_t> holePoints;
  std::int32_t islands = 0;
  std::int32_t islandPoints = 0;
};

AreaShape ShapeOf(IAreaRing& outer) {
  AreaShape shape;
  shape.outerPoints = outer.SurveyPoints()->Size();
  auto holes = outer.InternalRings();
  holes->Initialize();
  while (auto hole = holes->GetNext()) {
    shape.holePoints.push_back(hole->SurveyPoints()->Size());
    auto islands = hole->InternalRings();
    islands->Initialize();
    while (auto island = islands->GetNext()) {
      ++shape.islands;
      shape.islandPoints += island->SurveyPoints()->Size();
    }
  }
  return shape;
}

std::vector<std::string> Descriptions(ISurveyErrorQueue& queue) {
  std::vector<std::string> out;
  while (!queue.IsEmpty()) out.push_back(queue.Pop()->Description());
  return out;
}

TEST_F(PathologicalEmTest, RingOfHundredThousandPointsKeepsItsHolesAndRejectsTheOutsideOne) {
  // A circle of radius 5000 whose vertices sit half a step off the axes, so
  // no hole vertex shares a vertex's y; ten square holes inside it, and one
  // square beyond its right side: its first vertex is reported and the rest
  // of that hole is passed over.
  constexpr int kRing = 100000;
  const double pi = std::acos(-1.0);
  std::string text = std::string(kHeader) + "#A01 BIG PIT\n";
  text.reserve(text.size() + kRing * 30);
  for (int i = 0; i < kRing; ++i) {
    const double a = 2 * pi * (i + 0.5) / kRing;
    text += PointLine(i + 1, 5000 * std::cos(a), 5000 * std::sin(a), 1, "TOC");
  }
  auto square = [&](int firstId, double x0, double y0) {
    text += "#A02\n";
    text += PointLine(firstId, x0, y0 + 0.25, 0, "MND");
    text += PointLine(firstId + 1, x0 + 100, y0 + 0.25, 0, "MND");
    text += PointLine(firstId + 2, x0 + 100, y0 + 100.25, 0, "MND");
    text += PointLine(firstId + 3, x0, y0 + 100.25, 0, "MND");
  };
  for (int h = 0; h < 10; ++h) square(200000 + 10 * h, -3000 + 600 * h, -50);
  square(300000, 6000, -50);
  auto survey = OpenSurvey("ring.em", text);
  ASSERT_NE(survey, nullptr);
  auto areas = survey->Areas();
  ASSERT_EQ(areas->Size(), 1);
  const AreaShape shape = ShapeOf(*areas->GetItem(0)->AreaRing());
  EXPECT_EQ(shape.outerPoints, kRing);
  // The outside hole, left without a vertex, is not kept.
  ASSERT_EQ(shape.holePoints.size(), 10u);
  for (std::size_t h = 0; h < 10; ++h) EXPECT_EQ(shape.holePoints[h], 4) << "hole " << h;
  const auto errors = Descriptions(*survey->Errors());
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Invalid Survey Area Geometry: The hole is not inside the external polygon: 300000,", 0),
            0u)
      << errors[0];
}

TEST_F(PathologicalEmTest, HundredThousandIslandRecordsInOneHoleAreReadWithoutDeepening) {
  // Every "#A03" starts a new island of the same hole: islands never nest
  // in islands, however many follow each other.
  constexpr int kIslands = 100000;
  std::string text = std::string(kHeader) + "#A01 PIT\n";
  text += PointLine(1, 0, 0, 1, "TOC") + PointLine(2, 1000, 0, 1, "TOC");
  text += PointLine(3, 1000, 1000, 1, "TOC") + PointLine(4, 0, 1000, 1, "TOC");
  text += "#A02\n";
  text += PointLine(5, 400, 400.5, 1, "X") + PointLine(6, 600, 400.5, 1, "X");
  text += PointLine(7, 600, 600.5, 1, "X") + PointLine(8, 400, 600.5, 1, "X");
  for (int i = 0; i < kIslands; ++i) {
    text += "#A03\n";
    if (i % 2 == 0) text += PointLine(10 + i, 500, 500, 1, "W");
  }
  auto survey = OpenSurvey("islands.em", text);
  ASSERT_NE(survey, nullptr);
  ASSERT_EQ(survey->Areas()->Size(), 1);
  const AreaShape shape = ShapeOf(*survey->Areas()->GetItem(0)->AreaRing());
  EXPECT_EQ(shape.outerPoints, 4);
  ASSERT_EQ(shape.holePoints.size(), 1u);
  EXPECT_EQ(shape.holePoints[0], 4);
  EXPECT_EQ(shape.islands, kIslands);
  EXPECT_EQ(shape.islandPoints, kIslands / 2);
  EXPECT_TRUE(Descriptions(*survey->Errors()).empty());
}

}  // namespace
}  // namespace veldrane::test
