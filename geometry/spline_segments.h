#pragma once
// Segment lookup shared by the splines: which segment [K(i), K(i+1)] of a
// key list sorted ascending (NaN keys last) an evaluation falls in.
#include <cstddef>
#include <optional>
#include <vector>

#include "config/sort.h"

namespace veldrane {

// The first segment i (0 <= i < size - 1) with K(i) <= t <= K(i+1), and
// also K(i) != K(i+1) when `skipEqualKeys` is set; none when no segment
// qualifies. Same answer as scanning the segments in order, found by binary
// search: every segment before the first key at or above t ends below t, so
// it cannot qualify, and every segment starting above t cannot either.
std::optional<std::size_t> FindFirstSegment(const std::vector<SortPair<double>>& points, double t,
                                            bool skipEqualKeys);

}  // namespace veldrane
