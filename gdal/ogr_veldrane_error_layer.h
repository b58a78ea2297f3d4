#pragma once
// The non-spatial layer "Errors": one feature per problem found in the
// survey files, in the order they were found: those found when the dataset
// was opened, then those found while its layers were read (the list is
// shared with the layers, which append to it). Fields: Filename (string), LineNumber (integer; null when the
// problem has no line), Severity ("warning", "error" or "fatal"),
// Description (string). FIDs are 0, 1, 2, ...
#include <memory>

#include <ogrsf_frmts.h>

#include "gdal/error_record_collector.h"

namespace veldrane::ogr {

class OGRVeldraneErrorLayer final : public OGRLayer {
 public:
  explicit OGRVeldraneErrorLayer(std::shared_ptr<ErrorRecords> records);
  ~OGRVeldraneErrorLayer() override;

  void ResetReading() override { next_ = 0; }
  OGRFeature* GetNextFeature() override;
  OGRFeature* GetFeature(GIntBig fid) override;
  GIntBig GetFeatureCount(int force) override;
  OGRFeatureDefn* GetLayerDefn() override { return definition_; }
  int TestCapability(const char* capability) override;

 private:
  OGRFeature* MakeFeature(std::size_t index) const;

  std::shared_ptr<ErrorRecords> records_;
  OGRFeatureDefn* definition_;
  std::size_t next_ = 0;
};

}  // namespace veldrane::ogr
