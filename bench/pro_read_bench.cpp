// Reading a large PRO (.pro) profile: throughput and peak memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "bench/bench_support.h"
#include "bench/read_benchmark.h"
#include "readers/pro/pro_survey.h"

namespace {

constexpr std::size_t kTargetBytes = 56u << 20;

// Some 1.2 million profile points: station, easting, northing, elevation
// and (mostly) a code, blank separated as survey software writes them.
std::string MakeFile() {
  const auto path = (std::filesystem::path(veldrane::bench::ScratchDir()) / "large.pro").string();
  if (std::filesystem::exists(path) && std::filesystem::file_size(path) >= kTargetBytes) return path;
  std::ofstream out(path, std::ios::binary);
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> jitter(-0.5, 0.5);
  const char* codes[] = {"TOE", "CL", "GRD", "", "WE", "ROD", "TOP", "GRD"};
  out << "T01               LEVEE.PRO                  2                       NAD83\r\n"
      << "T02               J-4711                     FEET                    NAVD88\r\n"
      << "T03               03/15/2021                 1702                    2004.65\r\n"
      << "T07               Centerline profile\r\n";
  std::size_t written = 0;
  char buf[160];
  for (long i = 0; written < kTargetBytes; ++i) {
    const double station = 100000.0 + i * 2.5;
    const int n = std::snprintf(buf, sizeof buf, "%10.2f %12.3f %11.3f %8.3f %s\r\n", station,
                                3450000.0 + i * 2.3 + jitter(rng), 510000.0 + i * 0.9 + jitter(rng),
                                12.0 + jitter(rng) * 6, codes[i % 8]);
    out.write(buf, n);
    written += static_cast<std::size_t>(n);
  }
  return path;
}

void BM_ProRead(benchmark::State& state) {
  veldrane::bench::RunReadBenchmark(
      state, MakeFile(), "points",
      [](const std::string& path) {
        auto read = std::make_shared<veldrane::ProSurvey>();
        read->OpenSurvey(path);
        return read;
      },
      [](veldrane::ProSurvey& s) { return s.CurrentPID(); });
}
BENCHMARK(BM_ProRead)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
