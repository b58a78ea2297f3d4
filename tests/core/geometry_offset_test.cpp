#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "geometry/baseline_crossing_finder.h"
#include "geometry/locator.h"
#include "geometry/offset_calculator.h"
#include "tests/core/geometry_fakes.h"

namespace veldrane {
namespace {

using test::MakeBaseline;
using test::MakeRangeLine;
using test::XY;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Offsets {
  double x;
  double y;
  double distance;
};

Offsets Cross(OffsetCalculator& calculator, double ax, double ay, double bx, double by) {
  calculator.SetCrossSection(MakeRangeLine(ax, ay, bx, by));
  return {calculator.IntersectX(), calculator.IntersectY(), calculator.RangeStartToBaselineDistance()};
}

void ExpectNoCrossing(const Offsets& o) {
  EXPECT_EQ(o.x, kUndefinedNumber);
  EXPECT_EQ(o.y, kUndefinedNumber);
  EXPECT_EQ(o.distance, kUndefinedNumber);
}

class OffsetCalculatorTest : public ::testing::Test {
 protected:
  void SetUp() override { calculator.SetBaseline(MakeBaseline({{0, 0}, {10, 0}, {20, 0}})); }
  OffsetCalculator calculator;
};

TEST_F(OffsetCalculatorTest, DistanceIsSignedByWhichSideOfTheStartTheBaselineLies) {
  // The range line is taken as infinite: a crossing behind its start
  // (u = -1.5) is negative, one beyond its end (u = 2.5) still counts.
  const struct {
    double startY, stopY, distance;
  } cases[] = {{-5, 5, 5.0}, {3, 5, -3.0}, {5, 3, 5.0}};
  for (const auto& c : cases) {
    const Offsets o = Cross(calculator, 5, c.startY, 5, c.stopY);
    EXPECT_DOUBLE_EQ(o.x, 5.0) << c.startY;
    EXPECT_DOUBLE_EQ(o.y, 0.0) << c.startY;
    EXPECT_DOUBLE_EQ(o.distance, c.distance) << c.startY;
  }
}

TEST_F(OffsetCalculatorTest, ParallelAndZeroLengthRangeLinesHaveNoCrossing) {
  ExpectNoCrossing(Cross(calculator, 0, 5, 20, 5));
  ExpectNoCrossing(Cross(calculator, 0, 0, 20, 0));  // along the baseline itself
  ExpectNoCrossing(Cross(calculator, 5, 5, 5, 5));
}

TEST_F(OffsetCalculatorTest, OutputsAreRoundedToThreeDecimalsHalfToEven) {
  // The crossing x is the range line's own x.
  Offsets o = Cross(calculator, 1.0015, -5, 1.0015, 5);
  EXPECT_DOUBLE_EQ(o.x, 1.002);
  EXPECT_DOUBLE_EQ(o.y, 0.0);
  o = Cross(calculator, 1.0025, -5, 1.0025, 5);
  EXPECT_DOUBLE_EQ(o.x, 1.002);
  o = Cross(calculator, 3.14159, -1, 3.14159, 1);
  EXPECT_DOUBLE_EQ(o.x, 3.142);
  // The distance is the start's depth below the baseline.
  o = Cross(calculator, 5, -2.0005, 5, 5);
  EXPECT_DOUBLE_EQ(o.distance, 2.0);
  o = Cross(calculator, 5, -2.0015, 5, 5);
  EXPECT_DOUBLE_EQ(o.distance, 2.002);
}

TEST_F(OffsetCalculatorTest, DistanceIsMeasuredToTheRoundedCrossing) {
  // The crossing (1.0015, 0) is reported as (1.002, 0); from the start
  // (1.0015, -2.0005) that is sqrt(0.0005^2 + 2.0005^2) = 2.00050006...,
  // past the half, where the unrounded crossing would give the tie 2.0005.
  const Offsets o = Cross(calculator, 1.0015, -2.0005, 1.0015, 5);
  EXPECT_DOUBLE_EQ(o.x, 1.002);
  EXPECT_DOUBLE_EQ(o.distance, 2.001);
}

TEST_F(OffsetCalculatorTest, CrossingExactlyAtTheUndefinedParameterCountsAsNone) {
  // s = 1/10000 = 0.0001 exactly along the single segment.
  OffsetCalculator exact;
  exact.SetBaseline(MakeBaseline({{0, 0}, {10000, 0}}));
  ExpectNoCrossing(Cross(exact, 1, -5, 1, 5));
  const Offsets o = Cross(exact, 2, -5, 2, 5);
  EXPECT_DOUBLE_EQ(o.x, 2.0);
  EXPECT_DOUBLE_EQ(o.distance, 5.0);
}

TEST(OffsetCalculatorSetupTest, NothingIsComputedUntilBothAreSet) {
  OffsetCalculator calculator;
  EXPECT_EQ(calculator.IntersectX(), kUndefinedNumber);
  EXPECT_EQ(calculator.IntersectY(), kUndefinedNumber);
  EXPECT_EQ(calculator.RangeStartToBaselineDistance(), 0.0);
  calculator.SetCrossSection(MakeRangeLine(5, -5, 5, 5));
  EXPECT_EQ(calculator.RangeStartToBaselineDistance(), 0.0);
  EXPECT_EQ(calculator.CrossSection()->StartY(), -5.0);
  // Setting the baseline does not recompute; reading it does.
  calculator.SetBaseline(MakeBaseline({{0, 0}, {10, 0}}));
  EXPECT_EQ(calculator.IntersectX(), kUndefinedNumber);
  EXPECT_NE(calculator.Baseline(), nullptr);
  EXPECT_DOUBLE_EQ(calculator.IntersectX(), 5.0);
  EXPECT_DOUBLE_EQ(calculator.RangeStartToBaselineDistance(), 5.0);
}

TEST(OffsetCalculatorSetupTest, ReplacingTheBaselineTakesEffectOnTheNextRead) {
  OffsetCalculator calculator;
  calculator.SetBaseline(MakeBaseline({{0, 0}, {10, 0}}));
  EXPECT_DOUBLE_EQ(Cross(calculator, 5, -5, 5, 5).distance, 5.0);
  calculator.SetBaseline(MakeBaseline({{0, 2}, {10, 2}}));
  calculator.CrossSection();
  EXPECT_DOUBLE_EQ(calculator.IntersectY(), 2.0);
  EXPECT_DOUBLE_EQ(calculator.RangeStartToBaselineDistance(), 7.0);
}

TEST(OffsetCalculatorSetupTest, BaselinesOfFewerThanTwoPointsNeverCross) {
  OffsetCalculator calculator;
  calculator.SetBaseline(MakeBaseline({{5, 0}}));
  ExpectNoCrossing(Cross(calculator, 5, -5, 5, 5));
  calculator.SetBaseline(MakeBaseline({}));
  ExpectNoCrossing(Cross(calculator, 5, -5, 5, 5));
}

TEST(OffsetCalculatorSearchTest, CrossingFarFromTheMidpointsNearestPointsIsFound) {
  // The range line runs along (6, 1) and crosses y = 0 at x = 5, while its
  // midpoint (35, 5) is nearest to (30,0) and (40,0): every baseline point
  // is a candidate until one of its segments is crossed.
  OffsetCalculator calculator;
  calculator.SetBaseline(MakeBaseline({{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}}));
  const Offsets o = Cross(calculator, 32, 4.5, 38, 5.5);
  EXPECT_DOUBLE_EQ(o.x, 5.0);
  EXPECT_DOUBLE_EQ(o.y, 0.0);
  // u = -4.5: sqrt(27^2 + 4.5^2) = 27.37243... behind the start.
  EXPECT_DOUBLE_EQ(o.distance, -27.372);
}

TEST(OffsetCalculatorSearchTest, TheCrossingNearestTheMidpointWins) {
  // A U-shaped baseline crossed twice by every horizontal line through it.
  OffsetCalculator calculator;
  calculator.SetBaseline(MakeBaseline({{0, 10}, {0, 0}, {10, 0}, {10, 10}}));
  // Midpoint (3, 8) is nearest to (0,10): the left arm.
  Offsets o = Cross(calculator, 2, 8, 4, 8);
  EXPECT_DOUBLE_EQ(o.x, 0.0);
  EXPECT_DOUBLE_EQ(o.y, 8.0);
  EXPECT_DOUBLE_EQ(o.distance, -2.0);
  // Midpoint (7, 8) is nearest to (10,10): the right arm, ahead of the start.
  o = Cross(calculator, 6, 8, 8, 8);
  EXPECT_DOUBLE_EQ(o.x, 10.0);
  EXPECT_DOUBLE_EQ(o.y, 8.0);
  EXPECT_DOUBLE_EQ(o.distance, 4.0);
}

TEST(OffsetCalculatorSearchTest, ArrivingSegmentIsTriedBeforeTheLeavingOne) {
  // A zig-zag whose middle point (10,0) is nearest to the midpoint (10,1).
  // The line y = 1 crosses both segments at that point; the arriving one
  // (0,5)-(10,0) crosses at x = 8, the leaving one (10,0)-(20,5) at x = 12.
  OffsetCalculator calculator;
  calculator.SetBaseline(MakeBaseline({{0, 5}, {10, 0}, {20, 5}}));
  const Offsets o = Cross(calculator, 9, 1, 11, 1);
  EXPECT_DOUBLE_EQ(o.x, 8.0);
  EXPECT_DOUBLE_EQ(o.y, 1.0);
  EXPECT_DOUBLE_EQ(o.distance, -1.0);
}

TEST(OffsetCalculatorRobustnessTest, CoincidentAndNonFinitePointsNeverCrash) {
  OffsetCalculator calculator;
  // Repeated points make zero-length segments, which are parallel to
  // everything and never crossed.
  calculator.SetBaseline(MakeBaseline({{0, 0}, {0, 0}, {10, 0}, {10, 0}, {20, 0}}));
  Offsets o = Cross(calculator, 15, -5, 15, 5);
  EXPECT_DOUBLE_EQ(o.x, 15.0);
  EXPECT_DOUBLE_EQ(o.distance, 5.0);
  // A NaN point: its segments are never crossed, the rest still are.
  calculator.SetBaseline(MakeBaseline({{0, 0}, {10, 0}, {kNaN, 0}, {30, 0}, {40, 0}}));
  o = Cross(calculator, 35, -5, 35, 5);
  EXPECT_DOUBLE_EQ(o.x, 35.0);
  ExpectNoCrossing(Cross(calculator, 15, -5, 15, 5));
  ExpectNoCrossing(Cross(calculator, kNaN, -5, 15, 5));
  ExpectNoCrossing(Cross(calculator, 15, kInf, 15, 5));
  // Huge coordinates go through the plain scan and come back.
  calculator.SetBaseline(MakeBaseline({{-1e300, 0}, {1e300, 0}}));
  o = Cross(calculator, 0, -5, 0, 5);
  EXPECT_DOUBLE_EQ(o.x, 0.0);
  EXPECT_DOUBLE_EQ(o.distance, 5.0);
  (void)Cross(calculator, -1e308, -1e308, 1e308, 1e308);
}

// The search order spelled out: every baseline point by increasing squared
// distance from the midpoint (equal distances in point order), and for each
// the segment arriving at it, then the one leaving it.
std::optional<double> FirstCrossingInCandidateOrder(const std::vector<XY>& baseline, double ax, double ay,
                                                    double bx, double by) {
  if (baseline.size() < 2) return std::nullopt;
  Locator locator;
  for (std::size_t i = 0; i < baseline.size(); ++i) {
    locator.AddPoint(baseline[i].x, baseline[i].y, static_cast<std::int32_t>(i));
  }
  const auto order = locator.FindClosestNPoints((ax + bx) / 2, (ay + by) / 2,
                                                static_cast<std::int32_t>(baseline.size()));
  const auto hit = [&](std::size_t p, std::size_t q) {
    return BaselineCrossingFinder::SegmentHit(baseline[p].x, baseline[p].y, baseline[q].x, baseline[q].y, ax, ay,
                                              bx, by);
  };
  const std::size_t last = baseline.size() - 1;
  for (const std::int32_t id : order) {
    const auto i = static_cast<std::size_t>(id);
    if (i > 0) {
      if (auto u = hit(i - 1, i)) return u;
    }
    if (i < last) {
      if (auto u = hit(i, i + 1)) return u;
    }
  }
  return std::nullopt;
}

void ExpectSameCrossing(const std::optional<double>& expected, const std::optional<double>& actual,
                        const std::string& where) {
  ASSERT_EQ(expected.has_value(), actual.has_value()) << where;
  if (expected) {
    ASSERT_EQ(*expected, *actual) << where;
  }
}

TEST(BaselineCrossingFinderTest, AgreesWithTheCandidateOrderOnRandomBaselines) {
  std::mt19937 random(424242);
  for (int round = 0; round < 40; ++round) {
    // Random walks on an integer grid: many collinear runs, repeated points,
    // lines through vertices and exact ties of distance.
    const bool grid = round % 2 == 0;
    const int count = 2 + static_cast<int>(random() % (round < 20 ? 60 : 1500));
    std::uniform_int_distribution<int> step(-3, 3);
    std::normal_distribution<double> jitter(0.0, 5.0);
    std::vector<XY> baseline;
    double x = 0;
    double y = 0;
    for (int i = 0; i < count; ++i) {
      baseline.push_back({x, y});
      if (grid) {
        x += step(random);
        y += step(random) + (i % 5 == 0 ? 1 : 0);
      } else {
        x += jitter(random) + 2;
        y += jitter(random);
      }
    }
    BaselineCrossingFinder finder;
    std::vector<double> xs;
    std::vector<double> ys;
    for (const auto& p : baseline) {
      xs.push_back(p.x);
      ys.push_back(p.y);
    }
    finder.Assign(xs, ys);
    std::uniform_int_distribution<std::size_t> pick(0, baseline.size() - 1);
    for (int q = 0; q < 150; ++q) {
      double ax;
      double ay;
      double bx;
      double by;
      if (q % 3 == 0) {
        // Through two baseline vertices: crossings exactly at segment ends.
        const XY& p1 = baseline[pick(random)];
        const XY& p2 = baseline[pick(random)];
        ax = p1.x;
        ay = p1.y;
        bx = p2.x;
        by = p2.y;
        if (ax == bx && ay == by) bx += 1;
      } else {
        const XY& c = baseline[pick(random)];
        ax = c.x + jitter(random);
        ay = c.y + jitter(random);
        bx = ax + jitter(random);
        by = ay + jitter(random);
        if (grid) {
          ax = std::round(ax);
          ay = std::round(ay);
          bx = std::round(bx);
          by = std::round(by);
          if (ax == bx && ay == by) by += 1;
        }
      }
      const std::string where = "round " + std::to_string(round) + " query " + std::to_string(q);
      const auto expected = FirstCrossingInCandidateOrder(baseline, ax, ay, bx, by);
      ExpectSameCrossing(expected, finder.FirstCrossing(ax, ay, bx, by), where);
      ExpectSameCrossing(expected, finder.FirstCrossingByScan(ax, ay, bx, by), where);
    }
  }
}

}  // namespace
}  // namespace veldrane
