#pragma once
// The entry object of the survey data source: names the data source,
// recognises workspaces (folders holding survey files) and opens them.
// Creating one prepares the current module context's configuration: the
// coordinate-system table path and the coordinate system and value domains
// (the process loads each table once; later factories find them loaded).
#include <cstdint>
#include <memory>
#include <string>

#include "plugin/plugin_interfaces.h"
#include "plugin/survey_source.h"

namespace veldrane {

// The data source's factory type identifier. Hosts store it with every
// connection they remember: it never changes.
inline constexpr const char* kSurveyWorkspaceFactoryGuid = "{5C0F3E9A-7B1D-4F52-9A3E-2D6B8C41F7A0}";

class SvyWorkspaceFactoryHelper final : public IPlugInWorkspaceFactoryHelper {
 public:
  SvyWorkspaceFactoryHelper();
  // Workspaces opened by this factory read their files through `source`.
  explicit SvyWorkspaceFactoryHelper(SurveySource source);

  std::string DataSourceName() override;
  std::string DatasetDescription(std::int32_t datasetType) override;
  std::string WorkspaceDescription(bool plural) override;
  Uid WorkspaceFactoryTypeID() override;
  std::int32_t WorkspaceType() override;
  bool CanSupportSQL() override { return false; }
  bool IsWorkspace(const std::string& workspaceString) override;
  bool ContainsWorkspace(const std::string& parentDirectory, FileNames* fileNames) override;
  std::string GetWorkspaceString(const std::string& parentDirectory, FileNames* fileNames) override;
  std::shared_ptr<IPlugInWorkspaceHelper> OpenWorkspace(const std::string& workspaceString) override;

 private:
  SurveySource source_;
};

}  // namespace veldrane
