// Fuzzes the JSON view of `veldrane dump` over a fuzzed EM survey: the
// written text must be valid UTF-8, parse (the strict parser throws on
// invalid UTF-8) and be exactly what nlohmann prints for the parsed value.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/survey_json.h"
#include "fuzz/fuzz_support.h"
#include "model/survey_error.h"
#include "readers/survey_factory.h"

namespace {

// Strict UTF-8: no overlongs, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) { ++i; continue; }
    if ((c & 0xE0) == 0xC0) n = 1, cp = c & 0x1F;
    else if ((c & 0xF0) == 0xE0) n = 2, cp = c & 0x0F;
    else if ((c & 0xF8) == 0xF0) n = 3, cp = c & 0x07;
    else return false;
    if (i + n >= s.size()) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      const unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if ((n == 1 && cp < 0x80) || (n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000)) return false;
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += n + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veldrane;
  fuzz::SilenceNotifier();
  const std::string path = fuzz::WriteScratchFile("input.em", data, size);
  std::shared_ptr<IInterface> object;
  try {
    object = OpenSurveyFile(path);
  } catch (const RaisedError&) {
    return 0;
  }
  const std::string text = SurveyFileJsonText(path, object, true);
  if (!IsValidUtf8(text)) throw std::logic_error("dump JSON is not valid UTF-8");
  const auto back = nlohmann::ordered_json::parse(text);
  if (back.dump(2) != text) throw std::logic_error("dump JSON does not survive a parse round trip");
  return 0;
}
