// Profile stationing: along the profile without a baseline, mapped from a
// stationed baseline through a spline with one, and the two stationing
// errors.
#include <gtest/gtest.h>

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

const std::string kNoProjection =
    "Unable to project baseline on centerline. Centerline may be located too far away. Usually this is because the "
    "baseline is associated with the wrong centerline or baseline and centerline coordinate reference system do not "
    "match.";
const std::string kWrongOrder =
    "Error in station mapping order. Check that baseline and profile run in the same direction.";

// A straight profile along the x axis, points every 10 units: chainage 0..40.
const std::vector<XY> kStraight{{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}};

// Baseline points one unit off the profile at x = 5 (station 1000) and
// x = 25 (station 1030) project onto it at chainage 5 and 25. The spline
// through (4, 999), (5, 1000), (25, 1030), (26, 1031) has, at chainage 5,
// outgoing tangent 0.5*(1 + 30) * 2*20/21 = 620/21 and, at 25, incoming
// tangent 620/21 as well; the middle segment is 1000 + 620/21 s + 30/21 s^2
// - 20/21 s^3. At s = 0.25: 1000 + 156.5625/21; at s = 0.75:
// 1000 + 473.4375/21. Outside [5, 25] stations run one per unit.
const std::vector<double> kSpline{995, 1000 + 156.5625 / 21, 1000 + 473.4375 / 21, 1035, 1045};

// With `baseline` false the calculator is given none at all.
struct Case {
  const char* what;
  bool baseline;
  std::vector<StationedPoint> baselinePoints;
  std::vector<XY> profile;
  std::vector<double> stations;  // what GetStation gives for each point
  std::string error;             // or the stationing error raised
};

TEST(StationCalculatorTest, StationsOfEachPoint) {
  const Case cases[] = {
      {"without a baseline stations run along the profile from its start", false, {}, {{0, 0}, {3, 4}, {6, 8}},
       {100, 105, 110}, ""},
      {"a profile of one point has none", false, {}, {{5, 5}}, {kUndefinedNumber}, ""},
      {"a spline between the matches, linear beyond them", true, {{5, 1, 1000}, {25, 1, 1030}}, kStraight, kSpline,
       ""},
      // (39, 1) is nearest to the last profile point only: were it matched at
      // chainage 39 with station 1050, the last two stations would change.
      {"a baseline point nearest to only one profile point is not matched", true,
       {{5, 1, 1000}, {25, 1, 1030}, {39, 1, 1050}}, kStraight, kSpline, ""},
      // (10, 1) projects at t = 0 on the segment from (10,0), (30, -1) at the
      // start of the one from (30,0): the spline between is linear.
      {"baseline points projecting onto profile vertices are matched", true, {{10, 1, 200}, {30, -1, 220}},
       kStraight, {190, 200, 210, 220, 230}, ""},
      // Its end points are nearest to too few profile points, or project off
      // the profile: the profile's ends project onto the baseline instead,
      // the first halfway along it (station 100), the last at 0.6 (120).
      {"the profile is projected on the baseline when no point matches", true, {{-100, 5, 0}, {100, 5, 200}},
       {{0, 0}, {10, 0}, {20, 0}}, {100, 110, 120}, ""},
      {"a one-point profile against a baseline", true, {{-100, 5, 0}, {100, 5, 200}}, {{0, 0}}, {kUndefinedNumber},
       ""},
      // The stations were sized before the order was checked.
      {"a baseline running against the profile", true, {{5, 1, 1030}, {25, 1, 1000}}, kStraight, {0, 0, 0, 0, 0},
       kWrongOrder},
      {"a reversed projection", true, {{-100, 5, 0}, {100, 5, 200}}, {{20, 0}, {10, 0}, {0, 0}}, {}, kWrongOrder},
      {"a far baseline", true, {{1000, 1000, 0}, {1010, 1000, 10}}, kStraight, {kUndefinedNumber}, kNoProjection},
      {"an empty baseline", true, {}, kStraight, {kUndefinedNumber}, kNoProjection},
      // Coincident profile points make zero-length segments, which take no match.
      {"coincident profile points", true, {{5, 1, 1000}, {25, 1, 1030}},
       {{0, 0}, {0, 0}, {10, 0}, {10, 0}, {20, 0}, {30, 0}, {30, 0}},
       {995, 995, kSpline[1], kSpline[1], kSpline[2], 1035, 1035}, ""},
  };
  for (const auto& c : cases) {
    StationCalculator calculator;
    if (c.baseline) calculator.SetBaseline(MakeTraverse(c.baselinePoints));
    calculator.SetProfile(MakeProfile(100, c.profile));
    try {
      calculator.BuildStationing();
      EXPECT_EQ(c.error, "") << c.what;
    } catch (const RaisedError& e) {
      EXPECT_EQ(e.Number(), -200016) << c.what;
      EXPECT_EQ(e.Source(), "Ordane.StationCalculator.BuildSplineStationing") << c.what;
      EXPECT_EQ(e.Description(), c.error) << c.what;
    }
    for (std::size_t i = 0; i < c.stations.size(); ++i)
      EXPECT_NEAR(calculator.GetStation(static_cast<std::int32_t>(i)), c.stations[i], 1e-9) << c.what << " " << i;
  }
}

TEST(StationCalculatorTest, MisuseIsAnErrorAndSettingTheBaselineAgainReplacesIt) {
  StationCalculator calculator;
  EXPECT_THROW(calculator.BuildStationing(), std::logic_error);  // no profile
  EXPECT_EQ(calculator.GetStation(7), kUndefinedNumber);         // nothing built
  calculator.SetProfile(MakeProfile(50, {}));
  calculator.BuildStationing();
  EXPECT_THROW(calculator.GetStation(0), std::out_of_range);
  calculator.SetBaseline(MakeTraverse({{1000, 1000, 0}, {1010, 1000, 10}}));
  calculator.SetBaseline(MakeTraverse({{5, 1, 1000}, {25, 1, 1030}}));
  calculator.SetProfile(MakeProfile(0, kStraight));
  calculator.BuildStationing();
  EXPECT_NEAR(calculator.GetStation(1), kSpline[1], 1e-9);
  EXPECT_THROW(calculator.GetStation(5), std::out_of_range);
  EXPECT_THROW(calculator.GetStation(-1), std::out_of_range);
}

TEST(StationCalculatorTest, NonFiniteGeometryGivesAnErrorOrNumbersNeverACrash) {
  const std::vector<std::vector<XY>> profiles{{{0, 0}, {kNaN, 0}, {20, 0}, {30, 0}},
                                              {{kNaN, kNaN}, {kNaN, kNaN}, {kNaN, kNaN}},
                                              {{0, 0}, {1e300, 0}, {-1e300, 1e300}, {30, 0}}};
  const std::vector<std::vector<StationedPoint>> baselines{{{5, 1, 1000}, {25, 1, 1030}},
                                                           {{kNaN, 1, 1000}, {25, kNaN, 1030}, {26, 1, kNaN}},
                                                           {{1e300, 1, 1000}, {-1e300, 1, 1030}}};
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
  for (int i = 0; i <= 2000; i += 7) ASSERT_NEAR(calculator.GetStation(i), 1000.0 + i, 1e-6) << i;
}

}  // namespace
}  // namespace veldrane
