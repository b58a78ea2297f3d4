// Where a range line crosses the baseline, and the signed distance from its
// start; the crossing finder against the plain candidate order.
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
constexpr double kNone = kUndefinedNumber;

TEST(OffsetCalculatorTest, CrossingsAndDistances) {
  const std::vector<XY> straight{{0, 0}, {10, 0}, {20, 0}}, withNaN{{0, 0}, {10, 0}, {kNaN, 0}, {30, 0}, {40, 0}};
  struct Case {
    const char* what;
    std::vector<XY> baseline;
    double ax, ay, bx, by;
    double x, y, distance;
  };
  const Case cases[] = {
      // The range line is taken as infinite: a crossing behind its start is
      // negative, one beyond its end still counts.
      {"ahead of the start", straight, 5, -5, 5, 5, 5, 0, 5},
      {"behind the start", straight, 5, 3, 5, 5, 5, 0, -3},
      {"beyond the end", straight, 5, 5, 5, 3, 5, 0, 5},
      {"parallel", straight, 0, 5, 20, 5, kNone, kNone, kNone},
      {"along the baseline itself", straight, 0, 0, 20, 0, kNone, kNone, kNone},
      {"a range line of zero length", straight, 5, 5, 5, 5, kNone, kNone, kNone},
      {"a baseline of one point", {{5, 0}}, 5, -5, 5, 5, kNone, kNone, kNone},
      {"a baseline of no point", {}, 5, -5, 5, 5, kNone, kNone, kNone},
      // Outputs are rounded to three decimals, halves to even.
      {"a half rounds down to even", straight, 1.0025, -5, 1.0025, 5, 1.002, 0, 5},
      {"rounded to three decimals", straight, 3.14159, -1, 3.14159, 1, 3.142, 0, 1},
      {"a distance half rounds to even", straight, 5, -2.0005, 5, 5, 5, 0, 2},
      {"a distance rounds up", straight, 5, -2.0015, 5, 5, 5, 0, 2.002},
      // The crossing (1.0015, 0) is reported as (1.002, 0); from the start
      // that is 2.00050006..., past the half where the unrounded crossing
      // would give the tie 2.0005.
      {"measured to the rounded crossing", straight, 1.0015, -2.0005, 1.0015, 5, 1.002, 0, 2.001},
      // s = 1/10000 along the one segment reads as the undefined number.
      {"a crossing at the undefined parameter is none", {{0, 0}, {10000, 0}}, 1, -5, 1, 5, kNone, kNone, kNone},
      {"beside it", {{0, 0}, {10000, 0}}, 2, -5, 2, 5, 2, 0, 5},
      // A NaN point's segments are never crossed, while the others still
      // are. (Repeated points are among the random baselines below.)
      {"past a NaN point", withNaN, 35, -5, 35, 5, 35, 0, 5},
      {"beside a NaN point", withNaN, 15, -5, 15, 5, kNone, kNone, kNone},
      {"a NaN range line", withNaN, kNaN, -5, 15, 5, kNone, kNone, kNone},
      {"an infinite range line", withNaN, 15, kInf, 15, 5, kNone, kNone, kNone},
      {"huge coordinates", {{-1e300, 0}, {1e300, 0}}, 0, -5, 0, 5, 0, 0, 5},
      {"an overflowing range line", {{-1e300, 0}, {1e300, 0}}, -1e308, -1e308, 1e308, 1e308, kNone, kNone, kNone},
  };
  for (const auto& c : cases) {
    OffsetCalculator calculator;
    calculator.SetBaseline(MakeBaseline(c.baseline));
    calculator.SetCrossSection(MakeRangeLine(c.ax, c.ay, c.bx, c.by));
    EXPECT_DOUBLE_EQ(calculator.IntersectX(), c.x) << c.what;
    EXPECT_DOUBLE_EQ(calculator.IntersectY(), c.y) << c.what;
    EXPECT_DOUBLE_EQ(calculator.RangeStartToBaselineDistance(), c.distance) << c.what;
  }
}

TEST(OffsetCalculatorTest, NothingIsComputedUntilBothAreSetAndANewBaselineTakesEffectWhenRead) {
  OffsetCalculator calculator;
  calculator.SetCrossSection(MakeRangeLine(5, -5, 5, 5));
  EXPECT_EQ(calculator.IntersectX(), kUndefinedNumber);
  EXPECT_EQ(calculator.RangeStartToBaselineDistance(), 0.0);
  calculator.SetBaseline(MakeBaseline({{0, 0}, {10, 0}}));
  EXPECT_EQ(calculator.IntersectX(), kUndefinedNumber);  // setting the baseline does not recompute; reading it does
  EXPECT_NE(calculator.Baseline(), nullptr);
  EXPECT_DOUBLE_EQ(calculator.RangeStartToBaselineDistance(), 5.0);
  calculator.SetBaseline(MakeBaseline({{0, 2}, {10, 2}}));
  EXPECT_EQ(calculator.CrossSection()->StartY(), -5.0);
  EXPECT_DOUBLE_EQ(calculator.IntersectY(), 2.0);
  EXPECT_DOUBLE_EQ(calculator.RangeStartToBaselineDistance(), 7.0);
}

// The search order spelled out: every baseline point by increasing squared
// distance from the midpoint (equal distances in point order), and for each
// the segment arriving at it, then the one leaving it.
std::optional<double> FirstCrossingInCandidateOrder(const std::vector<XY>& baseline, double ax, double ay, double bx,
                                                    double by) {
  if (baseline.size() < 2) return std::nullopt;
  Locator locator;
  for (std::size_t i = 0; i < baseline.size(); ++i)
    locator.AddPoint(baseline[i].x, baseline[i].y, static_cast<std::int32_t>(i));
  const auto order =
      locator.FindClosestNPoints((ax + bx) / 2, (ay + by) / 2, static_cast<std::int32_t>(baseline.size()));
  const auto hit = [&](std::size_t p, std::size_t q) {
    return BaselineCrossingFinder::SegmentHit(baseline[p].x, baseline[p].y, baseline[q].x, baseline[q].y, ax, ay, bx,
                                              by);
  };
  for (const std::int32_t id : order) {
    const auto i = static_cast<std::size_t>(id);
    if (i > 0)
      if (auto u = hit(i - 1, i)) return u;
    if (i + 1 < baseline.size())
      if (auto u = hit(i, i + 1)) return u;
  }
  return std::nullopt;
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
    std::vector<double> xs, ys;
    double x = 0, y = 0;
    for (int i = 0; i < count; ++i) {
      baseline.push_back({x, y});
      xs.push_back(x);
      ys.push_back(y);
      x += grid ? step(random) : jitter(random) + 2;
      y += grid ? step(random) + (i % 5 == 0 ? 1 : 0) : jitter(random);
    }
    BaselineCrossingFinder finder;
    finder.Assign(xs, ys);
    std::uniform_int_distribution<std::size_t> pick(0, baseline.size() - 1);
    for (int q = 0; q < 150; ++q) {
      double ax, ay, bx, by;
      if (q % 3 == 0) {
        // Through two baseline vertices: crossings exactly at segment ends.
        const XY p1 = baseline[pick(random)], p2 = baseline[pick(random)];
        ax = p1.x, ay = p1.y, bx = p2.x, by = p2.y;
        if (ax == bx && ay == by) bx += 1;
      } else {
        const XY& c = baseline[pick(random)];
        ax = c.x + jitter(random), ay = c.y + jitter(random);
        bx = ax + jitter(random), by = ay + jitter(random);
        if (grid) {
          ax = std::round(ax), ay = std::round(ay), bx = std::round(bx), by = std::round(by);
          if (ax == bx && ay == by) by += 1;
        }
      }
      const auto expected = FirstCrossingInCandidateOrder(baseline, ax, ay, bx, by);
      ASSERT_EQ(finder.FirstCrossing(ax, ay, bx, by), expected) << "round " << round << " query " << q;
      ASSERT_EQ(finder.FirstCrossingByScan(ax, ay, bx, by), expected) << "round " << round << " query " << q;
    }
  }
}

}  // namespace
}  // namespace veldrane
