#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/station_calculator.h"
#include "model/constants.h"
#include "model/survey_error.h"
#include "tests/core/geometry_fakes.h"

namespace veldrane {
namespace {

using test::MakeProfile;
using test::MakeTraverse;
using test::StationedPoint;
using test::XY;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kTight = 1e-9;

const char* const kSource = "Ordane.StationCalculator.BuildSplineStationing";
const char* const kNoProjection =
    "Unable to project baseline on centerline. Centerline may be located too far away. Usually this is because the "
    "baseline is associated with the wrong centerline or baseline and centerline coordinate reference system do not "
    "match.";
const char* const kWrongOrder =
    "Error in station mapping order. Check that baseline and profile run in the same direction.";

// A straight profile along the x axis, points every 10 units: chainage 0..40.
const std::vector<XY> kStraightProfile{{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}};

std::vector<double> Stations(StationCalculator& calculator, std::size_t count) {
  std::vector<double> result;
  for (std::size_t i = 0; i < count; ++i) result.push_back(calculator.GetStation(static_cast<std::int32_t>(i)));
  return result;
}

void ExpectStations(const std::vector<double>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(actual[i], expected[i], kTight) << "point " << i;
}

void ExpectStationingError(StationCalculator& calculator, const std::string& description) {
  try {
    calculator.BuildStationing();
    FAIL() << "expected: " << description;
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Number(), -200016);
    EXPECT_EQ(e.Source(), kSource);
    EXPECT_EQ(e.Description(), description);
  }
}

TEST(StationCalculatorTest, WithoutABaselineStationsRunAlongTheProfile) {
  StationCalculator calculator;
  calculator.SetProfile(MakeProfile(100, {{0, 0}, {3, 4}, {6, 8}}));
  calculator.BuildStationing();
  ExpectStations(Stations(calculator, 3), {100, 105, 110});
  EXPECT_EQ(calculator.Baseline(), nullptr);
  EXPECT_NE(calculator.Profile(), nullptr);
}

TEST(StationCalculatorTest, NothingBuiltOrOnePointReadsAsUndefined) {
  StationCalculator calculator;
  EXPECT_EQ(calculator.GetStation(0), kUndefinedNumber);
  EXPECT_EQ(calculator.GetStation(7), kUndefinedNumber);
  calculator.SetProfile(MakeProfile(100, {{5, 5}}));
  calculator.BuildStationing();
  EXPECT_EQ(calculator.GetStation(0), kUndefinedNumber);
}

TEST(StationCalculatorTest, IndexOutsideTheBuiltStationsIsAnError) {
  StationCalculator calculator;
  calculator.SetProfile(MakeProfile(0, {{0, 0}, {1, 0}}));
  calculator.BuildStationing();
  EXPECT_DOUBLE_EQ(calculator.GetStation(1), 1.0);
  EXPECT_THROW(calculator.GetStation(2), std::out_of_range);
  EXPECT_THROW(calculator.GetStation(-1), std::out_of_range);
}

TEST(StationCalculatorTest, BuildingWithoutAProfileIsAnError) {
  StationCalculator calculator;
  EXPECT_THROW(calculator.BuildStationing(), std::logic_error);
}

// Baseline points one unit off the profile at x = 5 (station 1000) and
// x = 25 (station 1030). Each is nearest to two or more profile points and
// projects onto the profile at chainage 5 and 25. The spline through
// (4, 999), (5, 1000), (25, 1030), (26, 1031) has, at chainage 5, outgoing
// tangent 0.5*(1 + 30) * 2*20/21 = 620/21 and, at 25, incoming tangent
// 620/21 as well; the middle segment is 1000 + 620/21 s + 30/21 s^2
// - 20/21 s^3. At s = 0.25: 1000 + 156.5625/21; at s = 0.75:
// 1000 + 473.4375/21. Outside [5, 25] stations run one per unit.
const std::vector<double> kSplineStations{995, 1000 + 156.5625 / 21, 1000 + 473.4375 / 21, 1035, 1045};

TEST(StationCalculatorTest, SplineBetweenMatchesAndLinearBeyondThem) {
  StationCalculator calculator;
  calculator.SetBaseline(MakeTraverse({{5, 1, 1000}, {25, 1, 1030}}));
  calculator.SetProfile(MakeProfile(0, kStraightProfile));
  calculator.BuildStationing();
  ExpectStations(Stations(calculator, 5), kSplineStations);
}

TEST(StationCalculatorTest, ABaselinePointNearestToOnlyOneProfilePointIsNotMatched) {
  // (39, 1) is nearest to the last profile point only; were it matched at
  // chainage 39 with station 1050, the last two stations would change.
  StationCalculator calculator;
  calculator.SetBaseline(MakeTraverse({{5, 1, 1000}, {25, 1, 1030}, {39, 1, 1050}}));
  calculator.SetProfile(MakeProfile(0, kStraightProfile));
  calculator.BuildStationing();
  ExpectStations(Stations(calculator, 5), kSplineStations);
}

TEST(StationCalculatorTest, BaselinePointsProjectingOntoProfileVerticesAreMatched) {
  // (10, 1) projects at t = 0 on the segment from (10,0), and (30, -1) at
  // t = 0 on the segment from (30,0) (or t = 1 before it): matches at
  // chainage 10 and 30, stations 200 and 220. Between them the spline is
  // linear (outgoing and incoming tangents are both 20), outside one per unit.
  StationCalculator calculator;
  calculator.SetBaseline(MakeTraverse({{10, 1, 200}, {30, -1, 220}}));
  calculator.SetProfile(MakeProfile(0, kStraightProfile));
  calculator.BuildStationing();
  ExpectStations(Stations(calculator, 5), {190, 200, 210, 220, 230});
}

TEST(StationCalculatorTest, BaselineRunningAgainstTheProfileIsAnOrderError) {
  StationCalculator calculator;
  calculator.SetBaseline(MakeTraverse({{5, 1, 1030}, {25, 1, 1000}}));
  calculator.SetProfile(MakeProfile(0, kStraightProfile));
  ExpectStationingError(calculator, kWrongOrder);
  // The stations were sized before the order was checked.
  ExpectStations(Stations(calculator, 5), {0, 0, 0, 0, 0});
}

TEST(StationCalculatorTest, FarBaselineCannotBeProjected) {
  StationCalculator calculator;
  calculator.SetBaseline(MakeTraverse({{1000, 1000, 0}, {1010, 1000, 10}}));
  calculator.SetProfile(MakeProfile(0, kStraightProfile));
  ExpectStationingError(calculator, kNoProjection);
  EXPECT_EQ(calculator.GetStation(0), kUndefinedNumber);  // nothing was built
}

TEST(StationCalculatorTest, ProfileIsProjectedOnTheBaselineWhenNoPointMatches) {
  // A long baseline segment crossing over the profile: its end points are
  // nearest to too few profile points, or project off the profile. The
  // profile's first point projects halfway along the segment (station 100)
  // and its last point at 0.6 (station 120).
  StationCalculator calculator;
  calculator.SetBaseline(MakeTraverse({{-100, 5, 0}, {100, 5, 200}}));
  calculator.SetProfile(MakeProfile(0, {{0, 0}, {10, 0}, {20, 0}}));
  calculator.BuildStationing();
  ExpectStations(Stations(calculator, 3), {100, 110, 120});
}

TEST(StationCalculatorTest, ReversedProjectionIsAnOrderError) {
  // The profile runs against the baseline: the last point projects at a
  // lower station than the first, so the matches go down.
  StationCalculator calculator;
  calculator.SetBaseline(MakeTraverse({{-100, 5, 0}, {100, 5, 200}}));
  calculator.SetProfile(MakeProfile(0, {{20, 0}, {10, 0}, {0, 0}}));
  ExpectStationingError(calculator, kWrongOrder);
}

TEST(StationCalculatorTest, OnePointProfileAgainstABaseline) {
  StationCalculator calculator;
  calculator.SetBaseline(MakeTraverse({{-100, 5, 0}, {100, 5, 200}}));
  calculator.SetProfile(MakeProfile(0, {{0, 0}}));
  calculator.BuildStationing();
  EXPECT_EQ(calculator.GetStation(0), kUndefinedNumber);
}

TEST(StationCalculatorTest, SettingTheBaselineAgainReplacesItsPoints) {
  StationCalculator calculator;
  calculator.SetBaseline(MakeTraverse({{1000, 1000, 0}, {1010, 1000, 10}}));
  calculator.SetBaseline(MakeTraverse({{5, 1, 1000}, {25, 1, 1030}}));
  calculator.SetProfile(MakeProfile(0, kStraightProfile));
  calculator.BuildStationing();
  ExpectStations(Stations(calculator, 5), kSplineStations);
}

TEST(StationCalculatorTest, EmptyInputsAreReportedNotCrashed) {
  StationCalculator calculator;
  calculator.SetProfile(MakeProfile(50, {}));
  calculator.BuildStationing();  // simple stationing of nothing
  EXPECT_THROW(calculator.GetStation(0), std::out_of_range);
  calculator.SetBaseline(MakeTraverse({}));
  ExpectStationingError(calculator, kNoProjection);
  calculator.SetProfile(MakeProfile(50, kStraightProfile));
  ExpectStationingError(calculator, kNoProjection);
}

TEST(StationCalculatorTest, DegenerateGeometryNeverCrashesOrHangs) {
  // Coincident profile points: zero-length segments never take a match.
  {
    StationCalculator calculator;
    calculator.SetBaseline(MakeTraverse({{5, 1, 1000}, {25, 1, 1030}}));
    calculator.SetProfile(MakeProfile(0, {{0, 0}, {0, 0}, {10, 0}, {10, 0}, {20, 0}, {30, 0}, {30, 0}}));
    calculator.BuildStationing();
    EXPECT_TRUE(std::isfinite(calculator.GetStation(3)));
  }
  // NaN and huge coordinates: an error or some numbers, never a crash.
  const std::vector<std::vector<XY>> profiles{
      {{0, 0}, {kNaN, 0}, {20, 0}, {30, 0}},
      {{kNaN, kNaN}, {kNaN, kNaN}, {kNaN, kNaN}},
      {{0, 0}, {1e300, 0}, {-1e300, 1e300}, {30, 0}},
  };
  const std::vector<std::vector<StationedPoint>> baselines{
      {{5, 1, 1000}, {25, 1, 1030}},
      {{kNaN, 1, 1000}, {25, kNaN, 1030}, {26, 1, kNaN}},
      {{1e300, 1, 1000}, {-1e300, 1, 1030}},
  };
  for (const auto& profile : profiles) {
    for (const auto& baseline : baselines) {
      StationCalculator calculator;
      calculator.SetBaseline(MakeTraverse(baseline));
      calculator.SetProfile(MakeProfile(0, profile));
      try {
        calculator.BuildStationing();
        for (std::size_t i = 0; i < profile.size(); ++i) (void)calculator.GetStation(static_cast<std::int32_t>(i));
      } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), -200016);
      } catch (const std::domain_error&) {
        // equal distances in the spline: reported, not a NaN
      }
    }
  }
}

TEST(StationCalculatorTest, LongProfileAgainstADenseBaseline) {
  // A baseline beside a straight profile, its stations offset by 1000 from
  // the chainage: every match lies on the line station = chainage + 1000,
  // and so does every spline segment between them.
  std::vector<XY> profile;
  for (int i = 0; i <= 2000; ++i) profile.push_back({static_cast<double>(i), 0});
  std::vector<StationedPoint> baseline;
  for (int i = 5; i < 2000; i += 10) baseline.push_back({static_cast<double>(i), 0.5, 1000.0 + i});
  StationCalculator calculator;
  calculator.SetBaseline(MakeTraverse(baseline));
  calculator.SetProfile(MakeProfile(0, profile));
  calculator.BuildStationing();
  for (int i = 0; i <= 2000; i += 7) {
    ASSERT_NEAR(calculator.GetStation(i), 1000.0 + i, 1e-6) << i;
  }
}

}  // namespace
}  // namespace veldrane
