#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <stdexcept>
#include <vector>

#include "config/sort.h"
#include "geometry/locator.h"

namespace veldrane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The exhaustive scan the locator must agree with: first node as the best,
// replaced only by a strictly smaller squared distance.
struct ScanResult {
  double distance;
  std::int32_t id;
};
ScanResult ScanClosest(const std::vector<LocatorNode>& nodes, double x, double y) {
  const auto sq = [&](const LocatorNode& n) { return (x - n.X) * (x - n.X) + (y - n.Y) * (y - n.Y); };
  ScanResult best{sq(nodes[0]), nodes[0].Id};
  for (const auto& n : nodes) {
    if (sq(n) < best.distance) best = {sq(n), n.Id};
  }
  return best;
}

TEST(LocatorTest, EqualDistancesGoToTheNodeAddedFirst) {
  Locator locator;
  locator.AddPoint(10, 0, 7);
  locator.AddPoint(-10, 0, 3);
  locator.AddPoint(0, 10, 1);
  double distance = 0;
  std::int32_t id = 0;
  locator.FindClosestPoint(0, 0, distance, id);
  EXPECT_EQ(id, 7);
  EXPECT_DOUBLE_EQ(distance, 100.0);
}

TEST(LocatorTest, TiesGoToTheFirstNodeAlsoInLargeSets) {
  // Past the size where the tree takes over, on a lattice full of ties: the
  // query at a cell centre has four nodes at equal distance.
  Locator locator;
  std::int32_t id = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) locator.AddPoint(x, y, id++);
  }
  // Duplicates added later never win.
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) locator.AddPoint(x, y, id++);
  }
  double distance = 0;
  std::int32_t found = -1;
  locator.FindClosestPoint(12.5, 20.5, distance, found);
  EXPECT_EQ(found, 20 * 40 + 12);  // (12, 20), the earliest of the four corners
  EXPECT_DOUBLE_EQ(distance, 0.5);
  locator.FindClosestPoint(39, 0, distance, found);
  EXPECT_EQ(found, 39);
  EXPECT_DOUBLE_EQ(distance, 0.0);
}

TEST(LocatorTest, AgreesWithTheExhaustiveScanOnRandomSets) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 60; ++round) {
    const int count = 1 + static_cast<int>(random() % 3000);
    // Small integer grids make many exact ties; wide ranges make none.
    const double spread = round % 2 == 0 ? 30.0 : 1e6;
    std::uniform_real_distribution<double> coordinate(-spread, spread);
    const bool integral = round % 2 == 0;
    std::vector<LocatorNode> nodes;
    Locator locator;
    for (int i = 0; i < count; ++i) {
      double x = coordinate(random);
      double y = coordinate(random);
      if (integral) {
        x = std::round(x);
        y = std::round(y);
      }
      const auto id = static_cast<std::int32_t>(random() % 1000);
      nodes.push_back({x, y, id});
      locator.AddPoint(x, y, id);
    }
    for (int q = 0; q < 200; ++q) {
      double x = coordinate(random) * 1.2;
      double y = coordinate(random) * 1.2;
      if (integral && q % 2 == 0) {
        x = std::round(x) + 0.5;
        y = std::round(y);
      }
      double distance = 0;
      std::int32_t id = 0;
      locator.FindClosestPoint(x, y, distance, id);
      const ScanResult expected = ScanClosest(nodes, x, y);
      ASSERT_EQ(distance, expected.distance) << "round " << round << " query " << q;
      // Ids are not unique; the winning position's id must match.
      ASSERT_EQ(id, expected.id) << "round " << round << " query " << q;
    }
  }
}

TEST(LocatorTest, RemoveAllPointsEmptiesForRefilling) {
  Locator locator;
  for (int i = 0; i < 100; ++i) locator.AddPoint(i, 0, i);
  double distance = 0;
  std::int32_t id = 0;
  locator.FindClosestPoint(50.2, 0, distance, id);
  EXPECT_EQ(id, 50);
  locator.RemoveAllPoints();
  EXPECT_EQ(locator.Count(), 0u);
  EXPECT_THROW(locator.FindClosestPoint(0, 0, distance, id), std::out_of_range);
  locator.AddPoint(100, 100, 5);
  locator.FindClosestPoint(50.2, 0, distance, id);
  EXPECT_EQ(id, 5);
}

TEST(LocatorTest, ClosestNPointsComeNearestFirst) {
  Locator locator;
  locator.AddPoint(5, 0, 0);
  locator.AddPoint(1, 0, 1);
  locator.AddPoint(3, 0, 2);
  locator.AddPoint(-2, 0, 3);
  EXPECT_EQ(locator.FindClosestNPoints(0, 0, 4), (std::vector<std::int32_t>{1, 3, 2, 0}));
  EXPECT_EQ(locator.FindClosestNPoints(4.5, 0, 2), (std::vector<std::int32_t>{0, 2}));
  EXPECT_TRUE(locator.FindClosestNPoints(0, 0, 0).empty());
}

TEST(LocatorTest, AskingBeyondTheNodesIsAnOutOfRangeError) {
  Locator locator;
  double distance = 0;
  std::int32_t id = 0;
  EXPECT_THROW(locator.FindClosestPoint(0, 0, distance, id), std::out_of_range);
  EXPECT_THROW(locator.FindClosestNPoints(0, 0, 1), std::out_of_range);
  locator.AddPoint(1, 1, 1);
  EXPECT_THROW(locator.FindClosestNPoints(0, 0, 2), std::out_of_range);
  EXPECT_THROW(locator.FindClosestNPoints(0, 0, -1), std::out_of_range);
}

TEST(LocatorTest, NonFiniteCoordinatesNeverWinOverRealOnes) {
  for (const int extra : {0, 100}) {  // scanned and tree-searched sizes
    Locator locator;
    locator.AddPoint(2, 0, 1);
    locator.AddPoint(kNaN, 0, 2);
    locator.AddPoint(0, kInf, 3);
    locator.AddPoint(1, 0, 4);
    for (int i = 0; i < extra; ++i) locator.AddPoint(1000 + i, 1000, 100 + i);
    double distance = 0;
    std::int32_t id = 0;
    locator.FindClosestPoint(0, 0, distance, id);
    EXPECT_EQ(id, 4) << extra;
    EXPECT_DOUBLE_EQ(distance, 1.0);
    const auto order = locator.FindClosestNPoints(0, 0, 4 + extra);
    EXPECT_EQ(order[0], 4);
    EXPECT_EQ(order[1], 1);
    EXPECT_EQ(order[2 + extra], 3);  // infinite distance, after every finite one
    EXPECT_EQ(order[3 + extra], 2);  // NaN last
  }
}

TEST(LocatorTest, NaNFirstNodeOrNaNQueryKeepsTheFirstNode) {
  // A scan that starts from a NaN distance is never replaced.
  Locator locator;
  locator.AddPoint(kNaN, kNaN, 9);
  for (int i = 0; i < 50; ++i) locator.AddPoint(i, i, i);
  double distance = 0;
  std::int32_t id = 0;
  locator.FindClosestPoint(3, 3, distance, id);
  EXPECT_EQ(id, 9);
  EXPECT_TRUE(std::isnan(distance));

  Locator finite;
  for (int i = 0; i < 50; ++i) finite.AddPoint(i, i, i);
  finite.FindClosestPoint(kNaN, 0, distance, id);
  EXPECT_EQ(id, 0);
  EXPECT_TRUE(std::isnan(distance));
  finite.FindClosestPoint(kInf, kInf, distance, id);
  EXPECT_EQ(id, 0);
}

TEST(LocatorTest, HugeCoordinatesOverflowToTiesNotToCrashes) {
  Locator locator;
  for (int i = 0; i < 64; ++i) locator.AddPoint(1e300 * (i % 2 == 0 ? 1 : -1), 1e300, i);
  double distance = 0;
  std::int32_t id = 0;
  locator.FindClosestPoint(-1e300, -1e300, distance, id);
  EXPECT_EQ(id, 0);  // every distance overflows to infinity: the first node
  EXPECT_TRUE(std::isinf(distance));
}

TEST(SortTest, NaNKeysSortLastAndNothingIsLost) {
  std::mt19937 random(7);
  std::vector<SortPair<int>> pairs;
  for (int i = 0; i < 5000; ++i) {
    const double key = random() % 3 == 0 ? kNaN : static_cast<double>(random() % 100);
    pairs.push_back({key, i});
  }
  const std::size_t nanCount = static_cast<std::size_t>(
      std::count_if(pairs.begin(), pairs.end(), [](const SortPair<int>& p) { return std::isnan(p.Key); }));
  QuickSort(pairs);
  ASSERT_EQ(pairs.size(), 5000u);
  const std::size_t numbers = pairs.size() - nanCount;
  for (std::size_t i = 0; i < numbers; ++i) {
    ASSERT_FALSE(std::isnan(pairs[i].Key)) << i;
    if (i > 0) {
      ASSERT_LE(pairs[i - 1].Key, pairs[i].Key) << i;
    }
  }
  for (std::size_t i = numbers; i < pairs.size(); ++i) ASSERT_TRUE(std::isnan(pairs[i].Key)) << i;
  std::vector<int> values;
  for (const auto& p : pairs) values.push_back(p.Value);
  std::sort(values.begin(), values.end());
  for (int i = 0; i < 5000; ++i) ASSERT_EQ(values[static_cast<std::size_t>(i)], i);
}

// Keys already in order are left alone; one pair out of order anywhere,
// the last one included, or a repeated key still gets the whole run sorted.
TEST(SortTest, OrderedRunsStayAndAnyDisorderIsSorted) {
  using Pairs = std::vector<SortPair<int>>;
  const auto keys = [](const Pairs& pairs) {
    std::vector<double> out;
    for (const auto& p : pairs) out.push_back(p.Key);
    return out;
  };
  Pairs ordered{{1, 0}, {2, 1}, {3, 2}, {4, 3}};
  QuickSort(ordered);
  EXPECT_EQ(keys(ordered), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(ordered[3].Value, 3);
  Pairs lastSwapped{{1, 0}, {2, 1}, {4, 2}, {3, 3}};
  QuickSort(lastSwapped);
  EXPECT_EQ(keys(lastSwapped), (std::vector<double>{1, 2, 3, 4}));
  Pairs firstSwapped{{2, 0}, {1, 1}, {3, 2}, {4, 3}};
  QuickSort(firstSwapped);
  EXPECT_EQ(keys(firstSwapped), (std::vector<double>{1, 2, 3, 4}));
  Pairs withNaN{{1, 0}, {kNaN, 1}, {0, 2}};
  QuickSort(withNaN);
  EXPECT_EQ(withNaN[0].Value, 2);
  EXPECT_EQ(withNaN[2].Value, 1);
}

TEST(SortTest, InfinitiesAndNegativeZeroKeepNumericOrder) {
  std::vector<SortPair<int>> pairs{{kInf, 0}, {-0.0, 1}, {-kInf, 2}, {kNaN, 3}, {-1, 4}};
  QuickSort(pairs);
  EXPECT_EQ(pairs[0].Value, 2);
  EXPECT_EQ(pairs[1].Value, 4);
  EXPECT_EQ(pairs[2].Value, 1);
  EXPECT_EQ(pairs[3].Value, 0);
  EXPECT_EQ(pairs[4].Value, 3);
}

}  // namespace
}  // namespace veldrane
