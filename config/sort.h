#pragma once
// The shared key/value sort used by the splines, the locator, the station
// calculator and the ordering of cross-section points. Ascending by key; the
// order of equal keys is not defined. O(n log n) on every input, including
// inputs made of many equal keys.
#include <algorithm>
#include <vector>

namespace veldrane {

template <class V>
struct SortPair {
  double Key = 0;
  V Value{};
};

template <class V>
void QuickSort(std::vector<SortPair<V>>& pairs) {
  std::sort(pairs.begin(), pairs.end(), [](const SortPair<V>& a, const SortPair<V>& b) { return a.Key < b.Key; });
}

}  // namespace veldrane
