// Fuzzes one reader family through the survey factory: the input is written
// to a file with the family's extension (VELDRANE_FUZZ_EXTENSION, set per
// target in targets.cmake; the extension is what picks the reader), opened,
// walked member by member and its error queue drained.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  veldrane::fuzz::SilenceNotifier();
  veldrane::fuzz::OpenAndWalk(veldrane::fuzz::WriteScratchFile("input" VELDRANE_FUZZ_EXTENSION, data, size));
  return 0;
}
