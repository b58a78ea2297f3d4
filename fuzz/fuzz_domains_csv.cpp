// Fuzzes the value domain loader (DOMAINS.csv): the input is loaded from a
// file, then every domain named by a line of it is looked up key by key.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "config/value_domain.h"
#include "fuzz/fuzz_support.h"
#include "model/survey_error.h"
#include "model/text.h"

namespace {

// Upper-cased first field of every line: the candidate domain names. The
// loader's own rules (and HasDomain's trimming) decide which of them exist;
// the fuzzer only uses them as names to ask about.
std::vector<std::string> CandidateDomains(std::string_view bytes) {
  std::vector<std::string> names = {"PROJECTION", "HORIZONTAL_DATUM", "HORIZONTAL_EPOCH", "UNITS", ""};
  std::string text(bytes);
  std::replace(text.begin(), text.end(), '\r', '\n');  // a line may end in CR alone
  std::istringstream lines(text);
  for (std::string line; names.size() < 64 && std::getline(lines, line);) {
    names.push_back(veldrane::ToUpperAscii(line.substr(0, line.find(','))));
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veldrane;
  fuzz::SilenceNotifier();
  const std::string path = fuzz::WriteScratchFile("DOMAINS.csv", data, size);
  SurveyValueDomain domain;
  domain.LoadTable(path, ",");
  std::size_t found = 0;
  // Many lines name the same domain: count each name once.
  const std::vector<std::string> candidates =
      CandidateDomains(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const std::string& name : std::set<std::string>(candidates.begin(), candidates.end())) {
    if (!domain.HasDomain(name)) {
      // A domain that is not in the table raises RaisedError, nothing else.
      try {
        domain.LookupKeys(name);
        throw std::logic_error("LookupKeys of a missing domain did not raise");
      } catch (const RaisedError&) {
      }
      continue;
    }
    ++found;
    for (const std::string& key : domain.LookupKeys(name)) {
      // Keys are stored trimmed and upper-cased, so each finds its value again
      // (the value itself may be empty).
      domain.LookupValue(name, key);
    }
  }
  if (found > domain.DomainCount()) throw std::logic_error("more domains found than the table holds");
  return 0;
}
