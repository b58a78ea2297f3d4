// Geometry at survey scale: offsets of many range lines against a long
// baseline, and spline stationing of a long profile. Each case comes as a
// pair of sizes n and 4n: near-linear work shows about 4x the time, a
// quadratic one 16x. The *Scan cases run the plain every-segment search for
// comparison.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "geometry/baseline_crossing_finder.h"
#include "geometry/locator.h"
#include "geometry/offset_calculator.h"
#include "geometry/station_calculator.h"
#include "tests/core/geometry_fakes.h"

namespace veldrane {
namespace {

using test::MakeBaseline;
using test::MakeProfile;
using test::MakeRangeLine;
using test::MakeTraverse;
using test::StationedPoint;
using test::XY;

// A meandering baseline, one point every 5 units along x.
std::vector<XY> MeanderingBaseline(int points) {
  std::vector<XY> result;
  result.reserve(static_cast<std::size_t>(points));
  for (int i = 0; i < points; ++i) {
    const double x = 5.0 * i;
    result.push_back({x, 80.0 * std::sin(x / 400.0) + 10.0 * std::sin(x / 37.0)});
  }
  return result;
}

// Range lines spread along the baseline, roughly across it, each running
// from well off one bank to a little past the baseline, so the midpoint is
// off the baseline; one in twenty lies past the baseline's ends and crosses
// nothing.
std::vector<std::shared_ptr<ICrossSection>> RangeLines(const std::vector<XY>& baseline, int count) {
  std::vector<std::shared_ptr<ICrossSection>> result;
  result.reserve(static_cast<std::size_t>(count));
  const double length = baseline.back().x;
  for (int i = 0; i < count; ++i) {
    double x = length * (i + 0.5) / count;
    if (i % 20 == 0) x = length + 100.0 + i;  // beyond the end
    const double y = 80.0 * std::sin(x / 400.0);
    const double skew = 0.2 * std::sin(i * 0.7);
    result.push_back(MakeRangeLine(x - 300.0 * skew, y - 300.0, x + 100.0 * skew, y + 100.0));
  }
  return result;
}

void RunOffsets(benchmark::State& state, int baselinePoints, int rangeLines) {
  const auto points = MeanderingBaseline(baselinePoints);
  const auto baseline = MakeBaseline(points);
  const auto lines = RangeLines(points, rangeLines);
  for (auto _ : state) {
    OffsetCalculator calculator;
    calculator.SetBaseline(baseline);
    double sum = 0;
    for (const auto& line : lines) {
      calculator.SetCrossSection(line);
      sum += calculator.IntersectX() + calculator.RangeStartToBaselineDistance();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * rangeLines);
  state.counters["baseline_points"] = baselinePoints;
  state.counters["range_lines"] = rangeLines;
}

// Range lines n and 4n against a 5,000-point baseline.
void BM_OffsetsRangeLines(benchmark::State& state) { RunOffsets(state, 5000, static_cast<int>(state.range(0))); }
BENCHMARK(BM_OffsetsRangeLines)->Arg(2500)->Arg(10000)->Unit(benchmark::kMillisecond);

// 10,000 range lines against baselines of m and 4m points.
void BM_OffsetsBaselinePoints(benchmark::State& state) { RunOffsets(state, static_cast<int>(state.range(0)), 10000); }
BENCHMARK(BM_OffsetsBaselinePoints)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

// The every-segment search on the same data, for scale (k x m).
void BM_OffsetsScan(benchmark::State& state) {
  const auto points = MeanderingBaseline(static_cast<int>(state.range(0)));
  std::vector<double> xs;
  std::vector<double> ys;
  for (const auto& p : points) {
    xs.push_back(p.x);
    ys.push_back(p.y);
  }
  BaselineCrossingFinder finder;
  finder.Assign(xs, ys);
  const auto lines = RangeLines(points, 10000);
  for (auto _ : state) {
    double sum = 0;
    for (const auto& line : lines) {
      const auto u = finder.FirstCrossingByScan(line->StartX(), line->StartY(), line->StopX(), line->StopY());
      sum += u.value_or(0);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_OffsetsScan)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

// A winding profile, one point per unit of x, and a baseline 15 units off
// it with a point every `spacing` units, stationed by x.
std::vector<XY> WindingProfile(int points) {
  std::vector<XY> result;
  result.reserve(static_cast<std::size_t>(points));
  for (int i = 0; i < points; ++i) {
    const double x = i;
    result.push_back({x, 30.0 * std::sin(x / 150.0)});
  }
  return result;
}

std::vector<StationedPoint> StationedBaseline(int profilePoints, int spacing) {
  std::vector<StationedPoint> result;
  for (int i = spacing / 2; i < profilePoints; i += spacing) {
    const double x = i;
    result.push_back({x, 30.0 * std::sin(x / 150.0) + 15.0, 5000.0 + x});
  }
  return result;
}

void RunStationing(benchmark::State& state, int profilePoints, int baselineSpacing) {
  const auto profile = MakeProfile(0, WindingProfile(profilePoints));
  const auto baselinePoints = StationedBaseline(profilePoints, baselineSpacing);
  const auto baseline = MakeTraverse(baselinePoints);
  for (auto _ : state) {
    StationCalculator calculator;
    calculator.SetBaseline(baseline);
    calculator.SetProfile(profile);
    calculator.BuildStationing();
    double sum = 0;
    for (int i = 0; i < profilePoints; ++i) sum += calculator.GetStation(i);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * profilePoints);
  state.counters["profile_points"] = profilePoints;
  state.counters["baseline_points"] = static_cast<double>(baselinePoints.size());
}

// Profiles of n and 4n points; the baseline grows with them (one point per
// 20 units: 1,250 and 5,000 points).
void BM_StationingProfilePoints(benchmark::State& state) { RunStationing(state, static_cast<int>(state.range(0)), 20); }
BENCHMARK(BM_StationingProfilePoints)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A 100,000-point profile against baselines of m and 4m points.
void BM_StationingBaselinePoints(benchmark::State& state) {
  RunStationing(state, 100000, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_StationingBaselinePoints)->Arg(80)->Arg(20)->Unit(benchmark::kMillisecond);

// Nearest-point queries alone: n and 4n queries against n and 4n nodes.
void BM_LocatorNearest(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Locator locator;
  for (int i = 0; i < count; ++i) locator.AddPoint(5.0 * i, 80.0 * std::sin(i / 80.0), i);
  for (auto _ : state) {
    double sum = 0;
    for (int q = 0; q < count; ++q) {
      double distance = 0;
      std::int32_t id = 0;
      locator.FindClosestPoint(5.0 * q + 2.5, 20.0 * std::cos(q / 30.0), distance, id);
      sum += distance + id;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_LocatorNearest)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veldrane

BENCHMARK_MAIN();
