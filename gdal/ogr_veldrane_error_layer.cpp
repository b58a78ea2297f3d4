#include "gdal/ogr_veldrane_error_layer.h"

#include "config/error_log.h"
#include "gdal/ogr_boundary.h"
#include "gdal/ogr_veldrane.h"

namespace veldrane::ogr {
namespace {

enum ErrorField { kFilename = 0, kLineNumber, kSeverity, kDescription };

OGRFeatureDefn* ErrorLayerDefinition() {
  auto* definition = new OGRFeatureDefn(kErrorLayerName);
  definition->Reference();
  definition->SetGeomType(wkbNone);
  OGRFieldDefn filename("Filename", OFTString);
  definition->AddFieldDefn(&filename);
  OGRFieldDefn line("LineNumber", OFTInteger);
  definition->AddFieldDefn(&line);
  OGRFieldDefn severity("Severity", OFTString);
  severity.SetWidth(7);
  definition->AddFieldDefn(&severity);
  OGRFieldDefn description("Description", OFTString);
  definition->AddFieldDefn(&description);
  return definition;
}

}  // namespace

OGRVeldraneErrorLayer::OGRVeldraneErrorLayer(std::shared_ptr<ErrorRecords> records)
    : records_(records ? std::move(records) : std::make_shared<ErrorRecords>()), definition_(ErrorLayerDefinition()) {
  SetDescription(kErrorLayerName);
}

OGRVeldraneErrorLayer::~OGRVeldraneErrorLayer() { definition_->Release(); }

OGRFeature* OGRVeldraneErrorLayer::MakeFeature(std::size_t index) const {
  const ErrorRecord& record = (*records_)[index];
  auto* feature = new OGRFeature(definition_);
  feature->SetFID(static_cast<GIntBig>(index));
  feature->SetField(kFilename, record.filename.c_str());
  if (record.lineNumber >= 1) feature->SetField(kLineNumber, record.lineNumber);
  else feature->SetFieldNull(kLineNumber);
  feature->SetField(kSeverity, SeverityWord(record.severity));
  feature->SetField(kDescription, record.description.c_str());
  return feature;
}

OGRFeature* OGRVeldraneErrorLayer::GetNextFeature() {
  return Guarded<OGRFeature*>("GetNextFeature", nullptr, [&]() -> OGRFeature* {
    while (next_ < records_->size()) {
      std::unique_ptr<OGRFeature> feature(MakeFeature(next_++));
      if (m_poAttrQuery == nullptr || m_poAttrQuery->Evaluate(feature.get())) {
        m_nFeaturesRead++;
        return feature.release();
      }
    }
    return nullptr;
  });
}

OGRFeature* OGRVeldraneErrorLayer::GetFeature(GIntBig fid) {
  if (fid < 0 || static_cast<std::size_t>(fid) >= records_->size()) return nullptr;
  return Guarded<OGRFeature*>("GetFeature", nullptr, [&] { return MakeFeature(static_cast<std::size_t>(fid)); });
}

GIntBig OGRVeldraneErrorLayer::GetFeatureCount(int force) {
  if (m_poAttrQuery != nullptr) return OGRLayer::GetFeatureCount(force);
  return static_cast<GIntBig>(records_->size());
}

int OGRVeldraneErrorLayer::TestCapability(const char* capability) {
  if (capability == nullptr) return FALSE;
  if (EQUAL(capability, OLCRandomRead) || EQUAL(capability, OLCStringsAsUTF8)) return TRUE;
  if (EQUAL(capability, OLCFastFeatureCount)) return m_poAttrQuery == nullptr;
  return FALSE;
}

}  // namespace veldrane::ogr
