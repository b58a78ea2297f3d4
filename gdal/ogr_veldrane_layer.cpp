#include "gdal/ogr_veldrane_layer.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <system_error>
#include <vector>

#include <cpl_conv.h>
#include <cpl_error.h>

#include "gdal/ogr_boundary.h"
#include "gdal/ogr_veldrane.h"
#include "host/envelope.h"
#include "host/geometry.h"
#include "host/spatial_reference.h"
#include "model/survey_error.h"
#include "plugin/class_schemas.h"
#include "plugin/cursor_base.h"

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

// The geometry type of each class's features, which is what its layer
// declares, so that no client has to invent an ordinate the survey lacks:
// lines of cross sections and profiles carry elevation and station (M is
// NaN on a profile that could not be stationed), cross-section points their
// elevation and station (NaN without one); profile, area and shot points
// and areas their elevation only (they have no station); benchmarks and
// gages easting and northing only (their elevations are attributes);
// traverses their stations, traverse points nothing but x and y.
OGRwkbGeometryType LayerGeometryType(const LayerSource& source, const GeometryDef& def) {
  const std::optional<ClassKind> kind = ClassKindFromName(source.classKind);
  if (!kind) return def.OgrGeometryType();
  switch (*kind) {
    case ClassKind::CrossSections:
    case ClassKind::Profiles: return wkbLineStringZM;
    case ClassKind::CrossSectionPoints: return wkbPointZM;
    case ClassKind::ProfilePoints:
    case ClassKind::AreaPoints:
    case ClassKind::MiscellaneousShotPoints: return wkbPoint25D;
    case ClassKind::Areas: return wkbPolygon25D;
    case ClassKind::Benchmarks:
    case ClassKind::Gages:
    case ClassKind::TraversePoints: return wkbPoint;
    case ClassKind::Traverses: return wkbLineStringM;
  }
  return def.OgrGeometryType();
}

// The class's fields as OGR fields without width or precision: the data
// source's sizes are nominal (survey files hold longer texts and finer
// numbers), and clients that trust a declared width (QGIS, Shapefile,
// database schemas) would drop or cut the values that exceed it.
OGRFeatureDefn* LayerDefinition(const LayerSource& source, OGRwkbGeometryType type,
                                OGRSpatialReference* reference) {
  OGRFeatureDefn* definition = source.fields->NewOgrFeatureDefn(source.className);
  definition->Reference();
  for (int i = 0; i < definition->GetFieldCount(); ++i) {
    OGRFieldDefn* field = definition->GetFieldDefn(i);
    field->SetWidth(0);
    field->SetPrecision(0);
  }
  if (definition->GetGeomFieldCount() > 0) {
    OGRGeomFieldDefn* shape = definition->GetGeomFieldDefn(0);
    shape->SetSpatialRef(reference);
    shape->SetType(type);
  }
  return definition;
}

// Gives the shape exactly the ordinates its layer declares. The cursors
// make every shape Z- and M-aware; what the class does not have is dropped,
// what it has but a record lacks stays NaN. A point keeps the values of
// the ordinates it drops (NaN "no elevation"), and OGR compares them even
// so: they are zeroed first.
void MatchLayerType(OGRGeometry& shape, OGRwkbGeometryType type) {
  const bool hasZ = OGR_GT_HasZ(type) != FALSE, hasM = OGR_GT_HasM(type) != FALSE;
  if (wkbFlatten(shape.getGeometryType()) == wkbPoint) {
    auto& point = static_cast<OGRPoint&>(shape);
    if (!hasZ) point.setZ(0.0);
    if (!hasM) point.setM(0.0);
  }
  shape.set3D(hasZ);
  shape.setMeasured(hasM);
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
      geometryType_(LayerGeometryType(source_, geometryDef_)),
      spatialReference_(LayerSpatialReference(geometryDef_)),
      definition_(LayerDefinition(source_, geometryType_, spatialReference_)),
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
    MatchLayerType(*point, geometryType_);
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
    active.cursor->QueryShape(*shape);
    if (!IsEmptyGeometry(*shape)) {
      MatchLayerType(*shape, geometryType_);
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
  ErrorRecordCollector collector(source_.lateWarnings);  // turns what is new to the log into warnings
  PullQueuedProblems(*source_.dataset);
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

OGRErr OGRVeldraneLayer::GetExtent(int geomField, OGREnvelope* extent, int force) {
  if (extent == nullptr || geomField != 0 || definition_->GetGeomFieldCount() == 0) return OGRERR_FAILURE;
  return GuardedIn<OGRErr>(*source_.context, "GetExtent", OGRERR_FAILURE, [&]() -> OGRErr {
    std::lock_guard<std::mutex> survey(*source_.datasetLock);
    if (!extentKnown_ && (!force || !MeasureExtent())) return OGRERR_FAILURE;
    if (!extent_) return OGRERR_FAILURE;  // no feature has a shape
    *extent = *extent_;
    return OGRERR_NONE;
  });
}

bool OGRVeldraneLayer::MeasureExtent() {
  ActiveCursor active = Adopt(source_.dataset->FetchAll(
      source_.classIndex, std::string(), FieldMap::NoValues(static_cast<std::size_t>(source_.fields->FieldCount()))));
  // A failed fetch (reported) is not remembered: the next call tries again.
  if (!active.cursor) return false;
  // One shape serves the whole walk: the cursor empties it for each record.
  const std::unique_ptr<OGRGeometry> shape = NewBareShape(geometryDef_.GeometryType());
  std::int64_t count = 0;
  for (; !active.done && !active.cursor->IsFinished(); Advance(active)) {
    ++count;
    active.cursor->QueryShape(*shape);
    if (IsEmptyGeometry(*shape)) continue;
    OGREnvelope box;
    shape->getEnvelope(&box);
    if (extent_) extent_->Merge(box);
    else extent_ = box;
  }
  extentKnown_ = true;
  if (!recordCount_) recordCount_ = count;
  PullLateErrors();
  return true;
}

int OGRVeldraneLayer::TestCapability(const char* capability) {
  if (capability == nullptr) return FALSE;
  if (EQUAL(capability, OLCRandomRead) || EQUAL(capability, OLCStringsAsUTF8) || EQUAL(capability, OLCIgnoreFields))
    return TRUE;
  if (EQUAL(capability, OLCZGeometries)) return OGR_GT_HasZ(geometryType_);
  if (EQUAL(capability, OLCMeasuredGeometries)) return OGR_GT_HasM(geometryType_);
  // Fast once walked: the walk's result is kept.
  if (EQUAL(capability, OLCFastGetExtent)) return extentKnown_;
  if (EQUAL(capability, OLCFastFeatureCount))
    return m_poFilterGeom == nullptr && m_poAttrQuery == nullptr && recordCount_.has_value();
  // Points of cross sections, profiles and areas skip every container whose
  // box misses the filter.
  if (EQUAL(capability, OLCFastSpatialFilter)) return IsContainerPointClass();
  return FALSE;
}

bool OGRVeldraneLayer::IsContainerPointClass() const {
  const std::optional<ClassKind> kind = ClassKindFromName(source_.classKind);
  return kind == ClassKind::CrossSectionPoints || kind == ClassKind::ProfilePoints || kind == ClassKind::AreaPoints;
}

char** OGRVeldraneLayer::GetMetadata(const char* domain) {
  if (IsFgdcDomain(domain) && !fgdcSet_ && source_.documents) {
    fgdcSet_ = true;
    GuardedIn<bool>(*source_.context, "GetMetadata", false, [&] {
      std::lock_guard<std::mutex> survey(*source_.datasetLock);
      SetFgdcDomain(*this, source_.documents->XmlOf(source_.surveyFileName));
      return true;
    });
  }
  return OGRLayer::GetMetadata(domain);
}

char** OGRVeldraneLayer::GetMetadataDomainList() {
  char** domains = OGRLayer::GetMetadataDomainList();
  return source_.documents ? WithFgdcDomain(domains) : domains;
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
