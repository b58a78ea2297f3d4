#pragma once
// The shared key/value sort used by the splines, the locator, the station
// calculator and the ordering of cross-section points. Ascending by key; the
// order of equal keys is not defined. O(n log n) on every input, including
// inputs made of many equal keys.
#include <algorithm>
#include <cmath>
#include <vector>

namespace veldrane {

template <class V>
struct SortPair {
  double Key = 0;
  V Value{};
};

// Ascending order of keys with every NaN after every number. A plain `<`
// makes NaN "equal" to everything, which is not a strict weak ordering and
// lets std::sort run past the ends of the range; a coordinate that failed to
// compute must never do that.
inline bool SortKeyLess(double a, double b) {
  if (std::isnan(a)) return false;
  if (std::isnan(b)) return true;
  return a < b;
}

template <class V>
void QuickSort(std::vector<SortPair<V>>& pairs) {
  const auto less = [](const SortPair<V>& a, const SortPair<V>& b) { return SortKeyLess(a.Key, b.Key); };
  // Survey data mostly comes in order already. Keys that strictly increase
  // have one sorted order, so leaving them is the same as sorting them.
  const auto notIncreasing = [&](const SortPair<V>& a, const SortPair<V>& b) { return !less(a, b); };
  if (std::adjacent_find(pairs.begin(), pairs.end(), notIncreasing) != pairs.end())
    std::sort(pairs.begin(), pairs.end(), less);
}

}  // namespace veldrane
