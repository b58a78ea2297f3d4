#pragma once
// Working record of station building: a known station at a distance along
// the profile.
namespace veldrane {

struct StationStruct {
  double ProjectedDistance = 0;  // along the profile, from its first point
  double Station = 0;
};

}  // namespace veldrane
