#include "bench/bench_support.h"

#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace veldrane::bench {

std::string ScratchDir() {
  static const std::string dir = [] {
    auto path = std::filesystem::temp_directory_path() / ("veldrane-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path.string();
  }();
  return dir;
}

namespace {
std::int64_t StatusField(const char* name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(name, 0) == 0) {
      std::istringstream fields(line.substr(std::string(name).size()));
      std::int64_t kb = 0;
      fields >> kb;
      return kb * 1024;
    }
  }
  return 0;
}
}  // namespace

std::int64_t PeakRssBytes() {
  const auto hwm = StatusField("VmHWM:");
  if (hwm > 0) return hwm;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<std::int64_t>(usage.ru_maxrss) * 1024;
}

bool ResetPeakRss() {
  std::ofstream clear("/proc/self/clear_refs");
  if (!clear) return false;
  clear << "5";
  return static_cast<bool>(clear);
}

std::int64_t CurrentRssBytes() { return StatusField("VmRSS:"); }

}  // namespace veldrane::bench
