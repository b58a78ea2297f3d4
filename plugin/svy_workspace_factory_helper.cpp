#include "plugin/svy_workspace_factory_helper.h"

#include <filesystem>

#include "config/coordinate_system_domain.h"
#include "config/file_system.h"
#include "config/settings_paths.h"
#include "readers/survey_file_utils.h"
#include "config/value_domain.h"
#include "model/constants.h"
#include "model/error_propagation.h"
#include "model/survey_error.h"
#include "plugin/svy_workspace_helper.h"
#include "readers/survey_factory.h"

namespace veldrane {
namespace {

constexpr const char* kModule = "SvyWorkspaceFactoryHelper";

void Report(const char* member, const std::exception& failure) {
  ReportProcedureError(true, ProcedureWhere(member, kModule), failure);
}

// The coordinate-system table path and the two tables of the current
// module context: the process's copies, loaded only by the first factory.
void PrepareSharedResources() {
  CoordSysFilePath();
  SharedCoordinateSystemDomain();
  SharedValueDomain();
}

// Names in a host's list are normally full paths; a bare name is taken as
// one of the parent directory.
std::string InFolder(const std::string& parentDirectory, const std::string& name) {
  const std::filesystem::path path(name);
  return path.is_absolute() ? name : (std::filesystem::path(parentDirectory) / path).string();
}

}  // namespace

SvyWorkspaceFactoryHelper::SvyWorkspaceFactoryHelper() : SvyWorkspaceFactoryHelper(DefaultSurveySource()) {}

SvyWorkspaceFactoryHelper::SvyWorkspaceFactoryHelper(SurveySource source) : source_(std::move(source)) {
  try {
    PrepareSharedResources();
  } catch (const std::exception& failure) {
    Report("Class_Initialize", failure);
  }
}

std::string SvyWorkspaceFactoryHelper::DataSourceName() { return "Halden Survey File"; }

std::string SvyWorkspaceFactoryHelper::DatasetDescription(std::int32_t datasetType) {
  try {
    if (datasetType == kDatasetTypeFeatureClass) return "Halden Survey Feature Class";
    if (datasetType == kDatasetTypeFeatureDataset) return "Halden Survey Feature Dataset";
    throw RaisedError(kErrUnexpected,
                      "Ordane.SvyWorkspaceFactoryHelper.IPlugInWorkspaceFactoryHelper_DatasetDescription",
                      "Unexpected Dataset Type");
  } catch (const std::exception& failure) {
    Report("IPlugInWorkspaceFactoryHelper_DatasetDescription", failure);
    return std::string();
  }
}

std::string SvyWorkspaceFactoryHelper::WorkspaceDescription(bool) { return "Halden Survey File Workspace"; }

Uid SvyWorkspaceFactoryHelper::WorkspaceFactoryTypeID() {
  Uid uid;
  uid.SetValue(kSurveyWorkspaceFactoryGuid);
  return uid;
}

std::int32_t SvyWorkspaceFactoryHelper::WorkspaceType() { return kWorkspaceTypeFileSystem; }

bool SvyWorkspaceFactoryHelper::IsWorkspace(const std::string& workspaceString) {
  try {
    if (!FolderExists(workspaceString)) return false;
    for (const std::string& file : ListFiles(workspaceString)) {
      if (IsValidSurveyFile(file)) return true;
    }
    return false;
  } catch (const std::exception& failure) {
    Report("IPlugInWorkspaceFactoryHelper_IsWorkspace", failure);
    return false;
  }
}

// Reads the list from where it stands (it is not reset) and leaves it as it is.
bool SvyWorkspaceFactoryHelper::ContainsWorkspace(const std::string& parentDirectory, FileNames* fileNames) {
  try {
    if (!fileNames) return IsWorkspace(parentDirectory);
    if (!FolderExists(parentDirectory)) return false;
    for (std::string name = fileNames->Next(); !name.empty(); name = fileNames->Next()) {
      if (fileNames->IsDirectory()) continue;
      if (IsValidSurveyFile(name)) return true;
    }
    return false;
  } catch (const std::exception& failure) {
    Report("IPlugInWorkspaceFactoryHelper_ContainsWorkspace", failure);
    return false;
  }
}

// Claims the survey files of the list, and the metadata files beside
// existing files, so the host does not list them again as plain files.
std::string SvyWorkspaceFactoryHelper::GetWorkspaceString(const std::string& parentDirectory, FileNames* fileNames) {
  try {
    if (!fileNames) return IsWorkspace(parentDirectory) ? parentDirectory : std::string();
    if (!FolderExists(parentDirectory)) return std::string();
    bool found = false;
    fileNames->Reset();
    for (std::string name = fileNames->Next(); !name.empty(); name = fileNames->Next()) {
      if (fileNames->IsDirectory()) continue;
      if (IsValidSurveyFile(name)) {
        fileNames->Remove();
        found = true;
      } else if (IsValidSurveyMetadataFile(InFolder(parentDirectory, name))) {
        fileNames->Remove();
      }
    }
    return found ? parentDirectory : std::string();
  } catch (const std::exception& failure) {
    Report("IPlugInWorkspaceFactoryHelper_GetWorkspaceString", failure);
    return std::string();
  }
}

std::shared_ptr<IPlugInWorkspaceHelper> SvyWorkspaceFactoryHelper::OpenWorkspace(const std::string& workspaceString) {
  if (!FolderExists(workspaceString)) {
    throw RaisedError(kErrUnexpected, "OpenWorkspace", "Workspace string invalid: " + workspaceString);
  }
  auto workspace = std::make_shared<SvyWorkspaceHelper>(source_);
  workspace->SetWorkspacePath(workspaceString);
  return workspace;
}

}  // namespace veldrane
