#pragma once
// One workspace folder: lists its survey files as datasets and opens them.
// Nothing is cached: every call looks at the folder again and makes new
// dataset helpers.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "config/xml_property_set.h"
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

  // Metadata beside each survey file (plugin/svy_workspace_metadata.cpp). The
  // local name counts up to its first ":". Metadata: the stored document (or
  // an empty one) filled from the survey file, read anew; nullptr when the
  // file is missing or unreadable (reported). SetMetadata: saves it as the
  // file's name + ".xml" unless a read-only document is there; failures leave
  // the old document as it was and are not reported.
  bool CanEditMetadata() const { return true; }
  std::shared_ptr<IXmlPropertySet> Metadata(const std::string& localName);
  void SetMetadata(const std::string& localName, const IXmlPropertySet& propertySet);

  // A new dataset helper for the local name (the file is not read): survey
  // type 1001 for traverse and baseline files, else 1000.
  std::shared_ptr<SvyDatasetHelper> MakeDatasetHelper(const std::string& localName) const;

 private:
  SurveySource source_;
  std::string workspacePath_;
};

}  // namespace veldrane
