// Fuzzes the ".bl" reader through the survey factory: the input is written
// to a file with that extension, opened, walked member by member and its
// error queue drained.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  veldrane::fuzz::SilenceNotifier();
  veldrane::fuzz::OpenAndWalk(veldrane::fuzz::WriteScratchFile("input.bl", data, size));
  return 0;
}
