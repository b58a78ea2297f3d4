// The locator's nearest-point queries against a plain scan, and the key
// sort the geometry shares.
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

struct Found {
  double distance;
  std::int32_t id;
};

Found Closest(const Locator& locator, double x, double y) {
  Found found{0, -1};
  locator.FindClosestPoint(x, y, found.distance, found.id);
  return found;
}

// The exhaustive scan the locator must agree with: first node as the best,
// replaced only by a strictly smaller squared distance.
Found ScanClosest(const std::vector<LocatorNode>& nodes, double x, double y) {
  const auto sq = [&](const LocatorNode& n) { return (x - n.X) * (x - n.X) + (y - n.Y) * (y - n.Y); };
  Found best{sq(nodes[0]), nodes[0].Id};
  for (const auto& n : nodes)
    if (sq(n) < best.distance) best = {sq(n), n.Id};
  return best;
}

TEST(LocatorTest, AgreesWithTheExhaustiveScanOnRandomSets) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 60; ++round) {
    // Small integer grids make many exact ties and repeated nodes; wide
    // ranges make none. Sets of up to 32 nodes (every third round) are
    // scanned, larger ones searched in the tree.
    const int count = 1 + static_cast<int>(random() % (round % 3 == 0 ? 32 : 3000));
    const bool integral = round % 2 == 0;
    std::uniform_real_distribution<double> coordinate(integral ? -30.0 : -1e6, integral ? 30.0 : 1e6);
    std::vector<LocatorNode> nodes;
    Locator locator;
    for (int i = 0; i < count; ++i) {
      double x = coordinate(random), y = coordinate(random);
      if (integral) x = std::round(x), y = std::round(y);
      const auto id = static_cast<std::int32_t>(random() % 1000);
      nodes.push_back({x, y, id});
      locator.AddPoint(x, y, id);
    }
    for (int q = 0; q < 200; ++q) {
      double x = coordinate(random) * 1.2, y = coordinate(random) * 1.2;
      if (integral && q % 2 == 0) x = std::round(x) + 0.5, y = std::round(y);
      const Found found = Closest(locator, x, y), expected = ScanClosest(nodes, x, y);
      ASSERT_EQ(found.distance, expected.distance) << "round " << round << " query " << q;
      ASSERT_EQ(found.id, expected.id) << "round " << round << " query " << q;  // ids repeat: the position counts
    }
  }
}

// Ties are settled by the comparison with the scan above.
TEST(LocatorTest, RemovingEmptiesIt) {
  Locator locator;
  locator.AddPoint(10, 0, 7);
  locator.RemoveAllPoints();
  EXPECT_EQ(locator.Count(), 0u);
  EXPECT_THROW(Closest(locator, 0, 0), std::out_of_range);
  locator.AddPoint(100, 100, 5);
  EXPECT_EQ(Closest(locator, 50.2, 0).id, 5);
}

// The whole order, ties included, is what the crossing finder's random
// comparison (BaselineCrossingFinderTest) searches in; here the first few.
TEST(LocatorTest, ClosestNPointsComeNearestFirstWithinTheNodes) {
  Locator locator;
  EXPECT_THROW(locator.FindClosestNPoints(0, 0, 1), std::out_of_range);
  for (const auto& [x, id] : {std::pair{5.0, 0}, {1.0, 1}, {3.0, 2}, {-2.0, 3}}) locator.AddPoint(x, 0, id);
  EXPECT_EQ(locator.FindClosestNPoints(4.5, 0, 2), (std::vector<std::int32_t>{0, 2}));
  EXPECT_TRUE(locator.FindClosestNPoints(0, 0, 0).empty());
  EXPECT_THROW(locator.FindClosestNPoints(0, 0, 5), std::out_of_range);
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
    EXPECT_EQ(Closest(locator, 0, 0).id, 4) << extra;
    const auto order = locator.FindClosestNPoints(0, 0, 4 + extra);
    EXPECT_EQ(order[1], 1);
    EXPECT_EQ(order[2 + extra], 3);  // infinite distance, after every finite one
    EXPECT_EQ(order[3 + extra], 2);  // NaN last
  }
  // A scan that starts from a NaN distance (a NaN first node or query) keeps
  // the first node; distances that all overflow tie at infinity.
  Locator nanFirst, finite, huge;
  nanFirst.AddPoint(kNaN, kNaN, 9);
  for (int i = 0; i < 50; ++i) nanFirst.AddPoint(i, i, i), finite.AddPoint(i, i, i);
  for (int i = 0; i < 64; ++i) huge.AddPoint(1e300 * (i % 2 == 0 ? 1 : -1), 1e300, i);
  EXPECT_EQ(Closest(nanFirst, 3, 3).id, 9);
  EXPECT_TRUE(std::isnan(Closest(nanFirst, 3, 3).distance));
  EXPECT_EQ(Closest(finite, kNaN, 0).id, 0);
  EXPECT_EQ(Closest(finite, kInf, kInf).id, 0);
  EXPECT_EQ(Closest(huge, -1e300, -1e300).id, 0);
  EXPECT_TRUE(std::isinf(Closest(huge, -1e300, -1e300).distance));
}

std::vector<int> SortedValues(std::vector<SortPair<int>> pairs) {
  QuickSort(pairs);
  std::vector<int> values;
  for (const auto& p : pairs) values.push_back(p.Value);
  return values;
}

TEST(SortTest, NaNKeysSortLastAndNothingIsLost) {
  std::mt19937 random(7);
  std::vector<SortPair<int>> pairs;
  for (int i = 0; i < 5000; ++i) pairs.push_back({random() % 3 == 0 ? kNaN : static_cast<double>(random() % 100), i});
  std::vector<SortPair<int>> sorted = pairs;
  QuickSort(sorted);
  // Numbers ascending, then every NaN; each value once.
  EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
    return std::isnan(b.Key) ? !std::isnan(a.Key) : !std::isnan(a.Key) && a.Key < b.Key;
  }));
  std::vector<int> values = SortedValues(pairs);
  std::sort(values.begin(), values.end());
  for (int i = 0; i < 5000; ++i) ASSERT_EQ(values[static_cast<std::size_t>(i)], i);
}

// Keys already in order are left alone; one pair out of order anywhere, the
// last one included, still gets the whole run sorted.
TEST(SortTest, OrderedRunsStayAndAnyDisorderIsSorted) {
  const std::pair<std::vector<SortPair<int>>, std::vector<int>> cases[] = {
      {{{1, 0}, {2, 1}, {3, 2}, {4, 3}}, {0, 1, 2, 3}},
      {{{1, 0}, {2, 1}, {4, 2}, {3, 3}}, {0, 1, 3, 2}},
      {{{2, 0}, {1, 1}, {3, 2}, {4, 3}}, {1, 0, 2, 3}},
      {{{1, 0}, {kNaN, 1}, {0, 2}}, {2, 0, 1}},
      {{{kInf, 0}, {-0.0, 1}, {-kInf, 2}, {kNaN, 3}, {-1, 4}}, {2, 4, 1, 0, 3}}};
  for (const auto& [pairs, values] : cases) EXPECT_EQ(SortedValues(pairs), values);
}

}  // namespace
}  // namespace veldrane
