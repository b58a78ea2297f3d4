#include "gdal/survey_path.h"

#include <filesystem>
#include <system_error>

#include "readers/survey_factory.h"

namespace veldrane::ogr {
namespace {

namespace fs = std::filesystem;

bool IsVirtualPath(const std::string& path) { return path.rfind("/vsi", 0) == 0; }

}  // namespace

SurveyTarget ClassifySurveyPath(const std::string& path) {
  SurveyTarget target;
  try {
    if (path.empty() || IsVirtualPath(path)) return target;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec) return target;
    if (fs::is_directory(status)) {
      target.kind = SurveyTarget::Kind::Workspace;
      target.workspace = path;
      return target;
    }
    if (!fs::is_regular_file(status) || !IsValidSurveyFile(path)) return target;
    const fs::path file(path);
    target.kind = SurveyTarget::Kind::SurveyFile;
    target.workspace = file.has_parent_path() ? file.parent_path().string() : std::string(".");
    target.datasetName = file.filename().string();
  } catch (...) {
    // A path that cannot even be looked at is not ours.
    target = SurveyTarget();
  }
  return target;
}

}  // namespace veldrane::ogr
