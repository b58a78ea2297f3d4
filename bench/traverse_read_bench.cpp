// Reading a large traverse report (.83): throughput and peak memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_support.h"
#include "bench/read_benchmark.h"
#include "readers/traverse/tessel_traverse.h"

namespace {

constexpr int kStations = 120000;

std::string Place(std::string line, std::size_t column, std::string_view text) {
  if (line.size() < column - 1 + text.size()) line.resize(column - 1 + text.size(), ' ');
  line.replace(column - 1, text.size(), text);
  return line;
}

std::string Dms(double degrees) {
  const int d = static_cast<int>(degrees);
  const double rest = (degrees - d) * 60;
  const int m = static_cast<int>(rest);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d-%02d-%05.2f", d, m, (rest - m) * 60);
  return buf;
}

std::string Number(const char* format, double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

// A 25-line header and 120,000 four-line station groups, then a summary.
std::string MakeFile() {
  const auto path = (std::filesystem::path(veldrane::bench::ScratchDir()) / "large.83").string();
  if (std::filesystem::exists(path)) return path;
  std::ofstream out(path, std::ios::binary);
  for (int i = 1; i <= 25; ++i) {
    std::string line;
    if (i == 1) line = Place(Place("JOB NO", 8, "LEVEE TRAVERSE 44-B"), 122, "06/30/2019");
    if (i == 2) line = Place("TITLE", 21, "Reach 4 control traverse");
    if (i == 3) line = Place("FIELDBK", 10, "FB 1021 PG 12-19");
    if (i == 14) line = "          NORTH AMERICAN DATUM OF 1983";
    if (i == 16) line = "          LOUISIANA SOUTH ZONE 1702";
    out << line << "\r\n";
  }
  for (int s = 0; s < kStations; ++s) {
    const double station = s * 100.0;
    char id[8];
    std::snprintf(id, sizeof id, "(%03d)", s % 1000);
    char name[16];
    std::snprintf(name, sizeof name, "%d+%05.2f", s, 0.0);
    std::string l1 = Place(Place(Place(Place(id, 6, "IRON ROD SET " + std::to_string(s)), 47, Dms(269.99)), 68,
                                 Number("%.8f", 0.99997512)),
                           85, Dms(0.2096));
    std::string l2 = Place(Place(Place(Place(Place(Place(Place(name, 16, Dms(179.9997)), 30, Number("%.3f", 100.0)), 47,
                                                   Dms(89.9995)),
                                             68, Number("%.3f", 100.002)),
                                       85, Dms(90.2091)),
                                 100, Number("%.3f", 512345.678 + station * 0.001)),
                           116, Number("%.3f", 3456789.012 + station));
    std::string l3 = Place(Place(Place(Place("", 16, Dms(180.0003)), 30, Number("%.3f", 100.004)), 100,
                                 Dms(29.9201 + s * 1e-6)),
                           116, Dms(90.1293 + s * 1e-6));
    out << l1 << "\r\n" << l2 << "\r\n" << l3 << "\r\n" << "\r\n";
  }
  out << "  ADJUSTMENT SUMMARY\r\n";
  return path;
}

void BM_TraverseRead(benchmark::State& state) {
  veldrane::bench::RunReadBenchmark(
      state, MakeFile(), "stations",
      [](const std::string& path) {
        auto read = std::make_shared<veldrane::TesselTraverse>();
        read->OpenTraverse(path);
        return read;
      },
      [](veldrane::TesselTraverse& s) { return static_cast<std::int64_t>(s.TraversePoints()->Size()); });
}
BENCHMARK(BM_TraverseRead)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
