#include "plugin/container_point_cursor.h"

#include <algorithm>
#include <cmath>

#include "model/constants.h"
#include "model/survey_error.h"
#include "plugin/field_writers.h"

namespace veldrane {

// --- point lists -------------------------------------------------------------

void CollectCrossSectionPoints(ICrossSection& section, std::vector<std::shared_ptr<ISurveyPointIterator>>& out) {
  out.push_back(section.Points());
}

void CollectProfilePoints(IProfileCenterline& profile, std::vector<std::shared_ptr<ISurveyPointIterator>>& out) {
  out.push_back(profile.Points());
}

namespace {
void CollectRing(IAreaRing& ring, std::vector<std::shared_ptr<ISurveyPointIterator>>& out) {
  out.push_back(ring.SurveyPoints());
  const std::shared_ptr<IAreaRingIterator> inner = ring.InternalRings();
  if (!inner) return;
  inner->Initialize();
  while (const std::shared_ptr<IAreaRing> next = inner->GetNext()) CollectRing(*next, out);
}
}  // namespace

void CollectAreaPoints(ISurveyArea& area, std::vector<std::shared_ptr<ISurveyPointIterator>>& out) {
  if (const std::shared_ptr<IAreaRing> ring = area.AreaRing()) CollectRing(*ring, out);
}

// --- extents -----------------------------------------------------------------

namespace {
void Extend(ContainerExtent& extent, double x, double y) {
  if (extent.pointCount++ == 0) {
    extent = ContainerExtent{x, y, x, y, 1};
    return;
  }
  extent.xMin = std::min(extent.xMin, x);
  extent.yMin = std::min(extent.yMin, y);
  extent.xMax = std::max(extent.xMax, x);
  extent.yMax = std::max(extent.yMax, y);
}

template <class Container, class Collect>
ContainerExtents Measure(IItemIterator<Container>& containers, Collect collect) {
  ContainerExtents extents;
  std::vector<std::shared_ptr<ISurveyPointIterator>> sources;
  containers.Initialize();
  while (const std::shared_ptr<Container> container = containers.GetNext()) {
    ContainerExtent extent{0, 0, 0, 0, 0};
    sources.clear();
    collect(*container, sources);
    for (const auto& source : sources) {
      if (!source) continue;
      source->Initialize();
      while (const std::shared_ptr<ISurveyPoint> point = source->GetNext()) Extend(extent, point->X(), point->Y());
    }
    extents.push_back(extent);
  }
  containers.Initialize();
  return extents;
}

// No point of the container can lie in the envelope's interior.
bool Misses(const ContainerExtent& extent, const Envelope& box) {
  return extent.xMax <= box.XMin() || extent.xMin >= box.XMax() || extent.yMax <= box.YMin() ||
         extent.yMin >= box.YMax() || std::isnan(extent.xMin) || std::isnan(extent.yMin);
}
}  // namespace

ContainerExtents MeasureCrossSections(ICrossSectionIterator& containers) {
  return Measure(containers, CollectCrossSectionPoints);
}
ContainerExtents MeasureProfiles(IProfileCenterlineIterator& containers) {
  return Measure(containers, CollectProfilePoints);
}
ContainerExtents MeasureAreas(ISurveyAreaIterator& containers) { return Measure(containers, CollectAreaPoints); }

// --- the cursor --------------------------------------------------------------

template <class Container>
void ContainerPointCursor<Container>::Initialize(std::shared_ptr<Iterator> containers, std::int32_t csid) {
  InitializeWith(csid, [&] { containers_ = std::move(containers); });
}

template <class Container>
void ContainerPointCursor<Container>::Rewind() {
  Finish();
  containerOrdinal_ = -1;
  if (!containers_) return;
  containers_->Initialize();
  extents_ = cache_ ? cache_->extents : nullptr;
  if (extents_ && extents_->size() != static_cast<std::size_t>(containers_->Size())) extents_.reset();
  recording_ = cache_ && !extents_;
  recorded_.clear();
  NextContainer(nullptr, nullptr);
}

template <class Container>
void ContainerPointCursor<Container>::Record() {
  Extend(recorded_.back(), point_->X(), point_->Y());
}

template <class Container>
void ContainerPointCursor<Container>::Finish() {
  container_.reset();
  point_.reset();
  sources_.clear();
  pointsLeft_ = 0;
}

template <class Container>
const ContainerExtent* ContainerPointCursor<Container>::CurrentExtent() const {
  if (!extents_ || containerOrdinal_ < 0 || static_cast<std::size_t>(containerOrdinal_) >= extents_->size())
    return nullptr;
  return &(*extents_)[static_cast<std::size_t>(containerOrdinal_)];
}

template <class Container>
bool ContainerPointCursor<Container>::NextContainer(const EnvelopeRelation* skipFilter, std::int32_t* skipBudget) {
  for (;;) {
    Finish();
    container_ = containers_->GetNext();
    ++containerOrdinal_;
    if (!container_) {
      // A walk that saw every container from the first knows them all.
      if (recording_ && cache_) cache_->extents = std::make_shared<ContainerExtents>(std::move(recorded_));
      recording_ = false;
      return false;
    }
    if (recording_) recorded_.push_back(ContainerExtent{0, 0, 0, 0, 0});
    if (const ContainerExtent* extent = CurrentExtent()) {
      if (extent->pointCount == 0) continue;
      if (skipFilter && Misses(*extent, skipFilter->Box())) {
        SetOrdinal(RecordOrdinal() + extent->pointCount);
        continue;
      }
      if (skipBudget && *skipBudget >= extent->pointCount) {
        *skipBudget -= extent->pointCount;
        continue;
      }
    }
    if (StartPoints()) return true;
  }
}

template <class Container>
bool ContainerPointCursor<Container>::StartPoints() {
  sources_.clear();
  CollectPoints(*container_, sources_);
  sourceIndex_ = 0;
  pointsLeft_ = 0;
  for (const auto& source : sources_) {
    if (!source) continue;
    source->Initialize();
    pointsLeft_ += source->Size();
  }
  return NextPoint();
}

template <class Container>
bool ContainerPointCursor<Container>::NextPoint() {
  while (sourceIndex_ < sources_.size()) {
    if (ISurveyPointIterator* source = sources_[sourceIndex_].get()) {
      // Let go of the point before asking for the next: an iterator may
      // reuse a point that nobody holds any more.
      point_.reset();
      point_ = source->GetNext();
      if (point_) {
        --pointsLeft_;
        if (recording_) Record();
        return true;
      }
    }
    ++sourceIndex_;
  }
  point_.reset();
  return false;
}

template <class Container>
bool ContainerPointCursor<Container>::Advance() {
  if (!container_) return false;
  return NextPoint() || NextContainer(nullptr, nullptr);
}

template <class Container>
bool ContainerPointCursor<Container>::PassesFilter(const EnvelopeRelation& filter) {
  return point_ && filter.PointWithin(point_->X(), point_->Y());
}

template <class Container>
bool ContainerPointCursor<Container>::AdvanceFiltered(const EnvelopeRelation& filter) {
  for (;;) {
    if (!container_) return false;
    if (!NextPoint() && !NextContainer(&filter, nullptr)) return false;
    if (PassesFilter(filter)) return true;
    SetOrdinal(RecordOrdinal() + 1);
  }
}

template <class Container>
bool ContainerPointCursor<Container>::AdvanceBy(std::int32_t count) {
  while (count > 0) {
    if (!container_) return false;
    if (extents_ && count > pointsLeft_) {
      // Step to the first point of the next container, passing over whole
      // containers the remaining count reaches beyond.
      count -= pointsLeft_ + 1;
      if (!NextContainer(nullptr, &count)) return false;
      continue;
    }
    if (!Advance()) return false;
    --count;
  }
  return true;
}

template <class Container>
void ContainerPointCursor<Container>::WriteValue(const SchemaField& field, IRowBuffer& row, std::int32_t pos) {
  if (field.value == ValueKind::ContainerOID) {
    row.SetInteger(pos, containerOrdinal_);
  } else if (point_) {
    WritePointValue(*point_, field, row, pos);
  }
}

template <class Container>
void ContainerPointCursor<Container>::BuildShape(OGRGeometry& geometry) {
  OGRPoint& shape = ShapeAs<OGRPoint>(geometry);
  if (point_) PointShape(*point_, shape);
}

template class ContainerPointCursor<ICrossSection>;
template class ContainerPointCursor<IProfileCenterline>;
template class ContainerPointCursor<ISurveyArea>;

// --- the three classes -------------------------------------------------------

namespace {
constexpr CursorTexts kCrossSectionPointTexts{"SvyCrossSectionPointCursorHelper", "No Cross Section Iterator",
                                              "Cross Section Cursor has not been initialized."};
constexpr CursorTexts kProfilePointTexts{"SvyProfilePointCursorHelper", "No Profile Centerline Iterator",
                                         "Profile Centerline Cursor has not been initialized."};
constexpr CursorTexts kAreaPointTexts{"SvyAreaPointCursorHelper", "No Survey Area Iterator",
                                      "Survey Area Cursor has not been initialized."};

// setZ also makes the point Z-aware.
void SetXYZ(ISurveyPoint& point, OGRPoint& shape) {
  shape.setX(point.X());
  shape.setY(point.Y());
  shape.setZ(point.Z());
}
}  // namespace

SvyCrossSectionPointCursorHelper::SvyCrossSectionPointCursorHelper()
    : ContainerPointCursor(ClassKind::CrossSectionPoints, kCrossSectionPointTexts) {}

void SvyCrossSectionPointCursorHelper::CollectPoints(ICrossSection& container,
                                                     std::vector<std::shared_ptr<ISurveyPointIterator>>& out) {
  CollectCrossSectionPoints(container, out);
}

void SvyCrossSectionPointCursorHelper::PointShape(ISurveyPoint& point, OGRPoint& shape) {
  SetXYZ(point, shape);
  // Setting Z and M makes the point Z- and M-aware; without a station it is
  // M-aware with its measure unset.
  const double station = point.Station();
  if (IsUndefined(station)) {
    shape.setMeasured(TRUE);
  } else {
    shape.setM(station);
  }
}

SvyProfilePointCursorHelper::SvyProfilePointCursorHelper()
    : ContainerPointCursor(ClassKind::ProfilePoints, kProfilePointTexts) {}

void SvyProfilePointCursorHelper::CollectPoints(IProfileCenterline& container,
                                                std::vector<std::shared_ptr<ISurveyPointIterator>>& out) {
  CollectProfilePoints(container, out);
}

void SvyProfilePointCursorHelper::PointShape(ISurveyPoint& point, OGRPoint& shape) { SetXYZ(point, shape); }

SvyAreaPointCursorHelper::SvyAreaPointCursorHelper() : ContainerPointCursor(ClassKind::AreaPoints, kAreaPointTexts) {}

void SvyAreaPointCursorHelper::CollectPoints(ISurveyArea& container,
                                             std::vector<std::shared_ptr<ISurveyPointIterator>>& out) {
  CollectAreaPoints(container, out);
}

void SvyAreaPointCursorHelper::PointShape(ISurveyPoint& point, OGRPoint& shape) {
  SetXYZ(point, shape);
  shape.setM(point.Station());
}

}  // namespace veldrane
