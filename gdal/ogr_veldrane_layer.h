#pragma once
// One feature class of one survey file as an OGR layer. The layer drives the
// dataset helper exactly as a GIS host does: a fetch makes a cursor, and the
// cursor loop IsFinished / QueryValues / QueryShape / NextRecord yields the
// records. The FID is the record's OID (its position in the class's full
// iteration), so it is stable under any filter.
//
// A long pass over a point class is read ahead on a second thread (see
// FeatureReadAhead); the features are the same.
//
// Spatial filters go to FetchByEnvelope; the features the cursor yields are
// then tested against the filter geometry, so every returned feature meets
// the filter, as OGR promises. Attribute filters are evaluated on the built
// features.
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include <ogrsf_frmts.h>

#include "config/module_context.h"
#include "gdal/error_record_collector.h"
#include "gdal/ogr_boundary.h"
#include "gdal/survey_metadata_domain.h"
#include "gdal/feature_read_ahead.h"
#include "host/field_map.h"
#include "host/fields.h"
#include "host/geometry_def.h"
#include "plugin/plugin_interfaces.h"
#include "gdal/utf8_row_buffer.h"

namespace veldrane {
class SvyCursorBase;
}

namespace veldrane::ogr {

struct LayerSource {
  std::shared_ptr<IPlugInDatasetHelper> dataset;
  std::int32_t classIndex = 0;
  std::string className;       // the layer name, exactly as the dataset names the class
  std::string surveyFileName;  // the dataset's local name
  std::string classKind;       // "CrossSections", ...; empty when unknown
  std::shared_ptr<const Fields> fields;
  // Where problems found while reading are added for the "Errors" layer.
  std::shared_ptr<ErrorRecords> lateErrors;
  // How those problems are told to GDAL.
  ProblemWarnings lateWarnings = ProblemWarnings::EachRecord;
  // The metadata documents of the dataset's files ("xml:FGDC"); none when unset.
  std::shared_ptr<MetadataDocuments> documents;
  // The dataset's module context: every call works for it, on whatever
  // thread, and so does the read-ahead thread. Made by the layer when unset.
  std::shared_ptr<ModuleContext> context;
  // Held by whoever uses the dataset's survey files or its context (all its
  // layers share it): a layer may read ahead on a second thread. Made by
  // the layer when unset.
  std::shared_ptr<std::mutex> datasetLock;
};

class OGRVeldraneLayer final : public OGRLayer {
 public:
  // `source.fields` must hold the object-ID and the shape field.
  explicit OGRVeldraneLayer(LayerSource source);
  ~OGRVeldraneLayer() override;

  void ResetReading() override;
  OGRFeature* GetNextFeature() override;
  OGRFeature* GetFeature(GIntBig fid) override;
  GIntBig GetFeatureCount(int force) override;
  OGRErr GetExtent(OGREnvelope* extent, int force) override;
  OGRErr GetExtent(int geomField, OGREnvelope* extent, int force) override;
  OGRFeatureDefn* GetLayerDefn() override { return definition_; }
  // Adds the "xml:FGDC" domain: the survey file's metadata document.
  char** GetMetadata(const char* domain = "") override;
  char** GetMetadataDomainList() override;
  int TestCapability(const char* capability) override;
  OGRErr SetIgnoredFields(const char** fieldNames) override;
  // Survey files are read-only: every write fails with that reason.
  OGRErr ISetFeature(OGRFeature*) override { return RefuseWrite(GetName()); }
  OGRErr ICreateFeature(OGRFeature*) override { return RefuseWrite(GetName()); }
  OGRErr DeleteFeature(GIntBig) override { return RefuseWrite(GetName()); }
  OGRErr CreateField(OGRFieldDefn*, int) override { return RefuseWrite(GetName()); }

 private:
  // A cursor and what the layer knows about it.
  struct ActiveCursor {
    std::shared_ptr<IPlugInCursorHelper> cursor;
    SvyCursorBase* base = nullptr;  // when the cursor tells its ordinal directly
    bool done = false;              // the records ran out (or the cursor broke)
  };

  ActiveCursor Adopt(std::shared_ptr<IPlugInCursorHelper> cursor) const;
  // The field map for the fields not ignored at present.
  FieldMap CurrentFieldMap() const;
  std::optional<ActiveCursor> StartSequentialCursor();
  // Builds the feature of the cursor's current record.
  std::unique_ptr<OGRFeature> ReadCurrent(ActiveCursor& active, bool withShape);
  static void Advance(ActiveCursor& active);
  // Reading ahead on a second thread pays off for the long point classes
  // only: it starts after this many features of one pass.
  static constexpr std::int64_t kReadAheadAfter = 4096;
  bool MayReadAhead() const;
  void StartReadAhead(ActiveCursor& active, bool withShape);
  OGRFeature* NextReadAhead();
  std::unique_ptr<OGRFeature> FeatureFrom(const ReadAheadRecord& record);
  void StopReadAhead();
  bool PassesFilters(OGRFeature& feature);
  // Number of records of the class, walked once and kept.
  std::int64_t RecordCount();
  // Walks the class's shapes once for the extent (and the count); false
  // when the class could not be fetched.
  bool MeasureExtent();
  bool IsContainerPointClass() const;
  // Computing some members while reading (stationing, the benchmarks
  // collected from an .830 file) queues problems after the file was opened;
  // a finished pass moves them to the error log like those found at open.
  void PullLateErrors();

  // Initialised in this order: the definition takes the spatial reference.
  LayerSource source_;
  GeometryDef geometryDef_;
  OGRwkbGeometryType geometryType_;  // what the layer declares, and its features carry
  OGRSpatialReference* spatialReference_ = nullptr;  // owned reference; null when unknown
  OGRFeatureDefn* definition_ = nullptr;
  Utf8RowBuffer rowBuffer_;
  std::optional<ActiveCursor> sequential_;
  bool sequentialFailed_ = false;
  std::int64_t readInPass_ = 0;  // features handed out since the pass began
  // Set while the rest of the pass is read ahead: it then owns the
  // sequential cursor.
  std::unique_ptr<FeatureReadAhead> readAhead_;
  std::optional<ActiveCursor> random_;
  std::optional<std::int64_t> recordCount_;
  // The envelope of the class's shapes once walked; none when no record
  // has a shape.
  bool extentKnown_ = false;
  std::optional<OGREnvelope> extent_;
  bool fgdcSet_ = false;
};

// The envelope handed to FetchByEnvelope for an OGR filter rectangle: grown
// by a hair, because the data source's tests count shapes on the rectangle's
// boundary as outside while OGR counts them as meeting the filter. The exact
// test against the filter follows on every feature.
void WidenFilterEnvelope(double& xMin, double& yMin, double& xMax, double& yMax);

}  // namespace veldrane::ogr
