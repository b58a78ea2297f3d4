// Fuzzes the value domain loader (DOMAINS.csv): the input is loaded from a
// file, then every domain named by a line of it is looked up key by key.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

#include "config/value_domain.h"
#include "fuzz/fuzz_support.h"
#include "model/survey_error.h"

namespace {

// Upper-cased first field of every line: the candidate domain names. The
// loader's own trimming rules decide which of them exist; the fuzzer only
// uses them as names to ask about.
std::vector<std::string> CandidateDomains(std::string_view text) {
  std::vector<std::string> names = {"PROJECTION", "HORIZONTAL_DATUM", "HORIZONTAL_EPOCH", "UNITS", ""};
  std::size_t start = 0;
  while (start < text.size() && names.size() < 64) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    std::string name(line.substr(0, line.find(',')));
    name.erase(0, name.find_first_not_of(" \t"));
    name.erase(name.find_last_not_of(" \t") + 1);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    names.push_back(name);
    start = end + 1;
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
