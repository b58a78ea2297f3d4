#pragma once
// A workspace folder (every survey file in it) or one survey file, opened
// read-only. Opening reads every survey file once, through the data source's
// own helpers, and makes one layer per feature class of every file (plus the
// "Errors" layer on request).
//
// The dataset owns its module context (problem log, current file, settings,
// tables): everything done for it, on any thread, works in that context, so
// its problems reach its own log and "Errors" layer. One lock serialises
// every use of its survey files and context, its read-ahead threads
// included.
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include "config/module_context.h"
#include "gdal/error_record_collector.h"
#include "gdal/ogr_boundary.h"
#include "gdal/survey_metadata_domain.h"
#include "gdal/survey_path.h"
#include "plugin/plugin_interfaces.h"

namespace veldrane::ogr {

class OGRVeldraneDataSource final : public GDALDataset {
 public:
  // The survey files `names` of the target's workspace (those that passed
  // the content test; the file itself for a single file). Null, with a GDAL
  // error when the cause is worth telling, when the target cannot be
  // opened. A folder's problems are told as one warning per file.
  static std::unique_ptr<OGRVeldraneDataSource> Open(const SurveyTarget& target,
                                                     const std::vector<std::string>& names, const std::string& path,
                                                     bool withErrorLayer);

  int GetLayerCount() override { return static_cast<int>(layers_.size()); }
  OGRLayer* GetLayer(int index) override;
  // By the exact name, else ignoring ASCII case (as GDAL's own search does),
  // in constant time: a folder of thousands of files has tens of thousands
  // of layers, and clients look layers up by name again and again.
  OGRLayer* GetLayerByName(const char* name) override;
  int TestCapability(const char* capability) override;
  // The survey files of the dataset and the metadata files beside them.
  char** GetFileList() override;

  // Survey files are read-only: no layer is created or deleted.
  OGRErr DeleteLayer(int) override { return RefuseWrite(GetDescription()); }

  // A dataset of one survey file offers its metadata document as the
  // "xml:FGDC" domain (a folder's layers each offer their file's).
  char** GetMetadata(const char* domain = "") override;
  char** GetMetadataDomainList() override;

 protected:
  OGRLayer* ICreateLayer(const char*, OGRSpatialReference*, OGRwkbGeometryType, char**) override {
    RefuseWrite(GetDescription());
    return nullptr;
  }

 private:
  OGRVeldraneDataSource() = default;
  void AddDatasetLayers(const std::shared_ptr<IPlugInDatasetHelper>& dataset, const std::string& localName);
  void IndexLayerNames();

  std::shared_ptr<ModuleContext> context_;
  ProblemWarnings warnings_ = ProblemWarnings::EachRecord;
  std::shared_ptr<std::mutex> lock_ = std::make_shared<std::mutex>();
  std::vector<std::unique_ptr<OGRLayer>> layers_;
  std::unordered_map<std::string, OGRLayer*> layersByName_;
  std::unordered_map<std::string, OGRLayer*> layersByFoldedName_;  // lower-case ASCII
  // The records of the "Errors" layer, shared with the survey layers.
  std::shared_ptr<ErrorRecords> errorRecords_ = std::make_shared<ErrorRecords>();
  std::vector<std::string> files_;
  std::shared_ptr<MetadataDocuments> documents_;
  std::string singleFile_;  // the local name when one survey file was opened
  bool fgdcSet_ = false;
};

}  // namespace veldrane::ogr
