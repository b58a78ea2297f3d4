#pragma once
// Helpers shared by the reader benchmarks: a scratch folder for generated
// files and the process's peak resident memory.
#include <cstdint>
#include <string>

namespace veldrane::bench {

// A folder under the system temp dir that lives for the process.
std::string ScratchDir();
// Peak resident set size of this process so far, in bytes.
std::int64_t PeakRssBytes();
// Resets the peak counter where the kernel allows it (Linux clear_refs 5);
// returns false when it could not.
bool ResetPeakRss();
// Current resident set size, in bytes.
std::int64_t CurrentRssBytes();

}  // namespace veldrane::bench
