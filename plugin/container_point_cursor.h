#pragma once
// Cursors whose records are the points of containers: the points of every
// cross section, of every profile centerline, of every ring of every survey
// area. The container's record ordinal goes into the class's container OID
// field ("CrossSectionOID", "ProfileOID", "AreaOID").
//
// A container without points occupies no record: its points simply do not
// exist, so it is passed over and numbering goes on with the next one.
//
// Under an envelope filter each point is tested numerically. When the
// extents of the containers (bounding box and point count) are known, a
// container whose box lies wholly outside the envelope is passed over at
// once, its points still counted, and positioning by OID jumps over whole
// containers. The extents are shared by the cursors of one class through a
// ContainerExtentsCache: a cursor that walks the whole class from its first
// record fills the cache on the way, and the dataset measures the
// containers itself when a filtered or positioned fetch finds it empty.
#include <cstdint>
#include <memory>
#include <vector>

#include <ogr_geometry.h>

#include "model/features.h"
#include "plugin/cursor_base.h"

namespace veldrane {

struct ContainerExtent {
  double xMin;
  double yMin;
  double xMax;
  double yMax;
  std::int32_t pointCount;  // 0: the box is meaningless
};
using ContainerExtents = std::vector<ContainerExtent>;

// The extents of one class's containers, once known.
struct ContainerExtentsCache {
  std::shared_ptr<const ContainerExtents> extents;
};

template <class Container>
class ContainerPointCursor : public SvyCursorBase {
 public:
  using Iterator = IItemIterator<Container>;

  // Record 0 is the first point of the first container with points; no
  // envelope test applies to it. The cursor keeps the iterator (shared, not
  // copied).
  void Initialize(std::shared_ptr<Iterator> containers, std::int32_t csid);
  // The cache of the class, set before Initialize. Extents whose size does
  // not match the iteration are not used.
  void SetExtentsCache(std::shared_ptr<ContainerExtentsCache> cache) { cache_ = std::move(cache); }

  // 0-based position of the current container in the iteration; -1 before
  // Initialize.
  std::int32_t ContainerOrdinal() const { return containerOrdinal_; }

 protected:
  ContainerPointCursor(ClassKind kind, const CursorTexts& texts) : SvyCursorBase(kind, texts) {}

  // The point lists of a container, in record order, appended to `out`.
  virtual void CollectPoints(Container& container, std::vector<std::shared_ptr<ISurveyPointIterator>>& out) = 0;
  // The shape of a point record (the geometry is already emptied).
  virtual void PointShape(ISurveyPoint& point, OGRPoint& shape) = 0;

  bool IsInitialized() const override { return containers_ != nullptr; }
  bool HasCurrent() const override { return container_ != nullptr; }
  bool Advance() override;
  void Rewind() override;
  bool PassesFilter(const EnvelopeRelation& filter) override;
  bool AdvanceFiltered(const EnvelopeRelation& filter) override;
  bool AdvanceBy(std::int32_t count) override;
  void WriteValue(const SchemaField& field, IRowBuffer& row, std::int32_t pos) override;
  void BuildShape(OGRGeometry& geometry) override;

 private:
  // Makes the next container with points current and its first point the
  // current point; false (and finished) at the end. With extents known,
  // containers whose box misses `skipFilter` are passed over with their
  // points counted in the ordinal, and containers that fit wholly into
  // `*skipBudget` records are passed over and taken off the budget.
  bool NextContainer(const EnvelopeRelation* skipFilter, std::int32_t* skipBudget);
  bool StartPoints();
  bool NextPoint();
  void Finish();
  // Adds the current point to the extent of the current container while
  // recording.
  void Record();
  // Extent of the current container, when known.
  const ContainerExtent* CurrentExtent() const;

  std::shared_ptr<Iterator> containers_;
  std::shared_ptr<Container> container_;
  std::int32_t containerOrdinal_ = -1;
  std::vector<std::shared_ptr<ISurveyPointIterator>> sources_;
  std::size_t sourceIndex_ = 0;
  std::shared_ptr<ISurveyPoint> point_;
  // Records of the current container after the current one.
  std::int32_t pointsLeft_ = 0;
  std::shared_ptr<ContainerExtentsCache> cache_;
  std::shared_ptr<const ContainerExtents> extents_;
  // Extents seen so far by a walk from the first record, while none are known.
  bool recording_ = false;
  ContainerExtents recorded_;
};

// The point lists of a container in record order: a cross section's or a
// profile's points; an area's exterior ring, then each hole followed by its
// islands.
void CollectCrossSectionPoints(ICrossSection& section, std::vector<std::shared_ptr<ISurveyPointIterator>>& out);
void CollectProfilePoints(IProfileCenterline& profile, std::vector<std::shared_ptr<ISurveyPointIterator>>& out);
void CollectAreaPoints(ISurveyArea& area, std::vector<std::shared_ptr<ISurveyPointIterator>>& out);

// Bounding boxes and point counts of the containers of an iteration (the
// iterator is rewound before and after).
ContainerExtents MeasureCrossSections(ICrossSectionIterator& containers);
ContainerExtents MeasureProfiles(IProfileCenterlineIterator& containers);
ContainerExtents MeasureAreas(ISurveyAreaIterator& containers);

// Every point of every cross section; shape X, Y, Z, and M = Station when
// the station is defined.
class SvyCrossSectionPointCursorHelper final : public ContainerPointCursor<ICrossSection> {
 public:
  SvyCrossSectionPointCursorHelper();

 protected:
  void CollectPoints(ICrossSection& container, std::vector<std::shared_ptr<ISurveyPointIterator>>& out) override;
  void PointShape(ISurveyPoint& point, OGRPoint& shape) override;
};

// Every point of every profile centerline; shape X, Y, Z (no measure).
class SvyProfilePointCursorHelper final : public ContainerPointCursor<IProfileCenterline> {
 public:
  SvyProfilePointCursorHelper();

 protected:
  void CollectPoints(IProfileCenterline& container, std::vector<std::shared_ptr<ISurveyPointIterator>>& out) override;
  void PointShape(ISurveyPoint& point, OGRPoint& shape) override;
};

// Every point of every ring of every survey area: the exterior ring, then
// each hole followed by its islands; shape X, Y, Z, M = Station.
class SvyAreaPointCursorHelper final : public ContainerPointCursor<ISurveyArea> {
 public:
  SvyAreaPointCursorHelper();

 protected:
  void CollectPoints(ISurveyArea& container, std::vector<std::shared_ptr<ISurveyPointIterator>>& out) override;
  void PointShape(ISurveyPoint& point, OGRPoint& shape) override;
};

}  // namespace veldrane
