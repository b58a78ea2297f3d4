// Reading speed and memory of the EM reader on a large, coordinate-heavy
// survey file. Reports bytes/s, the peak resident memory of a read and that
// peak relative to the file size.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/bench_support.h"
#include "readers/em/em_survey.h"

namespace veldrane {
namespace {

constexpr std::int64_t kTargetBytes = std::int64_t{64} << 20;

// Writes header, crew, equipment and weather records, then repeats a day of
// work (benchmarks, a gage reading, many cross sections, a profile and
// miscellaneous shot points) until the file is large enough.
class SurveyWriter {
 public:
  explicit SurveyWriter(const std::string& path) : out_(std::fopen(path.c_str(), "wb")) {}
  ~SurveyWriter() {
    if (out_ != nullptr) std::fclose(out_);
  }
  bool ok() const { return out_ != nullptr; }
  std::int64_t written() const { return written_; }

  void Line(const char* format, auto... args) {
    char buf[256];
    const int n = std::snprintf(buf, sizeof(buf), format, args...);
    std::fwrite(buf, 1, static_cast<std::size_t>(n), out_);
    std::fwrite("\r\n", 1, 2, out_);
    written_ += n + 2;
  }

  void Header() {
    Line("#H00 EM09");
    Line("#H01 LEVEE_REACH_7.TXT");
    Line("#H02 03/01/2023");
    Line("#H03 +-0.05");
    Line("#H04 NAD83");
    Line("#H05 J-2023-117");
    Line("#H06 US Survey Feet");
    Line("#H10 FB-117");
    Line("#H11 1");
    Line("#H17 +-0.10");
    Line("#H20 Levee Reach 7 Cross Sections");
    Line("#C01 J. SMITH");
    Line("#C02 R. JONES");
    Line("#C03 L. LEE");
    Line("#E01 TOTAL STATION");
    Line("#E02 SN-44121");
    Line("#E03 TS-15");
    Line("#E10 calibrated 02/2023");
    Line("#E01 GNSS RECEIVER");
    Line("#E02 SN-99812");
  }

  void Day(int day) {
    Line("#H02 03/%02d/2023", 1 + day % 28);
    Line("#H11 %d", day + 1);
    Line("#W01 %d", 60 + day % 20);
    Line("#W05 %d MPH", day % 15);
    Line("#V01 BM-%d", day);
    Line("#V02 %.3f", 10.0 + day * 0.01);
    Line("#V04 NAVD88");
    Line("#V07 3312000.000 712000.000");
    Line("#T01 TBM-%d", day);
    Line("#T06 %.3f", 8.0 + day * 0.01);
    Line("#G01 TIDE");
    Line("#G02 GAGE-%d", day % 7);
    Line("#G03 %.2f", 1.0 + (day % 50) * 0.01);
    Line("#G04 %02d%02d", 7 + day % 10, day % 60);
    static const char* kCodes[] = {"TOE", "CL", "TOP", "GRD", "WS", "BOT"};
    for (int x = 0; x < 40; ++x) {
      const double station = (day * 40 + x) * 100.0;
      Line("#X01 712000.000 %.3f 712600.000 %.3f %d+00 R-%d", 3312000.0 + station, 3312000.0 + station,
           static_cast<int>(station / 100), day * 40 + x);
      Line("#X12 Levee section %d", x);
      for (int p = 0; p < 45; ++p) {
        Line("%d %.3f %.3f %.3f %s", 1001 + p, 3312000.0 + station + (p % 3) * 0.125, 712000.0 + p * 13.337,
             10.0 + (p % 17) * 0.731, kCodes[p % 6]);
      }
    }
    Line("#P01 712000.000 3312000.000 0 Channel %d", day);
    for (int p = 0; p < 200; ++p)
      Line("%d %.3f %.3f %.3f CL", 1 + p, 3312000.0 + p * 25.5, 712300.0 + (p % 9) * 1.25, -5.0 + (p % 11) * 0.1);
    Line("#M01 Fence corner");
    for (int p = 0; p < 60; ++p)
      Line("%d %.3f %.3f %.3f FNC", 5001 + p, 3312100.0 + p * 3.1, 712100.0 + p * 2.7, 11.0 + p * 0.01);
  }

 private:
  std::FILE* out_;
  std::int64_t written_ = 0;
};

const std::string& SurveyFile(std::int64_t& size) {
  static const std::string path = (std::filesystem::path(bench::ScratchDir()) / "large_survey.em").string();
  static std::int64_t bytes = 0;
  if (bytes == 0) {
    SurveyWriter writer(path);
    if (writer.ok()) {
      writer.Header();
      for (int day = 0; writer.written() < kTargetBytes; ++day) writer.Day(day);
      bytes = writer.written();
    }
  }
  size = bytes;
  return path;
}

void BM_ReadEMFile(benchmark::State& state) {
  std::int64_t size = 0;
  const std::string& path = SurveyFile(size);
  if (size == 0) {
    state.SkipWithError("could not write the survey file");
    return;
  }
  bench::ResetPeakRss();
  const std::int64_t before = bench::CurrentRssBytes();
  // The first read of a process also pays for the kernel handing out fresh
  // pages (most of its time on a virtual machine); it is measured on its
  // own, and the timed reads show the reader's steady throughput.
  // Wall time: a large file is cut and parsed ahead on a second thread.
  const auto firstStart = std::chrono::steady_clock::now();
  {
    EMSurvey survey;
    survey.OpenSurvey(path);
  }
  const double firstSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - firstStart).count();
  std::int64_t points = 0;
  for (auto _ : state) {
    EMSurvey survey;
    survey.OpenSurvey(path);
    points = survey.CrossSections()->Size() + survey.MiscShotPoints()->Size();
    benchmark::DoNotOptimize(points);
  }
  const std::int64_t peak = bench::PeakRssBytes();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * size);
  state.counters["first_read_MB_per_s"] = static_cast<double>(size) / (1 << 20) / firstSeconds;
  state.counters["file_MB"] = static_cast<double>(size) / (1 << 20);
  state.counters["peak_rss_MB"] = static_cast<double>(peak) / (1 << 20);
  state.counters["read_peak_MB"] = static_cast<double>(peak - before) / (1 << 20);
  state.counters["read_peak_per_file_byte"] = static_cast<double>(peak - before) / static_cast<double>(size);
  state.counters["peak_rss_per_file_byte"] = static_cast<double>(peak) / static_cast<double>(size);
}
BENCHMARK(BM_ReadEMFile)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
}  // namespace veldrane

BENCHMARK_MAIN();
