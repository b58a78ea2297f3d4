// Fuzzes the coordinate system table loader (COORDSYS.csv): the input is
// loaded from a file, then every key is looked up again by its four parts
// and every CSID's bounding box is read.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "config/coordinate_system_domain.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veldrane;
  fuzz::SilenceNotifier();
  const std::string path = fuzz::WriteScratchFile("COORDSYS.csv", data, size);
  SurveyCoordinateSystemDomain domain(path, fuzz::ScratchFolder());
  for (const auto& [key, csid] : domain.Entries()) {
    // The key is "PROJECTION,DATUM,EPOCH,UNITS" of upper-cased fields, so its
    // four parts find the same CSID again.
    std::string parts[4];
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
      const std::size_t comma = i < 3 ? key.find(',', start) : key.size();
      if (comma == std::string::npos) throw std::logic_error("coordinate system key has fewer than 4 parts");
      parts[i] = key.substr(start, comma - start);
      start = comma + 1;
    }
    if (domain.LookupCoordinateSystemId(parts[0], parts[1], parts[2], parts[3]) != csid) {
      throw std::logic_error("coordinate system key does not find its own CSID");
    }
    if (domain.HasBoundingBox(csid)) {
      const double x = (domain.LookupMinX(csid) + domain.LookupMaxX(csid)) / 2;
      const double y = (domain.LookupMinY(csid) + domain.LookupMaxY(csid)) / 2;
      domain.IsInBoundingBox(csid, x, y);
    }
    domain.PrjFileNameForId(csid);
  }
  domain.GetProjections(), domain.GetDatums(), domain.GetHorizontalEpochs(), domain.GetUnits();
  return 0;
}
