// Fuzzes the CODES.DAT loader: the input is the CODES.DAT beside a survey
// path; every loaded entry is read back.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>

#include "config/code_dictionary.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veldrane;
  fuzz::SilenceNotifier();
  fuzz::WriteScratchFile("CODES.DAT", data, size);
  CodeDictionary dictionary;
  (void)LoadCodeDictionary((std::filesystem::path(fuzz::ScratchFolder()) / "survey.em").string(), dictionary);
  for (const auto& [key, value] : dictionary.Entries()) {
    const std::string* found = dictionary.Find(key);
    // A later line with the same key replaces the earlier: the map holds one
    // entry per key and finds exactly the value listed for it.
    if (!found || *found != value) throw std::logic_error("CODES.DAT entry not found by its own key");
  }
  return 0;
}
