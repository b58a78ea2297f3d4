#include "gdal/survey_path.h"

#include <filesystem>
#include <memory>

#include "config/file_access.h"
#include "gdal/vsi_file_access.h"
#include "plugin/svy_workspace_factory_helper.h"
#include "readers/survey_factory.h"

namespace veldrane::ogr {
namespace {

namespace fs = std::filesystem;

// Identification runs for every path any GDAL client opens, so the calling
// thread keeps one factory helper instead of loading the configuration
// tables on every test.
SvyWorkspaceFactoryHelper& IdentifyingFactory() {
  thread_local std::unique_ptr<SvyWorkspaceFactoryHelper> factory;
  if (!factory) factory = std::make_unique<SvyWorkspaceFactoryHelper>();
  return *factory;
}

}  // namespace

SurveyTarget ClassifySurveyPath(const std::string& givenPath) {
  SurveyTarget target;
  try {
    const std::string path = SurveyNameOf(givenPath);
    const FileKind kind = CurrentFileAccess().KindOf(path);
    if (kind == FileKind::Folder) {
      if (IdentifyingFactory().IsWorkspace(path)) {
        target.kind = SurveyTarget::Kind::Workspace;
        target.workspace = path;
      }
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
