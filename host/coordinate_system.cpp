#include "host/coordinate_system.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include <cpl_error.h>
#include <cpl_string.h>

#include "config/file_system.h"
#include "config/settings_paths.h"
#include "model/text.h"

namespace veldrane {
namespace {

// Built once per process for each projection folder and CSID (importing a
// projection file through PROJ's database takes tens of milliseconds), and
// never handed out: GDAL's spatial references are not safe to use from two
// threads at once, so every caller gets a clone, made under the lock.
struct BuiltReferences {
  std::mutex mutex;
  std::map<std::pair<std::string, std::int32_t>, SpatialReferencePtr> byFolderAndId;
};

BuiltReferences& Built() {
  static BuiltReferences built;
  return built;
}

// GDAL reports failed imports through its error handler; here a failure
// simply means "unknown coordinate system", so keep them quiet.
class QuietGdalErrors {
 public:
  QuietGdalErrors() { CPLPushErrorHandler(CPLQuietErrorHandler); }
  ~QuietGdalErrors() { CPLPopErrorHandler(); }
  QuietGdalErrors(const QuietGdalErrors&) = delete;
  QuietGdalErrors& operator=(const QuietGdalErrors&) = delete;
};

bool LooksLikeWkt(std::string_view text) {
  const std::string_view t = TrimBlanks(text);
  const std::size_t bracket = t.find('[');
  if (bracket == std::string_view::npos) return false;
  const std::string keyword = ToUpperAscii(TrimBlanks(t.substr(0, bracket)));
  return keyword == "PROJCS" || keyword == "GEOGCS" || keyword == "GEOCCS" || keyword == "COMPD_CS" ||
         keyword == "VERT_CS" || keyword == "LOCAL_CS" || keyword == "PROJCRS" || keyword == "GEOGCRS" ||
         keyword == "GEODCRS" || keyword == "COMPOUNDCRS" || keyword == "BOUNDCRS" || keyword == "VERTCRS";
}

// Projection files hold either WKT (one line, ESRI dialect or OGC) or the
// older ESRI keyword form ("Projection STATEPLANE" ...).
bool ImportProjectionFile(OGRSpatialReference& reference, const std::filesystem::path& file) {
  const std::string text = ReadAllText(file);
  if (LooksLikeWkt(text)) {
    const std::string wkt(TrimBlanks(text));
    return reference.importFromWkt(wkt.c_str()) == OGRERR_NONE;
  }
  char** lines = CSLTokenizeStringComplex(text.c_str(), "\r\n", FALSE, FALSE);
  const OGRErr result = reference.importFromESRI(lines);
  CSLDestroy(lines);
  return result == OGRERR_NONE;
}

// A projection file that defines exactly the EPSG system its id names gets
// that identity: clients then see "EPSG:6479" rather than a custom system
// (QGIS's CRS, a PostGIS SRID, a GeoPackage srs_id of the EPSG registry).
void IdentifyAsEpsg(OGRSpatialReference& reference, std::int32_t csid) {
  if (csid <= 0 || reference.GetAuthorityName(nullptr) != nullptr) return;
  OGRSpatialReference epsg;
  if (epsg.importFromEPSG(csid) == OGRERR_NONE && reference.IsSame(&epsg))
    reference.SetAuthority(nullptr, "EPSG", csid);
}

SpatialReferencePtr Build(const std::string& projectionFolder, std::int32_t csid) {
  QuietGdalErrors quiet;
  SpatialReferencePtr reference = MakeUnknownSpatialReference();
  bool ok = false;
  try {
    const std::filesystem::path file = std::filesystem::path(projectionFolder) / (std::to_string(csid) + ".prj");
    if (FileExists(file)) {
      ok = ImportProjectionFile(*reference, file);
      if (ok) IdentifyAsEpsg(*reference, csid);
    } else {
      ok = csid > 0 && reference->importFromEPSG(csid) == OGRERR_NONE;
    }
  } catch (const std::exception&) {
    ok = false;
  }
  if (!ok) return MakeUnknownSpatialReference();
  reference->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  return reference;
}

}  // namespace

SpatialReferencePtr GetCoordinateSystem(std::int32_t csid) {
  if (csid == 0) return MakeUnknownSpatialReference();
  const std::string folder = PrjPath();
  BuiltReferences& built = Built();
  std::lock_guard<std::mutex> lock(built.mutex);
  SpatialReferencePtr& master = built.byFolderAndId[{folder, csid}];
  if (!master) master = Build(folder, csid);
  return AdoptSpatialReference(master->Clone());
}

void ClearCoordinateSystemCache() {
  BuiltReferences& built = Built();
  std::lock_guard<std::mutex> lock(built.mutex);
  built.byFolderAndId.clear();
}

}  // namespace veldrane
