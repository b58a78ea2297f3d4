// Loading the survey, the coordinate-system code, the three fetches and the
// dataset bounds.
#include <limits>

#include "host/coordinate_system.h"
#include "host/geometry.h"
#include "model/constants.h"
#include "model/error_propagation.h"
#include "model/survey_error.h"
#include "plugin/container_point_cursor.h"
#include "plugin/object_cursor.h"
#include "plugin/svy_dataset_helper.h"
#include "plugin/traverse_line_cursor.h"

namespace veldrane {

void SvyDatasetHelper::LoadSurvey() {
  if (loadFailed_ || survey_ || traverse_) return;
  try {
    const std::string path = DatasetPath().string();
    switch (surveyType_) {
      case kSurveyTypeSurvey:
        survey_ = source_.openSurvey(path);
        loadFailed_ = survey_ == nullptr;
        break;
      case kSurveyTypeTraverse:
        traverse_ = source_.openTraverse(path);
        loadFailed_ = traverse_ == nullptr;
        break;
      default:
        throw RaisedError(kErrUnexpected, "ordane.SvyDatasetHelper.GetSurvey",
                          "Unexpected survey type : " + std::to_string(surveyType_));
    }
  } catch (const std::exception& failure) {
    Report("GetSurvey", failure);
  }
}

std::shared_ptr<ISurvey> SvyDatasetHelper::Survey() {
  LoadSurvey();
  return survey_;
}

std::shared_ptr<ITraverse> SvyDatasetHelper::Traverse() {
  LoadSurvey();
  return traverse_;
}

std::int32_t SvyDatasetHelper::CoordinateSystemCode() { return GetCoordSysConst(); }

// Computed once: a file that cannot be read at that time keeps code 0.
std::int32_t SvyDatasetHelper::GetCoordSysConst() {
  try {
    LoadSurvey();
    if (csidCache_ == -1) {
      if (survey_) {
        csidCache_ = source_.checkCoordinateSystem(survey_->Projection(), survey_->HorizontalDatum(),
                                                   survey_->HorizontalEpoch(), survey_->Units());
      } else if (traverse_) {
        csidCache_ = source_.checkCoordinateSystem(traverse_->Projection(), traverse_->HorizontalDatum(),
                                                   traverse_->HorizontalEpoch(), traverse_->Units());
      } else {
        csidCache_ = 0;
      }
    }
    return csidCache_;
  } catch (const std::exception& failure) {
    Report("GetCoordSysConst", failure);
    return 0;
  }
}

// --- fetching ----------------------------------------------------------------

std::shared_ptr<IPlugInCursorHelper> SvyDatasetHelper::FetchByID(std::int32_t classIndex, std::int64_t id,
                                                                 const FieldMap& fieldMap) {
  return FetchGeneric(classIndex, fieldMap, id, nullptr);
}

std::shared_ptr<IPlugInCursorHelper> SvyDatasetHelper::FetchAll(std::int32_t classIndex, const std::string&,
                                                                const FieldMap& fieldMap) {
  return FetchGeneric(classIndex, fieldMap, std::nullopt, nullptr);
}

std::shared_ptr<IPlugInCursorHelper> SvyDatasetHelper::FetchByEnvelope(std::int32_t classIndex,
                                                                       const Envelope& envelope, bool,
                                                                       const std::string&, const FieldMap& fieldMap) {
  return FetchGeneric(classIndex, fieldMap, std::nullopt, &envelope);
}

std::shared_ptr<IPlugInCursorHelper> SvyDatasetHelper::FetchGeneric(std::int32_t classIndex,
                                                                    const FieldMap& fieldMap,
                                                                    std::optional<std::int64_t> id,
                                                                    const Envelope* envelope) {
  try {
    GetIndexDicts();
    const ClassKind kind = FindClass(classIndex, "Ordane.SvyDatasetHelper.FetchGeneric",
                                     "Ordane.SvyDatasetHelper.FetchGeneric", false);
    // A traverse dataset has no class maps, so nothing has read it yet when
    // the host fetches before asking for fields: read it here.
    LoadSurvey();
    std::shared_ptr<SvyCursorBase> cursor = MakeCursor(kind, fieldMap, id.has_value() || envelope != nullptr);
    if (survey_ || traverse_) {
      if (id) cursor->SetOID(*id);
      if (envelope) cursor->SetQueryEnvelope(*envelope);
    }
    return cursor;
  } catch (const std::exception& failure) {
    Report("FetchGeneric", failure);
    return nullptr;
  }
}

namespace {
template <class Cursor>
std::shared_ptr<Cursor> NewCursor(const FieldMap& fieldMap) {
  auto cursor = std::make_shared<Cursor>();
  cursor->SetFieldMap(fieldMap);
  return cursor;
}
}  // namespace

// A new cursor of the kind, given the field map and, when the file is
// loaded, initialised over the matching collection. Point cursors over
// containers share their class's extents cache, measured first when the
// cursor will be filtered or positioned.
std::shared_ptr<SvyCursorBase> SvyDatasetHelper::MakeCursor(ClassKind kind, const FieldMap& fieldMap,
                                                            bool wantExtents) {
  const bool loaded = survey_ || traverse_;
  const std::int32_t csid = loaded ? GetCoordSysConst() : 0;
  const auto overContainers = [&](auto cursor, auto containers) {
    cursor->SetExtentsCache(ExtentsOf(kind, wantExtents));
    cursor->Initialize(containers, csid);
    return cursor;
  };
  switch (kind) {
    case ClassKind::CrossSections: {
      auto cursor = NewCursor<SvyCrossSectionCursorHelper>(fieldMap);
      if (survey_) cursor->Initialize(survey_->CrossSections(), csid);
      return cursor;
    }
    case ClassKind::CrossSectionPoints: {
      auto cursor = NewCursor<SvyCrossSectionPointCursorHelper>(fieldMap);
      return survey_ ? overContainers(cursor, survey_->CrossSections()) : cursor;
    }
    case ClassKind::Profiles: {
      auto cursor = NewCursor<SvyProfileCursorHelper>(fieldMap);
      if (survey_) cursor->Initialize(survey_->ProfileCenterlines(), csid);
      return cursor;
    }
    case ClassKind::ProfilePoints: {
      auto cursor = NewCursor<SvyProfilePointCursorHelper>(fieldMap);
      return survey_ ? overContainers(cursor, survey_->ProfileCenterlines()) : cursor;
    }
    case ClassKind::Areas: {
      auto cursor = NewCursor<SvyAreaCursorHelper>(fieldMap);
      if (survey_) cursor->Initialize(survey_->Areas(), csid, survey_->HorizontalAccuracy());
      return cursor;
    }
    case ClassKind::AreaPoints: {
      auto cursor = NewCursor<SvyAreaPointCursorHelper>(fieldMap);
      return survey_ ? overContainers(cursor, survey_->Areas()) : cursor;
    }
    case ClassKind::MiscellaneousShotPoints: {
      auto cursor = NewCursor<SvyMiscShotPointCursorHelper>(fieldMap);
      if (survey_) cursor->Initialize(survey_->MiscShotPoints(), csid);
      return cursor;
    }
    case ClassKind::Benchmarks: {
      auto cursor = NewCursor<SvyBenchmarkCursorHelper>(fieldMap);
      if (survey_) cursor->Initialize(survey_->VerticalControls(), csid);
      return cursor;
    }
    case ClassKind::Gages: {
      auto cursor = NewCursor<SvyGageCursorHelper>(fieldMap);
      if (survey_) cursor->Initialize(survey_->Gages(), csid);
      return cursor;
    }
    case ClassKind::Traverses: {
      auto cursor = NewCursor<TrvLineCursorHelper>(fieldMap);
      if (traverse_) cursor->Initialize(traverse_, csid);
      return cursor;
    }
    case ClassKind::TraversePoints: {
      auto cursor = NewCursor<TrvPointCursorHelper>(fieldMap);
      if (traverse_) cursor->Initialize(traverse_, csid);
      return cursor;
    }
  }
  throw RaisedError(kErrUnexpected, "Ordane.SvyDatasetHelper.FetchGeneric", "Unexpected Class Index");
}

// The survey never changes after it was read, so extents stay valid.
std::shared_ptr<ContainerExtentsCache> SvyDatasetHelper::ExtentsOf(ClassKind kind, bool measure) {
  std::shared_ptr<ContainerExtentsCache>& cache = extents_[kind];
  if (!cache) cache = std::make_shared<ContainerExtentsCache>();
  if (!measure || cache->extents || !survey_) return cache;
  if (kind == ClassKind::CrossSectionPoints) {
    if (auto items = survey_->CrossSections()) cache->extents = std::make_shared<ContainerExtents>(MeasureCrossSections(*items));
  } else if (kind == ClassKind::ProfilePoints) {
    if (auto items = survey_->ProfileCenterlines()) cache->extents = std::make_shared<ContainerExtents>(MeasureProfiles(*items));
  } else if (kind == ClassKind::AreaPoints) {
    if (auto items = survey_->Areas()) cache->extents = std::make_shared<ContainerExtents>(MeasureAreas(*items));
  }
  return cache;
}

// --- bounds ------------------------------------------------------------------

std::shared_ptr<Envelope> SvyDatasetHelper::Bounds() {
  try {
    GetIndexDicts();
    if (boundsCache_) return boundsCache_;
    if (surveyType_ != kSurveyTypeSurvey && surveyType_ != kSurveyTypeTraverse)
      throw RaisedError(kErrUnexpected, "ordane.SvyDatasetHelper.Bounds",
                        "Unexpected survey type : " + std::to_string(surveyType_));
    auto total = std::make_shared<Envelope>();
    const std::int32_t count = ClassCount();
    for (std::int32_t i = 0; i < count; ++i) total->Union(ClassBounds(i));
    boundsCache_ = total;
    return boundsCache_;
  } catch (const std::exception& failure) {
    Report("IPlugInDatasetHelper_Bounds", failure);
    return nullptr;
  }
}

// Reads every shape of the class through its own cursor. The accumulators
// start at +-9999999, so coordinates beyond that never widen the box past it.
Envelope SvyDatasetHelper::ClassBounds(std::int32_t classIndex) {
  const ClassKind kind = FindClass(classIndex, "Ordane.SvyDatasetHelper.IPlugInDatasetHelper_Bounds",
                                   "ordane.SvyDatasetHelper.Bounds", false);
  GeometryDef def;
  const ClassGeometry geometry = ClassGeometryOf(kind);
  def.SetGeometryType(geometry.type);
  def.SetHasZ(surveyType_ == kSurveyTypeSurvey);
  def.SetHasM(surveyType_ == kSurveyTypeSurvey || kind == ClassKind::Traverses);
  def.SetSpatialReference(GetCoordinateSystem(GetCoordSysConst()));
  const std::unique_ptr<OGRGeometry> shape = NewShape(def);

  const std::shared_ptr<Fields> fields = GetFields(classIndex);
  const FieldMap noValues = FieldMap::NoValues(static_cast<std::size_t>(fields ? fields->FieldCount() : 0));
  const std::shared_ptr<IPlugInCursorHelper> cursor = FetchAll(classIndex, std::string(), noValues);

  double minX = 9999999, minY = 9999999, maxX = -9999999, maxY = -9999999;
  std::int32_t counter = 1;
  while (cursor && !cursor->IsFinished()) {
    cursor->QueryShape(*shape);
    if (!IsEmptyGeometry(*shape)) {
      OGREnvelope box;
      shape->getEnvelope(&box);
      minX = std::min(minX, box.MinX);
      minY = std::min(minY, box.MinY);
      maxX = std::max(maxX, box.MaxX);
      maxY = std::max(maxY, box.MaxY);
      ++counter;
    }
    try {
      cursor->NextRecord();
    } catch (const RaisedError&) {
      // The end of the records is signalled by an error; anything else that
      // leaves the cursor unfinished ends the walk too, rather than looping.
      if (!cursor->IsFinished()) break;
    }
  }
  Envelope bounds;
  if (counter > 1) {
    bounds.PutCoords(minX, minY, maxX, maxY);
    bounds.SetSpatialReference(MakeUnknownSpatialReference());
  }
  return bounds;
}

}  // namespace veldrane
