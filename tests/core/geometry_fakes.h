#pragma once
// Model objects for the geometry tests and benchmarks, built from the shared
// fakes: a traverse of stationed points, a profile centerline and a cross
// section, given only the values the geometry reads.
#include <memory>
#include <vector>

#include "model/constants.h"
#include "model/features.h"
#include "tests/core/fake_survey.h"

namespace veldrane::test {

struct StationedPoint {
  double easting;
  double northing;
  double station;
};

struct XY {
  double x;
  double y;
};

inline std::shared_ptr<ITraverse> MakeTraverse(const std::vector<StationedPoint>& points) {
  auto traverse = std::make_shared<FakeTraverse>();
  for (const auto& p : points) traverse->points.push_back(MakeTraversePoint(p.easting, p.northing, p.station));
  return traverse;
}

// A baseline of unstationed points (station 0): what the offsets read.
inline std::shared_ptr<ITraverse> MakeBaseline(const std::vector<XY>& points) {
  std::vector<StationedPoint> stationed;
  for (const auto& p : points) stationed.push_back({p.x, p.y, 0.0});
  return MakeTraverse(stationed);
}

inline std::shared_ptr<IProfileCenterline> MakeProfile(double station, const std::vector<XY>& points) {
  auto profile = std::make_shared<FakeProfile>();
  profile->station = station;
  for (const auto& p : points)
    profile->points.push_back(MakePoint(p.x, p.y, kUndefinedNumber, kUndefinedNumber, kUndefinedPointId));
  return profile;
}

inline std::shared_ptr<ICrossSection> MakeRangeLine(double startX, double startY, double stopX, double stopY) {
  auto section = std::make_shared<FakeCrossSection>();
  section->startX = startX;
  section->startY = startY;
  section->stopX = stopX;
  section->stopY = stopY;
  return section;
}

}  // namespace veldrane::test
