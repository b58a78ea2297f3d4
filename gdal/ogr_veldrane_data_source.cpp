#include "gdal/ogr_veldrane_data_source.h"

#include <algorithm>
#include <filesystem>
#include <mutex>

#include <cpl_string.h>

#include "config/file_system.h"
#include "gdal/error_record_collector.h"
#include "gdal/ogr_boundary.h"
#include "gdal/ogr_veldrane.h"
#include "gdal/ogr_veldrane_error_layer.h"
#include "gdal/ogr_veldrane_layer.h"
#include "host/host_types.h"
#include "model/survey_error.h"
#include "model/text.h"
#include "plugin/class_schemas.h"
#include "plugin/svy_dataset_helper.h"
#include "plugin/svy_workspace_factory_helper.h"
#include "plugin/svy_workspace_helper.h"

namespace veldrane::ogr {
namespace {

namespace fs = std::filesystem;

// "CrossSections" for "a.em CrossSections" of dataset "a.em".
std::string ClassKindOf(IPlugInDatasetHelper& dataset, std::int32_t classIndex, const std::string& className,
                        const std::string& localName) {
  if (auto* helper = dynamic_cast<SvyDatasetHelper*>(&dataset)) {
    if (const auto kind = helper->KindOfClass(classIndex)) return std::string(ClassKindName(*kind));
  }
  const std::string prefix = localName + " ";
  if (className.size() > prefix.size() && className.compare(0, prefix.size(), prefix) == 0)
    return className.substr(prefix.size());
  return std::string();
}

}  // namespace

std::unique_ptr<OGRVeldraneDataSource> OGRVeldraneDataSource::Open(const SurveyTarget& target,
                                                                   const std::vector<std::string>& names,
                                                                   const std::string& path, bool withErrorLayer) {
  if (target.kind == SurveyTarget::Kind::None) return nullptr;
  std::unique_ptr<OGRVeldraneDataSource> source(new OGRVeldraneDataSource());
  source->SetDescription(path.c_str());
  source->warnings_ = target.kind == SurveyTarget::Kind::Workspace ? ProblemWarnings::SummaryPerFile
                                                                    : ProblemWarnings::EachRecord;
  // The opener's configuration, with a log and current file of its own.
  source->context_ = CurrentModuleContext().Derive();
  ModuleContextScope working(*source->context_);
  // Every file is read below (the class list needs the survey), so this is
  // where the problems found in the files become warnings and records.
  ErrorRecordCollector collector(source->warnings_);

  SvyWorkspaceFactoryHelper factory;
  std::shared_ptr<IPlugInWorkspaceHelper> workspace;
  try {
    workspace = factory.OpenWorkspace(target.workspace);
  } catch (const RaisedError& failure) {
    CPLError(CE_Failure, CPLE_OpenFailed, "Veldrane: %s", ToValidUtf8(failure.Description()).c_str());
    return nullptr;
  }
  if (!workspace) return nullptr;
  source->documents_ =
      std::make_shared<MetadataDocuments>(std::dynamic_pointer_cast<SvyWorkspaceHelper>(workspace));
  if (target.kind == SurveyTarget::Kind::SurveyFile) source->singleFile_ = target.datasetName;

  for (const std::string& name : names) {
    try {
      const std::shared_ptr<IPlugInDatasetHelper> dataset = workspace->OpenDataset(name);
      if (!dataset) continue;
      source->files_.push_back((fs::path(target.workspace) / name).string());
      source->AddDatasetLayers(dataset, name);
      // Making the class list computes collections (an .830 file's
      // benchmarks and gages), which may queue problems of their own.
      PullQueuedProblems(*dataset);
    } catch (const std::exception& failure) {
      // One file that cannot be served does not cost the others their layers.
      CPLError(CE_Warning, CPLE_AppDefined, "Veldrane: %s: %s", ToValidUtf8(name).c_str(),
               ToValidUtf8(failure.what()).c_str());
    }
  }
  if (withErrorLayer) {
    *source->errorRecords_ = collector.TakeRecords();
    source->layers_.push_back(std::make_unique<OGRVeldraneErrorLayer>(source->errorRecords_));
  }
  source->IndexLayerNames();
  return source;
}

void OGRVeldraneDataSource::AddDatasetLayers(const std::shared_ptr<IPlugInDatasetHelper>& dataset,
                                             const std::string& localName) {
  const std::int32_t count = dataset->ClassCount();
  for (std::int32_t i = 0; i < count; ++i) {
    LayerSource layer;
    layer.dataset = dataset;
    layer.datasetLock = lock_;
    layer.context = context_;
    layer.classIndex = i;
    const std::string className = dataset->ClassName(i);
    // Names that reach GIS formats (layer and table names, the file name in
    // the metadata) are UTF-8, like every text the driver hands out.
    layer.className = ToValidUtf8(className);
    layer.surveyFileName = ToValidUtf8(localName);
    const std::shared_ptr<Fields> fields = dataset->GetFields(i);
    if (className.empty() || !fields || fields->GeometryFieldIndex() < 0) {
      CPLError(CE_Warning, CPLE_AppDefined, "Veldrane: %s: class %d has no definition and is left out",
               ToValidUtf8(localName).c_str(), static_cast<int>(i));
      continue;
    }
    layer.fields = fields;
    layer.lateErrors = errorRecords_;
    layer.lateWarnings = warnings_;
    layer.documents = documents_;
    layer.classKind = ClassKindOf(*dataset, i, layer.className, localName);
    layers_.push_back(std::make_unique<OGRVeldraneLayer>(std::move(layer)));
  }
}

void OGRVeldraneDataSource::IndexLayerNames() {
  for (const auto& layer : layers_) {
    // The first layer of a name wins, as in GDAL's own search.
    layersByName_.emplace(layer->GetName(), layer.get());
    layersByFoldedName_.emplace(ToLowerAscii(layer->GetName()), layer.get());
  }
}

OGRLayer* OGRVeldraneDataSource::GetLayerByName(const char* name) {
  if (name == nullptr) return nullptr;
  if (const auto exact = layersByName_.find(name); exact != layersByName_.end()) return exact->second;
  const auto folded = layersByFoldedName_.find(ToLowerAscii(name));
  return folded != layersByFoldedName_.end() ? folded->second : nullptr;
}

OGRLayer* OGRVeldraneDataSource::GetLayer(int index) {
  if (index < 0 || index >= GetLayerCount()) return nullptr;
  return layers_[static_cast<std::size_t>(index)].get();
}

int OGRVeldraneDataSource::TestCapability(const char* capability) {
  // Read-only: no layer creation, deletion, transactions or writes. Z and
  // M are declared when a layer of the dataset carries them.
  if (capability == nullptr) return FALSE;
  if (EQUAL(capability, ODsCZGeometries) || EQUAL(capability, ODsCMeasuredGeometries)) {
    return std::any_of(layers_.begin(), layers_.end(),
                       [capability](const auto& layer) { return layer->TestCapability(capability); });
  }
  return FALSE;
}

char** OGRVeldraneDataSource::GetMetadata(const char* domain) {
  if (IsFgdcDomain(domain) && !fgdcSet_ && !singleFile_.empty()) {
    fgdcSet_ = true;
    GuardedIn<bool>(*context_, "GetMetadata", false, [&] {
      std::lock_guard<std::mutex> survey(*lock_);
      SetFgdcDomain(*this, documents_->XmlOf(singleFile_));
      return true;
    });
  }
  return GDALDataset::GetMetadata(domain);
}

char** OGRVeldraneDataSource::GetMetadataDomainList() {
  char** domains = GDALDataset::GetMetadataDomainList();
  return singleFile_.empty() ? domains : WithFgdcDomain(domains);
}

char** OGRVeldraneDataSource::GetFileList() {
  BoundaryScope scope;
  CPLStringList list;
  for (const std::string& file : files_) {
    list.AddString(file.c_str());
    const std::string metadata = file + ".xml";
    if (FileExists(metadata)) list.AddString(metadata.c_str());
  }
  return list.StealList();
}

}  // namespace veldrane::ogr
