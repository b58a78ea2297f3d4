#pragma once
// The measuring loop shared by the reader benchmarks: each iteration opens
// the generated file with a fresh reader, records the peak memory of that
// read over the file size, and drops the reader outside the timed part.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

#include "bench/bench_support.h"

namespace veldrane::bench {

// `open(path)` returns the read object (anything with Errors()); `count(obj)`
// the number of items it read, reported under `countName`. The generated
// file is removed afterwards: it is tens of megabytes.
template <class Open, class Count>
void RunReadBenchmark(benchmark::State& state, const std::string& path, const char* countName, Open open,
                      Count count) {
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
  std::int64_t items = 0;
  double peakRatio = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::int64_t before = CurrentRssBytes();
    ResetPeakRss();
    state.ResumeTiming();
    auto read = open(path);
    state.PauseTiming();
    const std::int64_t peak = PeakRssBytes() - before;
    peakRatio = std::max(peakRatio, static_cast<double>(peak) / static_cast<double>(bytes));
    items = count(*read);
    if (!read->Errors()->IsEmpty()) state.SkipWithError("the generated file read with errors");
    read.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(bytes * static_cast<std::int64_t>(state.iterations()));
  std::error_code ec;
  std::filesystem::remove(path, ec);
  state.counters["file_MB"] = static_cast<double>(bytes) / (1 << 20);
  state.counters[countName] = static_cast<double>(items);
  state.counters["peak_rss_over_file"] = peakRatio;
  state.counters["peak_rss_MB"] = static_cast<double>(PeakRssBytes()) / (1 << 20);
}

}  // namespace veldrane::bench
