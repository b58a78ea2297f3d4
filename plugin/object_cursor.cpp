#include "plugin/object_cursor.h"

#include <cmath>

#include "host/geometry.h"
#include "model/constants.h"
#include "model/survey_error.h"
#include "plugin/field_writers.h"

namespace veldrane {

// --- the walk ----------------------------------------------------------------

template <class Object>
void ObjectCursor<Object>::Initialize(std::shared_ptr<Iterator> objects, std::int32_t csid) {
  InitializeWith(csid, [&] { objects_ = std::move(objects); });
}

template <class Object>
bool ObjectCursor<Object>::Advance() {
  if (!current_) return false;
  current_ = objects_->GetNext();
  return current_ != nullptr;
}

template <class Object>
void ObjectCursor<Object>::Rewind() {
  current_.reset();
  if (!objects_) return;
  objects_->Initialize();
  current_ = objects_->GetNext();
}

template <class Object>
void ObjectCursor<Object>::WriteValue(const SchemaField& field, IRowBuffer& row, std::int32_t pos) {
  if (current_) WriteObjectValue(*current_, field, row, pos);
}

template class ObjectCursor<ICrossSection>;
template class ObjectCursor<IProfileCenterline>;
template class ObjectCursor<ISurveyArea>;
template class ObjectCursor<IMiscShotPoint>;
template class ObjectCursor<IVerticalControl>;
template class ObjectCursor<IGage>;
template class ObjectCursor<ITraversePoint>;

// --- shapes ------------------------------------------------------------------

namespace {

constexpr CursorTexts kCrossSectionTexts{"SvyCrossSectionCursorHelper", "No Cross Section Iterator",
                                         "Cross Section Cursor has not been initialized."};
constexpr CursorTexts kProfileTexts{"SvyProfileCursorHelper", "No Profile Centerline Iterator",
                                    "Profile Centerline Cursor has not been initialized."};
constexpr CursorTexts kAreaTexts{"SvyAreaCursorHelper", "No Survey Area Iterator",
                                 "Survey Area Cursor has not been initialized."};
constexpr CursorTexts kMiscShotPointTexts{"SvyMiscShotPointCursorHelper", "No Miscellaneous Shot Point Iterator",
                                          "Miscellaneous Shot Point Cursor has not been initialized."};
constexpr CursorTexts kBenchmarkTexts{"SvyBenchmarkCursorHelper", "No Benchmark Iterator",
                                      "Benchmark Cursor has not been initialized."};
constexpr CursorTexts kGageTexts{"SvyGageCursorHelper", "No Gage Iterator", "Gage Cursor has not been initialized."};
constexpr CursorTexts kTraversePointTexts{"TrvPointCursorHelper", "No Traverse Point Iterator",
                                          "Traverse has not been initialized."};

// A polyline of the points, each X, Y, Z and M = Station (NaN where the
// station is undefined, as in a profile that could not be stationed).
void BuildLine(const std::shared_ptr<ISurveyPointIterator>& points, OGRLineString& line) {
  line.set3D(TRUE);
  line.setMeasured(TRUE);
  if (!points) return;
  points->Initialize();
  while (const std::shared_ptr<ISurveyPoint> point = points->GetNext()) {
    line.addPoint(point->X(), point->Y(), point->Z(), MeasureOf(point->Station()));
  }
}

// "No Z" / "no M" of an aware point is NaN.
void SetEastingNorthing(double easting, double northing, OGRPoint& shape) {
  shape.set3D(TRUE);
  shape.setZ(std::nan(""));
  if (IsUndefined(easting) || IsUndefined(northing)) {
    shape.empty();
    shape.set3D(TRUE);
    return;
  }
  shape.setX(easting);
  shape.setY(northing);
}

bool EastingNorthingWithin(const EnvelopeRelation& filter, double easting, double northing) {
  return !IsUndefined(easting) && !IsUndefined(northing) && filter.PointWithin(easting, northing);
}

// Adds one ring of survey points to the polygon, closed. With a tolerance,
// a last point closer than it to the first point is dropped before the ring
// is closed. Rings are closed before they join the polygon: OGR warns about
// every ring added open.
void AddRing(OGRPolygon& polygon, IAreaRing& ring, double tolerance) {
  const std::shared_ptr<ISurveyPointIterator> points = ring.SurveyPoints();
  if (!points) return;
  auto built = std::make_unique<OGRLinearRing>();
  built->set3D(TRUE);
  points->Initialize();
  while (const std::shared_ptr<ISurveyPoint> point = points->GetNext()) {
    built->addPoint(point->X(), point->Y(), point->Z());
  }
  const int count = built->getNumPoints();
  if (count == 0) return;
  if (!IsUndefined(tolerance) && count > 1) {
    const double dx = built->getX(count - 1) - built->getX(0);
    const double dy = built->getY(count - 1) - built->getY(0);
    if (dx * dx + dy * dy < tolerance * tolerance) built->setNumPoints(count - 1);
  }
  built->closeRings();
  polygon.addRingDirectly(built.release());
}

// The ring, then each of its internal rings followed by their own.
void AddRingTree(OGRPolygon& polygon, IAreaRing& ring, double tolerance) {
  AddRing(polygon, ring, tolerance);
  const std::shared_ptr<IAreaRingIterator> inner = ring.InternalRings();
  if (!inner) return;
  inner->Initialize();
  while (const std::shared_ptr<IAreaRing> next = inner->GetNext()) AddRingTree(polygon, *next, tolerance);
}

void BuildPolygon(ISurveyArea& area, double tolerance, OGRPolygon& polygon) {
  polygon.set3D(TRUE);
  if (const std::shared_ptr<IAreaRing> ring = area.AreaRing()) AddRingTree(polygon, *ring, tolerance);
}

}  // namespace

// --- cross sections and profiles ---------------------------------------------

template <class Object>
bool LineObjectCursor<Object>::PassesFilter(const EnvelopeRelation& filter) {
  EmptyGeometry(scratch_);
  if (this->Current()) BuildLine(this->Current()->Points(), scratch_);
  return filter.Within(scratch_) || filter.Contains(scratch_) || filter.Crosses(scratch_);
}

template <class Object>
void LineObjectCursor<Object>::BuildShape(OGRGeometry& geometry) {
  BuildLine(this->Current()->Points(), this->template ShapeAs<OGRLineString>(geometry));
}

template class LineObjectCursor<ICrossSection>;
template class LineObjectCursor<IProfileCenterline>;

SvyCrossSectionCursorHelper::SvyCrossSectionCursorHelper()
    : LineObjectCursor(ClassKind::CrossSections, kCrossSectionTexts) {}

SvyProfileCursorHelper::SvyProfileCursorHelper() : LineObjectCursor(ClassKind::Profiles, kProfileTexts) {}

// --- areas -------------------------------------------------------------------

SvyAreaCursorHelper::SvyAreaCursorHelper() : ObjectCursor(ClassKind::Areas, kAreaTexts) {}

void SvyAreaCursorHelper::Initialize(std::shared_ptr<ISurveyAreaIterator> areas, std::int32_t csid,
                                     double ringTolerance) {
  ringTolerance_ = ringTolerance;
  ObjectCursor::Initialize(std::move(areas), csid);
}

bool SvyAreaCursorHelper::PassesFilter(const EnvelopeRelation& filter) {
  EmptyGeometry(scratch_);
  if (Current()) BuildPolygon(*Current(), ringTolerance_, scratch_);
  return filter.Within(scratch_) || filter.Contains(scratch_) || filter.Overlaps(scratch_);
}

void SvyAreaCursorHelper::BuildShape(OGRGeometry& geometry) {
  BuildPolygon(*Current(), ringTolerance_, ShapeAs<OGRPolygon>(geometry));
}

// --- point objects -----------------------------------------------------------

SvyMiscShotPointCursorHelper::SvyMiscShotPointCursorHelper()
    : ObjectCursor(ClassKind::MiscellaneousShotPoints, kMiscShotPointTexts) {}

bool SvyMiscShotPointCursorHelper::PassesFilter(const EnvelopeRelation& filter) {
  const std::shared_ptr<ISurveyPoint> point = Current() ? Current()->Point() : nullptr;
  return point && filter.PointWithin(point->X(), point->Y());
}

void SvyMiscShotPointCursorHelper::BuildShape(OGRGeometry& geometry) {
  OGRPoint& shape = ShapeAs<OGRPoint>(geometry);
  shape.set3D(TRUE);
  if (const std::shared_ptr<ISurveyPoint> point = Current()->Point()) {
    shape.setX(point->X());
    shape.setY(point->Y());
    shape.setZ(point->Z());
  }
}

template <class Object>
bool EastingNorthingCursor<Object>::PassesFilter(const EnvelopeRelation& filter) {
  return this->Current() && EastingNorthingWithin(filter, this->Current()->Easting(), this->Current()->Northing());
}

template <class Object>
void EastingNorthingCursor<Object>::BuildShape(OGRGeometry& geometry) {
  SetEastingNorthing(this->Current()->Easting(), this->Current()->Northing(),
                     this->template ShapeAs<OGRPoint>(geometry));
}

template class EastingNorthingCursor<IVerticalControl>;
template class EastingNorthingCursor<IGage>;

SvyBenchmarkCursorHelper::SvyBenchmarkCursorHelper() : EastingNorthingCursor(ClassKind::Benchmarks, kBenchmarkTexts) {}

SvyGageCursorHelper::SvyGageCursorHelper() : EastingNorthingCursor(ClassKind::Gages, kGageTexts) {}

// --- traverse points ---------------------------------------------------------

TrvPointCursorHelper::TrvPointCursorHelper() : ObjectCursor(ClassKind::TraversePoints, kTraversePointTexts) {}

void TrvPointCursorHelper::Initialize(std::shared_ptr<ITraverse> traverse, std::int32_t csid) {
  try {
    if (!traverse) throw RaisedError(kErrUnexpected, Texts().module, "Traverse has not been initialized.");
    ObjectCursor::Initialize(traverse->TraversePoints(), csid);
  } catch (const std::exception& failure) {
    Report("Initialize", failure);
  }
}

bool TrvPointCursorHelper::PassesFilter(const EnvelopeRelation& filter) {
  return Current() && filter.PointWithin(Current()->Easting(), Current()->Northing());
}

void TrvPointCursorHelper::BuildShape(OGRGeometry& geometry) {
  OGRPoint& shape = ShapeAs<OGRPoint>(geometry);
  shape.setX(Current()->Easting());
  shape.setY(Current()->Northing());
}

}  // namespace veldrane
