// Fuzzes the coordinate system table loader (COORDSYS.csv): the input is
// loaded from a file, then every key is looked up again by its four parts
// and every CSID's bounding box is read.
#include <cstddef>
#include <cstdint>
#include <sstream>
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
    // four parts find the same CSID again (a key of fewer parts finds none).
    std::istringstream fields(key);
    std::string parts[4];
    for (std::string& part : parts) std::getline(fields, part, ',');
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
