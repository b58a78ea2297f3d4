#include "gdal/survey_path.h"

#include <filesystem>

#include "config/file_access.h"
#include "gdal/vsi_file_access.h"
#include "readers/survey_factory.h"

namespace veldrane::ogr {

namespace fs = std::filesystem;

SurveyTarget ClassifySurveyPath(const std::string& givenPath) {
  SurveyTarget target;
  try {
    const std::string path = SurveyNameOf(givenPath);
    const FileKind kind = CurrentFileAccess().KindOf(path);
    if (kind == FileKind::Folder) {
      // Whether it holds survey files was judged, by their content, when
      // the folder was identified: it is not listed again here.
      target.kind = SurveyTarget::Kind::Workspace;
      target.workspace = path;
      return target;
    }
    if (kind != FileKind::File || !IsValidSurveyFile(path)) return target;
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
