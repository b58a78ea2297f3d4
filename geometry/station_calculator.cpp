#include "geometry/station_calculator.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "config/sort.h"
#include "geometry/kochanek_spline.h"
#include "model/constants.h"
#include "model/survey_error.h"

namespace veldrane {
namespace {

const char* const kSplineSource = "Ordane.StationCalculator.BuildSplineStationing";
const char* const kNoProjection =
    "Unable to project baseline on centerline. Centerline may be located too far away. Usually this is because the "
    "baseline is associated with the wrong centerline or baseline and centerline coordinate reference system do not "
    "match.";
const char* const kWrongOrder =
    "Error in station mapping order. Check that baseline and profile run in the same direction.";

// What a coincident segment's projection parameter reads as: far outside
// [0, 1], so a point never counts as projecting onto it.
constexpr double kNoProjectionParameter = 9999999.0;
// The previous station before the first match: below every real station.
constexpr double kNoPreviousStation = -9999999.0;

// Position of P's foot along A->B: 0 at A, 1 at B.
double ProjectionParameter(double px, double py, double ax, double ay, double bx, double by) {
  if (ax == bx && ay == by) return kNoProjectionParameter;
  const double ex = bx - ax;
  const double ey = by - ay;
  return ((px - ax) * ex + (py - ay) * ey) / (ex * ex + ey * ey);
}

bool WithinSegment(double t) { return t >= 0 && t <= 1; }

}  // namespace

void StationCalculator::SetBaseline(std::shared_ptr<ITraverse> baseline) {
  baseline_ = std::move(baseline);
  if (!baseline_) return;
  locator_.RemoveAllPoints();
  baselinePoints_.clear();
  auto points = baseline_->TraversePoints();
  if (!points) return;
  points->Initialize();
  std::int32_t id = 0;
  for (auto point = points->GetNext(); point; point = points->GetNext()) {
    baselinePoints_.push_back({point->Easting(), point->Northing(), point->Station()});
    locator_.AddPoint(point->Easting(), point->Northing(), id++);
  }
}

double StationCalculator::GetStation(std::int32_t profilePointId) const {
  if (!stations_ || stations_->size() == 1) return kUndefinedNumber;
  if (profilePointId < 0 || static_cast<std::size_t>(profilePointId) >= stations_->size()) {
    throw std::out_of_range("StationCalculator.GetStation: point " + std::to_string(profilePointId) + " of " +
                            std::to_string(stations_->size()));
  }
  return (*stations_)[static_cast<std::size_t>(profilePointId)];
}

void StationCalculator::BuildStationing() {
  if (!profile_) throw std::logic_error("StationCalculator.BuildStationing: no profile centerline is set");
  const std::vector<PlanarPoint> profile = ReadProfilePoints();
  if (baseline_) {
    BuildSplineStationing(profile);
  } else {
    BuildSimpleStationing(profile);
  }
}

std::vector<StationCalculator::PlanarPoint> StationCalculator::ReadProfilePoints() const {
  std::vector<PlanarPoint> result;
  auto points = profile_->Points();
  if (!points) return result;
  result.reserve(static_cast<std::size_t>(std::max(points->Size(), 0)));
  points->Initialize();
  for (auto point = points->GetNext(); point; point = points->GetNext()) {
    result.push_back({point->X(), point->Y()});
  }
  return result;
}

namespace {

// c(0) = start, c(i) = c(i-1) + length of segment i-1 -> i.
template <class Points>
std::vector<double> CumulativeDistance(const Points& points, double start) {
  std::vector<double> chainage;
  chainage.reserve(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i == 0) {
      chainage.push_back(start);
      continue;
    }
    const double dx = points[i].x - points[i - 1].x;
    const double dy = points[i].y - points[i - 1].y;
    chainage.push_back(chainage.back() + std::sqrt(dx * dx + dy * dy));
  }
  return chainage;
}

}  // namespace

void StationCalculator::BuildSimpleStationing(const std::vector<PlanarPoint>& profile) {
  stations_ = CumulativeDistance(profile, profile_->Station());
}

std::vector<OffsetStruct> StationCalculator::NearestBaselinePoints(const std::vector<PlanarPoint>& profile) const {
  std::vector<SortPair<OffsetStruct>> list;
  if (locator_.Count() == 0) return {};
  list.reserve(profile.size());
  for (std::size_t i = 0; i < profile.size(); ++i) {
    OffsetStruct offset;
    locator_.FindClosestPoint(profile[i].x, profile[i].y, offset.Distance, offset.baselinePointId);
    offset.inputPointId = static_cast<std::int32_t>(i);
    list.push_back({offset.Distance, offset});
  }
  QuickSort(list);
  std::vector<OffsetStruct> sorted;
  sorted.reserve(list.size());
  for (const auto& pair : list) sorted.push_back(pair.Value);
  return sorted;
}

std::vector<StationStruct> StationCalculator::MatchBaselinePoints(const std::vector<PlanarPoint>& profile,
                                                                  const std::vector<double>& chainage) const {
  // The profile points nearest to each baseline point, nearest first. One
  // pass over the sorted list instead of one pass per baseline point keeps a
  // long profile against a long baseline linear.
  std::vector<std::vector<std::int32_t>> candidates(baselinePoints_.size());
  for (const OffsetStruct& offset : NearestBaselinePoints(profile)) {
    const auto b = static_cast<std::size_t>(offset.baselinePointId);
    if (offset.baselinePointId >= 0 && b < candidates.size()) candidates[b].push_back(offset.inputPointId);
  }

  std::vector<StationStruct> matches;
  const std::size_t last = profile.size() - 1;
  for (std::size_t b = 0; b < baselinePoints_.size(); ++b) {
    // A baseline point nearest to a single profile point says too little
    // about the profile's direction there to be placed on it.
    if (candidates[b].size() <= 1) continue;
    const BaselinePoint& point = baselinePoints_[b];
    for (const std::int32_t candidate : candidates[b]) {
      const auto k = static_cast<std::size_t>(candidate);
      const std::size_t a = k == last ? k - 1 : k;
      const double t = ProjectionParameter(point.easting, point.northing, profile[a].x, profile[a].y,
                                           profile[a + 1].x, profile[a + 1].y);
      if (!WithinSegment(t)) continue;
      matches.push_back({chainage[a] + t * (chainage[a + 1] - chainage[a]), point.station});
      break;
    }
  }
  return matches;
}

std::vector<StationStruct> StationCalculator::ProjectProfileOnBaseline(const std::vector<PlanarPoint>& profile,
                                                                       double length) const {
  if (profile.empty()) return {};
  const PlanarPoint& first = profile.front();
  const PlanarPoint& lastPoint = profile.back();
  for (std::size_t i = 0; i + 1 < baselinePoints_.size(); ++i) {
    const BaselinePoint& b1 = baselinePoints_[i];
    const BaselinePoint& b2 = baselinePoints_[i + 1];
    const double t1 = ProjectionParameter(first.x, first.y, b1.easting, b1.northing, b2.easting, b2.northing);
    if (!WithinSegment(t1)) continue;
    const double t2 = ProjectionParameter(lastPoint.x, lastPoint.y, b1.easting, b1.northing, b2.easting, b2.northing);
    const double s1 = b1.station + t1 * (b2.station - b1.station);
    const double s2 = b1.station + t2 * (b2.station - b1.station);
    if (s2 <= s1) return {{length, s1}, {0, s2}};
    return {{0, s1}, {length, s2}};
  }
  return {};
}

void StationCalculator::BuildSplineStationing(const std::vector<PlanarPoint>& profile) {
  const std::vector<double> chainage = CumulativeDistance(profile, 0.0);
  const double length = chainage.empty() ? 0.0 : chainage.back();

  std::vector<StationStruct> matches;
  if (profile.size() >= 2) matches = MatchBaselinePoints(profile, chainage);
  if (matches.empty()) matches = ProjectProfileOnBaseline(profile, length);
  if (matches.empty()) throw RaisedError(kErrStationing, kSplineSource, kNoProjection);

  stations_ = std::vector<double>(profile.size(), 0.0);

  // Earliest entry wins ties on both ends.
  StationStruct low = matches.front();
  StationStruct high = matches.front();
  for (const StationStruct& match : matches) {
    if (match.ProjectedDistance < low.ProjectedDistance) low = match;
    if (match.ProjectedDistance > high.ProjectedDistance) high = match;
  }

  KochanekSpline spline;
  spline.AddPoint(low.ProjectedDistance - 1, low.Station - 1);
  spline.AddPoint(high.ProjectedDistance + 1, high.Station + 1);
  spline.SetTension(0);
  double previous = kNoPreviousStation;
  for (const StationStruct& match : matches) {
    if (match.Station < previous) throw RaisedError(kErrStationing, kSplineSource, kWrongOrder);
    spline.AddPoint(match.ProjectedDistance, match.Station);
    previous = match.Station;
  }

  std::vector<double>& stations = *stations_;
  for (std::size_t i = 0; i < profile.size(); ++i) {
    const double d = chainage[i];
    if (d < low.ProjectedDistance) {
      stations[i] = low.Station + (d - low.ProjectedDistance);
    } else if (d > high.ProjectedDistance) {
      stations[i] = high.Station + (d - high.ProjectedDistance);
    } else {
      stations[i] = spline.Evaluate(d);
    }
  }
}

}  // namespace veldrane
