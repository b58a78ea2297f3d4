#include "gdal/ogr_veldrane_layer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>
#include <tuple>
#include <vector>

#include <cpl_conv.h>
#include <cpl_error.h>

#include "gdal/ogr_boundary.h"
#include "gdal/ogr_veldrane.h"
#include "host/envelope.h"
#include "host/geometry.h"
#include "host/spatial_reference.h"
#include "model/survey_error.h"
#include "config/error_log.h"
#include "plugin/class_schemas.h"
#include "plugin/cursor_base.h"
#include "plugin/svy_dataset_helper.h"

namespace veldrane::ogr {
namespace {

// The geometry definition of the class's shape field.
GeometryDef ShapeDefinition(const Fields& fields) {
  const std::int32_t shape = fields.GeometryFieldIndex();
  if (shape < 0) return GeometryDef();
  const GeometryDef* def = fields.GetField(shape).GeometryDefinition();
  return def != nullptr ? *def : GeometryDef();
}

// A private copy of the class's spatial reference with the axis order
// survey coordinates are written in; null for the unknown coordinate system.
OGRSpatialReference* LayerSpatialReference(const GeometryDef& def) {
  const OGRSpatialReference* shared = def.SpatialReference().get();
  if (IsUnknownSpatialReference(shared)) return nullptr;
  OGRSpatialReference* copy = shared->Clone();
  copy->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  return copy;
}

OGRFeatureDefn* LayerDefinition(const LayerSource& source, OGRSpatialReference* reference) {
  OGRFeatureDefn* definition = source.fields->NewOgrFeatureDefn(source.className);
  definition->Reference();
  if (definition->GetGeomFieldCount() > 0) {
    OGRGeomFieldDefn* shape = definition->GetGeomFieldDefn(0);
    shape->SetSpatialRef(reference);
    // Traverse points are measure-aware in the class definition, but their
    // shapes are plain 2D points; the layer says what its features hold.
    if (source.classKind == ClassKindName(ClassKind::TraversePoints)) shape->SetType(wkbPoint);
  }
  return definition;
}

// An ordinate that is not finite in every vertex is one the survey does not
// have (a benchmark without elevation, a point without station): the shape
// drops that dimension instead of carrying NaN, which most formats refuse.
// `flat` is the shape's flattened type (the caller has it already).
void DropMissingOrdinates(OGRGeometry& shape, OGRwkbGeometryType flat) {
  if (flat == wkbPoint) {
    auto* point = static_cast<OGRPoint*>(&shape);
    // The stored values are reset too: writers of Z or M layers read them
    // from 2D points as well.
    if (point->Is3D() && !std::isfinite(point->getZ())) {
      point->setZ(0.0);
      point->set3D(FALSE);
    }
    if (point->IsMeasured() && !std::isfinite(point->getM())) {
      point->setM(0.0);
      point->setMeasured(FALSE);
    }
    return;
  }
  if (flat == wkbLineString) {
    auto* line = static_cast<OGRSimpleCurve*>(&shape);
    bool anyZ = false, anyM = false;
    for (int i = 0; i < line->getNumPoints(); ++i) {
      anyZ = anyZ || std::isfinite(line->getZ(i));
      anyM = anyM || std::isfinite(line->getM(i));
    }
    if (line->Is3D() && !anyZ) line->set3D(FALSE);
    if (line->IsMeasured() && !anyM) line->setMeasured(FALSE);
  }
}

}  // namespace

void WidenFilterEnvelope(double& xMin, double& yMin, double& xMax, double& yMax) {
  const double scale = std::max({1.0, std::fabs(xMin), std::fabs(yMin), std::fabs(xMax), std::fabs(yMax)});
  const double margin = scale * 1e-9;
  xMin -= margin;
  yMin -= margin;
  xMax += margin;
  yMax += margin;
}

OGRVeldraneLayer::OGRVeldraneLayer(LayerSource source)
    : source_(std::move(source)),
      geometryDef_(ShapeDefinition(*source_.fields)),
      spatialReference_(LayerSpatialReference(geometryDef_)),
      definition_(LayerDefinition(source_, spatialReference_)),
      rowBuffer_(source_.fields, *definition_) {
  if (!source_.datasetLock) source_.datasetLock = std::make_shared<std::mutex>();
  if (!source_.context) source_.context = CurrentModuleContext().Derive();
  SetDescription(definition_->GetName());
  SetMetadataItem(kSurveyFileItem, source_.surveyFileName.c_str());
  if (!source_.classKind.empty()) SetMetadataItem(kClassKindItem, source_.classKind.c_str());
}

OGRVeldraneLayer::~OGRVeldraneLayer() {
  ModuleContextScope scope(*source_.context);
  // Cursors hold survey objects; let them go before the definition.
  StopReadAhead();
  sequential_.reset();
  random_.reset();
  definition_->Release();
  if (spatialReference_ != nullptr) spatialReference_->Release();
}

OGRVeldraneLayer::ActiveCursor OGRVeldraneLayer::Adopt(std::shared_ptr<IPlugInCursorHelper> cursor) const {
  ActiveCursor active;
  active.base = dynamic_cast<SvyCursorBase*>(cursor.get());
  active.cursor = std::move(cursor);
  active.done = active.cursor == nullptr;
  return active;
}

FieldMap OGRVeldraneLayer::CurrentFieldMap() const {
  const Fields& fields = *source_.fields;
  std::vector<std::int32_t> entries(static_cast<std::size_t>(fields.FieldCount()), -1);
  for (std::int32_t i = 0; i < fields.FieldCount(); ++i) {
    const Field& field = fields.GetField(i);
    if (field.Type() == HostFieldType::ObjectId || field.Type() == HostFieldType::Geometry) continue;
    const int ogrIndex = definition_->GetFieldIndex(field.Name().c_str());
    if (ogrIndex < 0 || definition_->GetFieldDefn(ogrIndex)->IsIgnored()) continue;
    entries[static_cast<std::size_t>(i)] = i;
  }
  return FieldMap(std::move(entries));
}

void OGRVeldraneLayer::ResetReading() {
  StopReadAhead();
  sequential_.reset();
  sequentialFailed_ = false;
}

void OGRVeldraneLayer::StopReadAhead() {
  readAhead_.reset();
  readInPass_ = 0;
}

bool OGRVeldraneLayer::MayReadAhead() const {
  // VELDRANE_READ_AHEAD=NO keeps every read on the caller's thread.
  return geometryDef_.GeometryType() == HostGeometryType::Point &&
         CPLTestBool(CPLGetConfigOption("VELDRANE_READ_AHEAD", "YES"));
}

void OGRVeldraneLayer::StartReadAhead(ActiveCursor& active, bool withShape) {
  FeatureReadAhead::Start start;
  start.cursor = active.cursor;
  start.ordinalSource = active.base;
  start.fields = source_.fields;
  start.datasetLock = source_.datasetLock;
  start.context = source_.context;
  start.withShape = withShape;
  try {
    readAhead_ = std::make_unique<FeatureReadAhead>(std::move(start));
  } catch (const std::system_error&) {
    // No second thread to be had: the pass goes on here.
  }
}

std::unique_ptr<OGRFeature> OGRVeldraneLayer::FeatureFrom(const ReadAheadRecord& record) {
  auto feature = std::make_unique<OGRFeature>(definition_);
  rowBuffer_.Attach(feature.get());
  // The texts are UTF-8 already: the buffer's own setters take them as they are.
  readAhead_->WriteValues(record, static_cast<OgrFeatureRowBuffer&>(rowBuffer_));
  rowBuffer_.Attach(nullptr);
  feature->SetFID(record.oid);
  if (!record.shapeEmpty) {
    auto point = std::make_unique<OGRPoint>(record.x, record.y);
    if (record.hasZ) point->setZ(record.z);
    if (record.hasM) point->setM(record.m);
    DropMissingOrdinates(*point, wkbPoint);
    point->assignSpatialReference(spatialReference_);
    feature->SetGeomFieldDirectly(0, point.release());
  }
  return feature;
}

OGRFeature* OGRVeldraneLayer::NextReadAhead() {
  const bool geometryIgnored = definition_->IsGeometryIgnored() != FALSE;
  while (const ReadAheadRecord* record = readAhead_->Next()) {
    std::unique_ptr<OGRFeature> feature = FeatureFrom(*record);
    if (PassesFilters(*feature)) {
      if (geometryIgnored) feature->SetGeomFieldDirectly(0, nullptr);
      m_nFeaturesRead++;
      ++readInPass_;
      return feature.release();
    }
  }
  readAhead_.reset();
  if (sequential_) sequential_->done = true;
  std::lock_guard<std::mutex> survey(*source_.datasetLock);
  PullLateErrors();
  return nullptr;
}

std::optional<OGRVeldraneLayer::ActiveCursor> OGRVeldraneLayer::StartSequentialCursor() {
  std::shared_ptr<IPlugInCursorHelper> cursor;
  if (m_poFilterGeom != nullptr) {
    double xMin = m_sFilterEnvelope.MinX, yMin = m_sFilterEnvelope.MinY;
    double xMax = m_sFilterEnvelope.MaxX, yMax = m_sFilterEnvelope.MaxY;
    WidenFilterEnvelope(xMin, yMin, xMax, yMax);
    const Envelope envelope(xMin, yMin, xMax, yMax);
    cursor = source_.dataset->FetchByEnvelope(source_.classIndex, envelope, false, std::string(), CurrentFieldMap());
  } else {
    cursor = source_.dataset->FetchAll(source_.classIndex, std::string(), CurrentFieldMap());
  }
  if (!cursor) return std::nullopt;
  return Adopt(std::move(cursor));
}

std::unique_ptr<OGRFeature> OGRVeldraneLayer::ReadCurrent(ActiveCursor& active, bool withShape) {
  auto feature = std::make_unique<OGRFeature>(definition_);
  rowBuffer_.Attach(feature.get());
  const std::int32_t oid = active.cursor->QueryValues(rowBuffer_);
  rowBuffer_.Attach(nullptr);
  feature->SetFID(active.base != nullptr ? active.base->RecordOrdinal() : oid);
  if (withShape && definition_->GetGeomFieldCount() > 0) {
    // The cursor empties the shape and sets its flags; the layer gives it
    // its spatial reference.
    std::unique_ptr<OGRGeometry> shape = NewBareShape(geometryDef_.GeometryType());
    if (geometryDef_.GeometryType() == HostGeometryType::Polygon) {
      RingClosingMessages ringMessages;
      active.cursor->QueryShape(*shape);
    } else {
      active.cursor->QueryShape(*shape);
    }
    if (!IsEmptyGeometry(*shape)) {
      // Called once per feature: the type code is cheaper than a dynamic cast.
      const OGRwkbGeometryType flat = wkbFlatten(shape->getGeometryType());
      DropMissingOrdinates(*shape, flat);
      // Closing the rings is the host's last step of building a polygon.
      if (flat == wkbPolygon) ClosePolygonRings(static_cast<OGRPolygon&>(*shape));
      if (shape->getSpatialReference() != spatialReference_) shape->assignSpatialReference(spatialReference_);
      feature->SetGeomFieldDirectly(0, shape.release());
    }
  }
  return feature;
}

void OGRVeldraneLayer::Advance(ActiveCursor& active) {
  if (!StepCursor(*active.cursor)) active.done = true;
}

bool OGRVeldraneLayer::PassesFilters(OGRFeature& feature) {
  if (m_poFilterGeom != nullptr && !FilterGeometry(feature.GetGeomFieldRef(m_iGeomFieldFilter))) return false;
  return m_poAttrQuery == nullptr || m_poAttrQuery->Evaluate(&feature);
}

OGRFeature* OGRVeldraneLayer::GetNextFeature() {
  return GuardedIn<OGRFeature*>(*source_.context, "GetNextFeature", nullptr, [&]() -> OGRFeature* {
    if (readAhead_) return NextReadAhead();
    std::unique_lock<std::mutex> survey(*source_.datasetLock);
    if (sequentialFailed_) return nullptr;
    if (!sequential_) {
      sequential_ = StartSequentialCursor();
      if (!sequential_) {
        sequentialFailed_ = true;
        return nullptr;
      }
    }
    ActiveCursor& active = *sequential_;
    const bool geometryIgnored = definition_->IsGeometryIgnored() != FALSE;
    const bool withShape = m_poFilterGeom != nullptr || !geometryIgnored;
    while (!active.done && !active.cursor->IsFinished()) {
      std::unique_ptr<OGRFeature> feature = ReadCurrent(active, withShape);
      Advance(active);
      if (PassesFilters(*feature)) {
        if (geometryIgnored) feature->SetGeomFieldDirectly(0, nullptr);
        m_nFeaturesRead++;
        if (++readInPass_ == kReadAheadAfter && !active.done && MayReadAhead()) StartReadAhead(active, withShape);
        return feature.release();
      }
    }
    active.done = true;
    PullLateErrors();
    return nullptr;
  });
}

void OGRVeldraneLayer::PullLateErrors() {
  auto* helper = dynamic_cast<SvyDatasetHelper*>(source_.dataset.get());
  if (helper == nullptr) return;
  std::shared_ptr<ISurveyErrorQueue> queue;
  if (const auto survey = helper->Survey()) queue = survey->Errors();
  else if (const auto traverse = helper->Traverse()) queue = traverse->Errors();
  if (!queue || queue->IsEmpty()) return;
  ErrorRecordCollector collector;  // turns what is new to the log into warnings
  ErrorLog().PullErrors(*queue);
  if (source_.lateErrors) {
    ErrorRecords found = collector.TakeRecords();
    source_.lateErrors->insert(source_.lateErrors->end(), found.begin(), found.end());
  }
}

OGRFeature* OGRVeldraneLayer::GetFeature(GIntBig fid) {
  return GuardedIn<OGRFeature*>(*source_.context, "GetFeature", nullptr, [&]() -> OGRFeature* {
    std::lock_guard<std::mutex> survey(*source_.datasetLock);
    if (fid < 0 || fid >= RecordCount()) return nullptr;
    if (random_ && random_->base != nullptr && !random_->done) {
      random_->base->SetOID(fid);
    } else {
      random_ = Adopt(source_.dataset->FetchByID(source_.classIndex, fid, CurrentFieldMap()));
    }
    ActiveCursor& active = *random_;
    if (active.done || active.cursor->IsFinished()) {
      random_.reset();
      return nullptr;
    }
    std::unique_ptr<OGRFeature> feature = ReadCurrent(active, !definition_->IsGeometryIgnored());
    if (feature->GetFID() != fid) {
      // The cursor could not stand on the record asked for; a fresh fetch
      // is tried next time.
      random_.reset();
      return nullptr;
    }
    return feature.release();
  });
}

std::int64_t OGRVeldraneLayer::RecordCount() {
  if (recordCount_) return *recordCount_;
  // The walk asks for no values and builds no shapes: it only moves the
  // cursor, which is what a host that counts rows itself does.
  ActiveCursor active = Adopt(source_.dataset->FetchAll(
      source_.classIndex, std::string(), FieldMap::NoValues(static_cast<std::size_t>(source_.fields->FieldCount()))));
  std::int64_t count = 0;
  if (active.cursor) {
    while (!active.done && !active.cursor->IsFinished()) {
      ++count;
      Advance(active);
    }
  } else {
    // A failed fetch (reported) is not remembered: the next count tries again.
    return 0;
  }
  recordCount_ = count;
  PullLateErrors();
  return count;
}

GIntBig OGRVeldraneLayer::GetFeatureCount(int force) {
  if (m_poFilterGeom != nullptr || m_poAttrQuery != nullptr) return OGRLayer::GetFeatureCount(force);
  return GuardedIn<GIntBig>(*source_.context, "GetFeatureCount", -1, [&]() -> GIntBig {
    std::lock_guard<std::mutex> survey(*source_.datasetLock);
    return RecordCount();
  });
}

OGRErr OGRVeldraneLayer::GetExtent(OGREnvelope* extent, int force) { return GetExtent(0, extent, force); }

OGRErr OGRVeldraneLayer::GetExtent(int geomField, OGREnvelope* extent, int /*force*/) {
  if (extent == nullptr || geomField != 0 || definition_->GetGeomFieldCount() == 0) return OGRERR_FAILURE;
  return GuardedIn<OGRErr>(*source_.context, "GetExtent", OGRERR_FAILURE, [&]() -> OGRErr {
    std::shared_ptr<Envelope> bounds;
    {
      std::lock_guard<std::mutex> survey(*source_.datasetLock);
      // The bounds are taken from the built shapes, areas included.
      RingClosingMessages ringMessages;
      bounds = source_.dataset->Bounds();
    }
    if (!bounds || bounds->IsEmpty()) return OGRERR_FAILURE;
    *extent = bounds->Ogr();
    return OGRERR_NONE;
  });
}

int OGRVeldraneLayer::TestCapability(const char* capability) {
  if (capability == nullptr) return FALSE;
  if (EQUAL(capability, OLCRandomRead) || EQUAL(capability, OLCFastGetExtent) ||
      EQUAL(capability, OLCStringsAsUTF8) || EQUAL(capability, OLCZGeometries) ||
      EQUAL(capability, OLCMeasuredGeometries) || EQUAL(capability, OLCIgnoreFields))
    return TRUE;
  if (EQUAL(capability, OLCFastFeatureCount)) return m_poFilterGeom == nullptr && m_poAttrQuery == nullptr;
  return FALSE;
}

OGRErr OGRVeldraneLayer::SetIgnoredFields(const char** fieldNames) {
  StopReadAhead();
  const OGRErr result = OGRLayer::SetIgnoredFields(fieldNames);
  // Cursors fill the fields their field map names: new maps from now on.
  sequential_.reset();
  sequentialFailed_ = false;
  random_.reset();
  return result;
}

}  // namespace veldrane::ogr
