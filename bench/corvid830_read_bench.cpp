// Reading a large fixed-column (.830) survey: throughput and peak memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "bench/bench_support.h"
#include "bench/read_benchmark.h"
#include "readers/fixedcolumn/corvid830_survey.h"

namespace {

constexpr std::size_t kTargetBytes = 56u << 20;

class LineWriter {
 public:
  explicit LineWriter(std::size_t width) : line_(width, ' ') {}
  void Clear(std::size_t width) { line_.assign(width, ' '); }
  void At(std::size_t column, std::string_view text) {
    if (line_.size() < column - 1 + text.size()) line_.resize(column - 1 + text.size(), ' ');
    line_.replace(column - 1, text.size(), text);
  }
  void Right(std::size_t last, const char* format, double value) {
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, format, value);
    At(last + 1 - static_cast<std::size_t>(n), std::string_view(buf, static_cast<std::size_t>(n)));
  }
  const std::string& Str() const { return line_; }

 private:
  std::string line_;
};

// A survey of some 2,900 cross sections of about 100 points each: range
// line, control line and data lines of four points, CR LF line ends.
std::string MakeFile() {
  const auto path = (std::filesystem::path(veldrane::bench::ScratchDir()) / "large.830").string();
  if (std::filesystem::exists(path) && std::filesystem::file_size(path) >= kTargetBytes) return path;
  std::ofstream out(path, std::ios::binary);
  std::mt19937 rng(830);
  std::uniform_real_distribution<double> jitter(-0.5, 0.5);
  const char* codes[] = {"TOE", "CL ", "GRD", "   ", "WE ", "ROD", "TOP", "GRD"};
  out << "T01               LEVEE830.DAT               2                       NAD83\r\n"
      << "T02               J-4711                     FEET                    NAVD88\r\n"
      << "T03               03/15/2021                 1702                    2004.65\r\n"
      << "T05               Gulf Survey Co.\r\nT06               Mile 12 to Mile 14\r\nT07               Reach 3\r\n";
  std::size_t written = 0;
  LineWriter line(128);
  for (int section = 0; written < kTargetBytes; ++section) {
    const double x0 = 3450000.0 + section * 25.0;
    const double y0 = 510000.0 + section * 10.0;
    line.Clear(128);
    line.At(1, "XS");
    line.At(9, "A01");
    line.At(36, "1234530.5");
    line.Right(56, "%.2f", section * 100.0);
    line.At(64, "R" + std::to_string(section));
    line.Right(92, "%.3f", x0);
    line.Right(104, "%.3f", y0);
    line.Right(116, "%.3f", x0 + 600.0);
    line.Right(128, "%.3f", y0 + 240.0);
    out << line.Str() << "\r\n";
    written += line.Str().size() + 2;
    line.Clear(123);
    line.At(1, "XS");
    line.At(9, "A02");
    line.At(12, section % 3 ? "TBM:" : "PBM:");
    line.At(18, "BM " + std::to_string(section / 10));
    line.Right(59, "%.2f", 12.34);
    line.At(71, "G" + std::to_string(section % 4));
    line.Right(92, "%.2f", 3.0 + section % 7 * 0.25);
    line.At(101, "04/05/2021");
    line.At(120, "1415");
    out << line.Str() << "\r\n";
    written += line.Str().size() + 2;
    const int points = 97 + section % 7;
    for (int p = 0; p < points; p += 4) {
      line.Clear(81);
      line.At(9, "D01");
      const int here = std::min(4, points - p);
      for (int k = 0; k < here; ++k) {
        const double offset = -300.0 + (p + k) * 6.0;
        const std::size_t kk = static_cast<std::size_t>(k);
        line.Right(19 + 17 * kk, "%.1f", offset);
        line.Right(26 + 17 * kk, "%.2f", 5.0 + jitter(rng) * 4);
        line.At(27 + 17 * kk, codes[(p + k) % 8]);
        line.Right(92 + 24 * kk, "%.3f", x0 + 300.0 + offset * 0.928 + jitter(rng));
        line.Right(104 + 24 * kk, "%.3f", y0 + 120.0 + offset * 0.371 + jitter(rng));
      }
      if (here < 4) line.At(13 + 17 * static_cast<std::size_t>(here), "9999999");
      out << line.Str() << "\r\n";
      written += line.Str().size() + 2;
    }
    if (points % 4 == 0) {
      out << "        D01 9999999\r\n";
      written += 21;
    }
  }
  return path;
}

void BM_Corvid830Read(benchmark::State& state) {
  veldrane::bench::RunReadBenchmark(
      state, MakeFile(), "points",
      [](const std::string& path) {
        auto read = std::make_shared<veldrane::Corvid830Survey>();
        read->OpenSurvey(path);
        return read;
      },
      [](veldrane::Corvid830Survey& s) { return s.CurrentPID(); });
}
BENCHMARK(BM_Corvid830Read)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
