// Survey areas: "#A" records, exterior rings, holes and islands with their
// containment checks, ring-size checks when an area closes, and the ring
// index agreeing with the geometry validator point for point.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geometry/geometry_validator.h"
#include "model/constants.h"
#include "readers/em/em_area_ring.h"
#include "readers/em/em_area_ring_index.h"
#include "readers/em/em_survey_area.h"
#include "tests/core/em_test_support.h"

namespace veldrane::test {
namespace {

constexpr const char* kAccuracy = "#H17 +-0.05\n";
// A 100 x 100 square as four exterior points (coordinate lines give the
// northing before the easting).
constexpr const char* kSquare = "1 0 0 5\n2 100 0 5\n3 100 100 5\n4 0 100 5\n";

std::vector<std::pair<double, double>> RingXY(const std::shared_ptr<IAreaRing>& ring) {
  std::vector<std::pair<double, double>> out;
  for (const auto& p : Collect(ring->SurveyPoints())) out.emplace_back(p->X(), p->Y());
  return out;
}

using EMAreaTest = EMFileTest;

TEST_F(EMAreaTest, AreaWithoutAccuracyRecordWarnsOnceAndIsStillRead) {
  auto s = Read("#H02 05/06/2022\n#A01 Borrow pit\n#A10 north\n#A11 end\n#A05 reserved\n1 0 0 5\n2 10 0 5\n3 10 10 5\n");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].text,
            "Survey Area Features (#A01, #A02, #A03) specified without Horizontal Accuray Record (#H17). Last point "
            "will be included in polygon rendering and may result in incorrect topology.");
  EXPECT_EQ(errors_[0].severity, kSeverityWarning);
  EXPECT_EQ(errors_[0].line, 2);
  auto areas = Collect(s->Areas());
  ASSERT_EQ(areas.size(), 1u);
  EXPECT_EQ(areas[0]->AltName(), "Borrow pit");
  EXPECT_EQ(areas[0]->Description(), "north end");
  EXPECT_EQ(areas[0]->SurveyDate(), *DateTime::FromDate(2022, 5, 6));
  EXPECT_EQ(areas[0]->WaterSurfaceElevation(), kUndefinedNumber);
  EXPECT_EQ(areas[0]->WaterSurfaceTime(), DateTime::Undefined());
  EXPECT_EQ(RingXY(areas[0]->AreaRing()), (std::vector<std::pair<double, double>>{{0, 0}, {0, 10}, {10, 10}}));
  EXPECT_EQ(areas[0]->AreaRing()->InternalRings()->Size(), 0);
}

TEST_F(EMAreaTest, HoleAndIslandNestInsideTheirRings) {
  auto s = Read(std::string(kAccuracy) + "#A01 Pit\n" + kSquare +
                "#A02\n5 10 10 5\n6 90 10 5\n7 90 90 5\n8 10 90 5\n"
                "#A03\n9 40 40 5\n10 60 40 5\n11 60 60 5\n"
                "#A02\n12 20 20 5\n13 30 20 5\n14 30 30 5\n");
  EXPECT_TRUE(errors_.empty());
  auto areas = Collect(s->Areas());
  ASSERT_EQ(areas.size(), 1u);
  auto exterior = areas[0]->AreaRing();
  EXPECT_EQ(exterior->SurveyPoints()->Size(), 4);
  auto holes = Collect(exterior->InternalRings());
  ASSERT_EQ(holes.size(), 2u);
  EXPECT_EQ(holes[0]->SurveyPoints()->Size(), 4);
  auto islands = Collect(holes[0]->InternalRings());
  ASSERT_EQ(islands.size(), 1u);
  EXPECT_EQ(RingXY(islands[0]), (std::vector<std::pair<double, double>>{{40, 40}, {40, 60}, {60, 60}}));
  EXPECT_EQ(islands[0]->InternalRings()->Size(), 0);
  EXPECT_EQ(RingXY(holes[1]), (std::vector<std::pair<double, double>>{{20, 20}, {20, 30}, {30, 30}}));
  EXPECT_EQ(holes[1]->InternalRings()->Size(), 0);
  EXPECT_EQ(Collect(holes[1]->SurveyPoints())[0]->Id(), 12);
}

TEST_F(EMAreaTest, HoleOutsideTheExteriorRingIsRemovedAndItsPointsSkipped) {
  auto s = Read(std::string(kAccuracy) + "#A01 Pit\n" + kSquare +
                "#A02\n5 150 50 5\n6 20 20 5\n7 30 20 5\n8 30 30 5\n"
                "#A02\n9 20 20 5\n10 30 20 5\n11 30 30 5\n");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].text,
            "Invalid Survey Area Geometry: The hole is not inside the external polygon: 5 150 50 5");
  EXPECT_EQ(errors_[0].line, 11);  // coordinate lines report at the end of their block
  EXPECT_EQ(errors_[0].severity, kSeverityError);
  auto exterior = s->Areas()->GetItem(0)->AreaRing();
  EXPECT_EQ(exterior->SurveyPoints()->Size(), 4);  // the skipped points did not join it
  auto holes = Collect(exterior->InternalRings());
  ASSERT_EQ(holes.size(), 1u);
  EXPECT_EQ(Collect(holes[0]->SurveyPoints())[0]->Id(), 9);
}

TEST_F(EMAreaTest, IslandOutsideItsHoleIsRemovedAndTheHoleKept) {
  auto s = Read(std::string(kAccuracy) + "#A01 Pit\n" + kSquare + "#A02\n5 10 10 5\n6 50 10 5\n7 50 50 5\n8 10 50 5\n" +
                "#A03\n9 20 20 5\n10 70 70 5\n11 30 30 5\n#A03 \n12 20 20 5\n13 30 20 5\n14 30 30 5\n");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].text, "Invalid Survey Area Geometry: The island is not inside the hole: 10 70 70 5");
  EXPECT_EQ(errors_[0].line, 15);
  auto hole = Collect(s->Areas()->GetItem(0)->AreaRing()->InternalRings())[0];
  EXPECT_EQ(hole->SurveyPoints()->Size(), 4);  // neither the island's first nor its last point moved here
  auto islands = Collect(hole->InternalRings());
  ASSERT_EQ(islands.size(), 1u);
  EXPECT_EQ(Collect(islands[0]->SurveyPoints())[0]->Id(), 12);
}

TEST_F(EMAreaTest, RingSizesAreCheckedWhenTheAreaCloses) {
  auto s = Read(std::string(kAccuracy) + "#A01 Short\n1 0 0 5\n2 10 0 5\n#A01 Small hole\n" + kSquare +
                "#A02\n5 10 10 5\n6 20 10 5\n#M01 shots\n");
  ASSERT_EQ(errors_.size(), 2u);
  EXPECT_EQ(errors_[0].text, "Prior Survey Area external ring must have at least three points.");
  EXPECT_EQ(errors_[0].line, 5);
  EXPECT_EQ(errors_[1].text, "Prior Survey Area internal rings should have at least three points.");
  EXPECT_EQ(errors_[1].line, 13);
  auto areas = Collect(s->Areas());
  ASSERT_EQ(areas.size(), 1u);
  EXPECT_EQ(areas[0]->AltName(), "Small hole");
  EXPECT_EQ(areas[0]->AreaRing()->InternalRings()->Size(), 1);
}

TEST_F(EMAreaTest, RecordsOutOfOrderAreReportedAndSkipped) {
  auto s = Read(std::string(kAccuracy) + "#A02\n#A03\n#A01 Pit\n#A03\n#AX1 what\n" + kSquare);
  ASSERT_EQ(errors_.size(), 4u);
  EXPECT_EQ(errors_[0].text,
            "Survey area hole (#A02) specified out of order. #A02 records must be recorded after #A01 records.");
  EXPECT_EQ(errors_[0].line, 2);
  EXPECT_EQ(errors_[1].line, 3);
  EXPECT_NE(errors_[1].text.find("(#A03) specified out of order"), std::string::npos);
  EXPECT_NE(errors_[2].text.find("(#A03) specified without a hole"), std::string::npos);
  EXPECT_EQ(errors_[2].line, 5);
  EXPECT_EQ(errors_[3].text, "Invalid survey code: #AX1");
  for (const auto& e : errors_) EXPECT_EQ(e.severity, kSeverityError);
  auto areas = Collect(s->Areas());
  ASSERT_EQ(areas.size(), 1u);
  EXPECT_EQ(areas[0]->AreaRing()->SurveyPoints()->Size(), 4);
  EXPECT_EQ(areas[0]->AreaRing()->InternalRings()->Size(), 0);
}

TEST(EMAreaRingTest, CurrentInteriorRingFollowsAddAndRemove) {
  EMAreaRing ring;
  EXPECT_EQ(ring.GetCurrentInteriorRing(), nullptr);
  ring.RemoveCurrentInteriorRing();  // nothing to remove
  auto a = std::make_shared<EMAreaRing>();
  auto b = std::make_shared<EMAreaRing>();
  ring.AddInteriorRing(a);
  ring.AddInteriorRing(b);
  EXPECT_EQ(ring.GetCurrentInteriorRing(), b);
  ring.RemoveCurrentInteriorRing();
  EXPECT_EQ(ring.GetCurrentInteriorRing(), a);
  EXPECT_EQ(ring.InteriorRingCount(), 1);
  EMSurveyPoint p;
  p.Initialize("7", 1, 2, 3, 0, "", "", kUndefinedNumber, kUndefinedNumber);
  ring.AddSurveyPoint(p);
  p.Initialize("8", 9, 9, 9, 0, "", "", kUndefinedNumber, kUndefinedNumber);
  auto stored = ring.SurveyPoints()->GetItem(0);
  EXPECT_EQ(stored->Id(), 7);  // a copy, not the caller's point
  EXPECT_EQ(stored->X(), 1);
}

// A jagged star ring with many vertices, some sharing y values (so the ray
// runs through vertices and along horizontal edges).
std::pair<std::vector<double>, std::vector<double>> StarRing(int n, double cx, double cy) {
  std::vector<double> xs, ys;
  for (int i = 0; i < n; ++i) {
    const double angle = 2 * 3.14159265358979 * i / n;
    const double radius = (i % 2 == 0) ? 1000.0 : 400.0 + (i % 7) * 50.0;
    xs.push_back(std::round(cx + radius * std::cos(angle)));
    ys.push_back(std::round(cy + radius * std::sin(angle)));
  }
  xs.push_back(0);
  ys.push_back(0);
  return {xs, ys};
}

TEST(EMAreaRingIndexTest, AgreesWithTheValidatorEverywhere) {
  const GeometryValidator validator;
  for (const auto& [cx, cy] : {std::pair{0.0, 0.0}, std::pair{3512345.25, 712345.5}}) {
    auto [xs, ys] = StarRing(500, cx, cy);
    const auto n = static_cast<std::int32_t>(xs.size() - 1);
    EMAreaRingIndex index(xs, ys, n);
    std::mt19937 random(42);
    std::uniform_real_distribution<double> offset(-1600, 1600);
    std::uniform_int_distribution<int> vertex(0, n - 1);
    int inside = 0, checked = 0;
    auto check = [&](double x, double y) {
      ++checked;
      const bool expected = validator.IsPointInPolygon(x, y, n, xs, ys);
      inside += expected ? 1 : 0;
      ASSERT_EQ(index.Contains(x, y), expected) << x << " " << y;
    };
    for (int i = 0; i < 4000; ++i) check(cx + offset(random), cy + offset(random));
    for (int i = 0; i < 2000; ++i) {
      // On a vertex, on a vertex's y level, and a hair above or below it.
      const int v = vertex(random);
      check(xs[v], ys[v]);
      check(cx + offset(random), ys[v]);
      check(cx + offset(random), std::nextafter(ys[v], 1e300));
      check(cx + offset(random), std::nextafter(ys[v], -1e300));
      check((xs[v] + xs[(v + 1) % n]) / 2, (ys[v] + ys[(v + 1) % n]) / 2);
    }
    // Far away and right of the ring.
    check(cx + 1e6, cy);
    check(cx - 1e6, cy);
    check(cx, cy + 1e6);
    EXPECT_GT(inside, checked / 10);  // the sample really probes both sides
    EXPECT_LT(inside, checked * 9 / 10);
  }
}

TEST(EMSurveyAreaTest, HoleVerticesTestedAgainstALargeExteriorRing) {
  // 2000 exterior vertices around a circle of radius 1000; a hole whose
  // last vertex lies just outside the ring between two vertices. (The hole
  // vertices stay off the exterior vertices' y levels: a ray through a
  // vertex counts both edges meeting there, so such a point reads outside.)
  EMSurveyArea area;
  EMSurveyPoint p;
  for (int i = 0; i < 2000; ++i) {
    const double a = 2 * 3.14159265358979 * i / 2000;
    p.Initialize(std::to_string(i), 1000 * std::cos(a), 1000 * std::sin(a), 0, 0, "", "", kUndefinedNumber,
                 kUndefinedNumber);
    area.AddExteriorPoint(p);
  }
  area.AddNewHole();
  for (int i = 0; i < 300; ++i) {
    p.Initialize("h", 900 * std::cos(0.0123 + i * 0.02), 900 * std::sin(0.0123 + i * 0.02), 0, 0, "", "", kUndefinedNumber,
                 kUndefinedNumber);
    ASSERT_TRUE(area.AddPointToHole(p)) << i;
  }
  EXPECT_TRUE(area.InHole());
  p.Initialize("out", 1000.5, 0.1, 0, 0, "", "", kUndefinedNumber, kUndefinedNumber);
  EXPECT_FALSE(area.AddPointToHole(p));
  EXPECT_FALSE(area.InHole());
  EXPECT_EQ(area.ExteriorRing()->InteriorRingCount(), 0);
}

}  // namespace
}  // namespace veldrane::test
