#pragma once
// Assigns a station to every point of a profile centerline. Without a
// baseline, stations run from the profile's start station along its
// polyline. With a baseline (a traverse whose points carry stations), the
// places where baseline points fall along the profile are matched, a
// Kochanek spline maps distance along the profile to station through them,
// and points beyond the matched range are extended linearly.
//
// Use: SetBaseline (optional), SetProfile, BuildStationing, then GetStation
// per profile point.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "geometry/locator.h"
#include "geometry/offset_struct.h"
#include "geometry/station_struct.h"
#include "model/features.h"

namespace veldrane {

class StationCalculator {
 public:
  // Stores the traverse and, when present, refills the locator with its
  // points (Id = position in traverse order).
  void SetBaseline(std::shared_ptr<ITraverse> baseline);
  std::shared_ptr<ITraverse> Baseline() const { return baseline_; }

  void SetProfile(std::shared_ptr<IProfileCenterline> profile) { profile_ = std::move(profile); }
  std::shared_ptr<IProfileCenterline> Profile() const { return profile_; }

  // Fills the stations. A profile that cannot be stationed against the
  // baseline raises RaisedError -200016 (source
  // "Ordane.StationCalculator.BuildSplineStationing"); a spline that cannot
  // be evaluated (samples with equal distances) raises std::domain_error.
  // Without a profile: std::logic_error.
  void BuildStationing();

  // The built station of a profile point (0-based); 0.0001 before any build
  // or when the profile has exactly one point. std::out_of_range outside the
  // built stations.
  double GetStation(std::int32_t profilePointId) const;

 private:
  struct PlanarPoint {
    double x;
    double y;
  };
  struct BaselinePoint {
    double easting;
    double northing;
    double station;
  };

  std::vector<PlanarPoint> ReadProfilePoints() const;
  void BuildSimpleStationing(const std::vector<PlanarPoint>& profile);
  void BuildSplineStationing(const std::vector<PlanarPoint>& profile);

  std::vector<OffsetStruct> NearestBaselinePoints(const std::vector<PlanarPoint>& profile) const;
  std::vector<StationStruct> MatchBaselinePoints(const std::vector<PlanarPoint>& profile,
                                                 const std::vector<double>& chainage) const;
  std::vector<StationStruct> ProjectProfileOnBaseline(const std::vector<PlanarPoint>& profile,
                                                      double length) const;

  std::shared_ptr<ITraverse> baseline_;
  std::shared_ptr<IProfileCenterline> profile_;
  Locator locator_;
  std::vector<BaselinePoint> baselinePoints_;
  std::optional<std::vector<double>> stations_;
};

}  // namespace veldrane
