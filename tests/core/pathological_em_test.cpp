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

TEST_F(PathologicalEmTest, CoordinateLinesWithoutAFeatureEachGiveOneRecord) {
  constexpr int kLines = 500000;
  std::string text = kHeader;
  text.reserve(kLines * 28);
  for (int i = 0; i < kLines; ++i) text += PointLine(i + 1, 1000 + i, 2000, 3, "GND");
  auto survey = OpenSurvey("orphans.em", text);
  ASSERT_NE(survey, nullptr);
  EXPECT_EQ(survey->CrossSections()->Size(), 0);
  EXPECT_EQ(survey->MiscShotPoints()->Size(), 0);
  const auto [all, orphans] =
      CountErrors(*survey->Errors(), "Unexpected error, no data record available in which to put surveyed point");
  EXPECT_EQ(orphans, static_cast<std::size_t>(kLines));
  EXPECT_EQ(all, static_cast<std::size_t>(kLines));
}

}  // namespace
}  // namespace veldrane::test
