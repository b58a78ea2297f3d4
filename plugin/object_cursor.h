#pragma once
// Cursors whose records are single objects of one collection: cross
// sections, profile centerlines, survey areas, miscellaneous shot points,
// benchmarks, gage readings and traverse points.
#include <cstdint>
#include <memory>

#include <ogr_geometry.h>

#include "model/features.h"
#include "plugin/cursor_base.h"

namespace veldrane {

template <class Object>
class ObjectCursor : public SvyCursorBase {
 public:
  using Iterator = IItemIterator<Object>;

  // Record 0 is the first object; no envelope test applies to it. The
  // cursor keeps the iterator (shared, not copied).
  void Initialize(std::shared_ptr<Iterator> objects, std::int32_t csid);

 protected:
  ObjectCursor(ClassKind kind, const CursorTexts& texts) : SvyCursorBase(kind, texts) {}

  const std::shared_ptr<Object>& Current() const { return current_; }

  bool IsInitialized() const override { return objects_ != nullptr; }
  bool HasCurrent() const override { return current_ != nullptr; }
  bool Advance() override;
  void Rewind() override;
  void WriteValue(const SchemaField& field, IRowBuffer& row, std::int32_t pos) override;

 private:
  std::shared_ptr<Iterator> objects_;
  std::shared_ptr<Object> current_;
};

// Objects drawn as polylines of their Points (X, Y, Z, M = Station); kept
// under a filter when Within, Contains or Crosses holds.
template <class Object>
class LineObjectCursor : public ObjectCursor<Object> {
 protected:
  using ObjectCursor<Object>::ObjectCursor;
  bool PassesFilter(const EnvelopeRelation& filter) override;
  void BuildShape(OGRGeometry& geometry) override;

 private:
  OGRLineString scratch_;
};

class SvyCrossSectionCursorHelper final : public LineObjectCursor<ICrossSection> {
 public:
  SvyCrossSectionCursorHelper();
};

class SvyProfileCursorHelper final : public LineObjectCursor<IProfileCenterline> {
 public:
  SvyProfileCursorHelper();
};

// Survey areas as polygons: the exterior ring, then each hole followed by
// its islands, every point X, Y, Z; rings closed. Kept under a filter when
// Within, Contains or Overlaps holds.
class SvyAreaCursorHelper final : public ObjectCursor<ISurveyArea> {
 public:
  SvyAreaCursorHelper();

  // `ringTolerance`: a ring whose last point lies closer than this to its
  // first point loses its last point before the ring is closed; the
  // undefined number turns this off.
  void Initialize(std::shared_ptr<ISurveyAreaIterator> areas, std::int32_t csid, double ringTolerance);
  double RingTolerance() const { return ringTolerance_; }

 protected:
  bool PassesFilter(const EnvelopeRelation& filter) override;
  void BuildShape(OGRGeometry& geometry) override;

 private:
  double ringTolerance_ = 0.0001;
  OGRPolygon scratch_;
};

// Miscellaneous shot points at their point's X, Y, Z (no measure).
class SvyMiscShotPointCursorHelper final : public ObjectCursor<IMiscShotPoint> {
 public:
  SvyMiscShotPointCursorHelper();

 protected:
  bool PassesFilter(const EnvelopeRelation& filter) override;
  void BuildShape(OGRGeometry& geometry) override;
};

// Objects at Easting, Northing (Z-aware without a Z); the shape is empty
// when either coordinate is undefined.
template <class Object>
class EastingNorthingCursor : public ObjectCursor<Object> {
 protected:
  using ObjectCursor<Object>::ObjectCursor;
  bool PassesFilter(const EnvelopeRelation& filter) override;
  void BuildShape(OGRGeometry& geometry) override;
};

class SvyBenchmarkCursorHelper final : public EastingNorthingCursor<IVerticalControl> {
 public:
  SvyBenchmarkCursorHelper();
};

class SvyGageCursorHelper final : public EastingNorthingCursor<IGage> {
 public:
  SvyGageCursorHelper();
};

// The stations of a traverse at Easting, Northing. Positioning by OID past
// the last station leaves the cursor finished without a report.
class TrvPointCursorHelper final : public ObjectCursor<ITraversePoint> {
 public:
  TrvPointCursorHelper();

  void Initialize(std::shared_ptr<ITraverse> traverse, std::int32_t csid);

 protected:
  bool PassesFilter(const EnvelopeRelation& filter) override;
  void BuildShape(OGRGeometry& geometry) override;
  bool OidPastEndIsError() const override { return false; }
};

}  // namespace veldrane
