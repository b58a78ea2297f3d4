#pragma once
// One workspace folder: lists its survey files as datasets and opens them.
// Nothing is cached: every call looks at the folder again and makes new
// dataset helpers.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "plugin/plugin_interfaces.h"
#include "plugin/survey_source.h"

namespace veldrane {

class SvyDatasetHelper;

class SvyWorkspaceHelper final : public IPlugInWorkspaceHelper {
 public:
  SvyWorkspaceHelper();
  // Dataset helpers made by this workspace read through `source`.
  explicit SvyWorkspaceHelper(SurveySource source);

  // Set once, by OpenWorkspace, exactly as the factory received it.
  void SetWorkspacePath(std::string path) { workspacePath_ = std::move(path); }
  const std::string& WorkspacePath() const { return workspacePath_; }
  // The path of a dataset of this workspace: folder / local name.
  std::filesystem::path DatasetPath(const std::string& localName) const;

  // IPlugInWorkspaceHelper
  bool RowCountIsCalculated() override { return true; }
  bool OIDIsRecordNumber() override { return true; }
  std::shared_ptr<IInterface> NativeType(std::int32_t datasetType, const std::string& localName) override;
  std::shared_ptr<HostArray<IPlugInDatasetInfo>> DatasetNames(std::int32_t datasetType) override;
  std::shared_ptr<IPlugInDatasetHelper> OpenDataset(const std::string& localName) override;

  // A new dataset helper for the local name (the file is not read): survey
  // type 1001 for traverse and baseline files, else 1000.
  std::shared_ptr<SvyDatasetHelper> MakeDatasetHelper(const std::string& localName) const;

 private:
  SurveySource source_;
  std::string workspacePath_;
};

}  // namespace veldrane
