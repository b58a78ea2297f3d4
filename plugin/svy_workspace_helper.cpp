#include "plugin/svy_workspace_helper.h"

#include "config/file_system.h"
#include "model/constants.h"
#include "model/error_propagation.h"
#include "model/survey_error.h"
#include "plugin/svy_dataset_helper.h"
#include "readers/survey_factory.h"

namespace veldrane {

SvyWorkspaceHelper::SvyWorkspaceHelper() : SvyWorkspaceHelper(DefaultSurveySource()) {}

SvyWorkspaceHelper::SvyWorkspaceHelper(SurveySource source) : source_(std::move(source)) {}

std::filesystem::path SvyWorkspaceHelper::DatasetPath(const std::string& localName) const {
  return std::filesystem::path(workspacePath_) / localName;
}

std::shared_ptr<SvyDatasetHelper> SvyWorkspaceHelper::MakeDatasetHelper(const std::string& localName) const {
  auto helper = std::make_shared<SvyDatasetHelper>(source_);
  helper->SetDatasetName(std::filesystem::path(localName).filename().string());
  helper->SetWorkspacePath(workspacePath_);
  helper->SetSurveyType(IsValidTraverseFile(localName) ? kSurveyTypeTraverse : kSurveyTypeSurvey);
  return helper;
}

std::shared_ptr<IInterface> SvyWorkspaceHelper::NativeType(std::int32_t, const std::string&) { return nullptr; }

std::shared_ptr<HostArray<IPlugInDatasetInfo>> SvyWorkspaceHelper::DatasetNames(std::int32_t datasetType) {
  try {
    auto names = std::make_shared<HostArray<IPlugInDatasetInfo>>();
    for (const std::string& file : ListFiles(workspacePath_)) {
      if (!IsValidSurveyFile(DatasetPath(file).string())) continue;
      std::shared_ptr<SvyDatasetHelper> helper = MakeDatasetHelper(file);
      if (helper->DatasetType() == datasetType || datasetType == kDatasetTypeAny) names->Add(helper);
    }
    return names;
  } catch (const std::exception& failure) {
    ReportProcedureError(true, ProcedureWhere("IPlugInWorkspaceHelper_DatasetNames", "SvyWorkspaceHelper"), failure);
    return nullptr;
  }
}

std::shared_ptr<IPlugInDatasetHelper> SvyWorkspaceHelper::OpenDataset(const std::string& localName) {
  if (!FileExists(DatasetPath(localName))) {
    throw RaisedError(kErrUnexpected, "Ordane", "Dataset does not exist: " + localName);
  }
  return MakeDatasetHelper(localName);
}

}  // namespace veldrane
