// Copy, delete and rename of a survey file together with its metadata file.
// Every step that fails is skipped and the next one runs: the host's file
// operations never fail because of this data source.
#include "config/error_log.h"
#include "config/file_system.h"
#include "plugin/catalog_refresh.h"
#include "plugin/svy_dataset_helper.h"

namespace veldrane {
namespace {

template <class Step>
bool TryStep(Step step) {
  try {
    step();
    return true;
  } catch (...) {
    return false;
  }
}

std::filesystem::path WithXml(const std::filesystem::path& path) {
  std::filesystem::path result = path;
  result += ".xml";
  return result;
}

}  // namespace

// Into a folder that already has the name the copy becomes "<base>Copy.<ext>";
// when that exists as well nothing is copied.
void SvyDatasetHelper::Copy(const std::string&, const HostWorkspace& copyWorkspace) {
  const std::filesystem::path source = DatasetPath();
  const std::filesystem::path folder(copyWorkspace.PathName());
  std::filesystem::path target = folder / datasetName_;
  bool copyAllowed = true;
  TryStep([&] {
    if (std::filesystem::exists(target)) {
      target = folder / (BaseName(target) + "Copy." + Extension(target));
      copyAllowed = !std::filesystem::exists(target);
    }
  });
  if (!copyAllowed) return;
  TryStep([&] { CopyFileReplace(source, target); });
  TryStep([&] {
    if (FileExists(MetadataPath())) CopyFileReplace(MetadataPath(), WithXml(target));
  });
}

void SvyDatasetHelper::Delete() {
  const std::filesystem::path path = DatasetPath();
  TryStep([&] { DeleteFile(path); });
  TryStep([&] {
    if (FileExists(WithXml(path))) DeleteFile(WithXml(path));
  });
  TryStep([&] { ErrorLog().RemoveSurveyFileFromErrorTreeGUI(path.string()); });
}

// The helper takes the new name even when the file could not be moved. The
// metadata file follows the survey file only when the survey file moved, so
// a failed rename never pairs one file's metadata with another file.
std::string SvyDatasetHelper::Rename(const std::string& newName) {
  const std::filesystem::path oldPath = DatasetPath();
  const std::filesystem::path newPath = std::filesystem::path(workspacePath_) / newName;
  const bool moved = TryStep([&] { MoveFile(oldPath, newPath); });
  if (moved) {
    TryStep([&] {
      if (FileExists(WithXml(oldPath))) MoveFile(WithXml(oldPath), WithXml(newPath));
    });
  }
  datasetName_ = newName;
  classes_.reset();
  TryStep([&] { ErrorLog().RemoveSurveyFileFromErrorTreeGUI(oldPath.string()); });
  TryStep([&] { GetIndexDicts(); });
  TryStep([&] { RefreshCatalogAfterRename(oldPath.string(), newPath.string()); });
  return newName;
}

}  // namespace veldrane
