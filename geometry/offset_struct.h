#pragma once
// Working record of station building: the baseline point nearest to one
// profile point.
#include <cstdint>

namespace veldrane {

struct OffsetStruct {
  std::int32_t baselinePointId = 0;  // Id of the nearest baseline point
  std::int32_t inputPointId = 0;     // 0-based position of the profile point
  double Distance = 0;               // squared planar distance between the two
};

}  // namespace veldrane
