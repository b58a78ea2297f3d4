#pragma once
// What every feature cursor shares: the field map and its checks, the record
// ordinal (the OID), the spatial reference made from the coordinate-system
// code, the optional query envelope, and the host-facing members built on a
// few per-kind steps (HasCurrent, Advance, Rewind, PassesFilter, WriteValue,
// BuildShape).
//
// Records are numbered 0, 1, 2, ... in the order of the full iteration; an
// envelope filter skips records but never renumbers them.
//
// QueryValues works out once per row-buffer field set which buffer position
// is filled from which class field (by name), so that filling a record is a
// walk over a short list without any name lookup.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include <ogr_geometry.h>

#include "host/envelope.h"
#include "host/field_map.h"
#include "host/relational_operator.h"
#include "host/row_buffer.h"
#include "host/spatial_reference.h"
#include "plugin/class_schemas.h"
#include "plugin/plugin_interfaces.h"

namespace veldrane {

// The error texts of one cursor class.
struct CursorTexts {
  const char* module;          // error source, e.g. "SvyCrossSectionPointCursorHelper"
  const char* noIterator;      // NextRecord on a cursor never initialised
  const char* notInitialized;  // OID on a cursor never initialised
};

class SvyCursorBase : public IPlugInCursorHelper {
 public:
  // Class members the dataset helper calls (FieldMap, Initialize, then OID
  // or QueryEnvelope). They report their own failures.
  void SetFieldMap(const FieldMap& fieldMap);
  void SetCSID(std::int32_t csid);
  void SetOID(std::int64_t oid);
  void SetQueryEnvelope(const Envelope& envelope);

  std::int32_t RecordOrdinal() const { return ordinal_; }
  const SpatialReferencePtr& SpatialReference() const { return spatialReference_; }
  ClassKind Kind() const { return kind_; }

  // IPlugInCursorHelper
  void NextRecord() override;
  bool IsFinished() override;
  std::int32_t QueryValues(IRowBuffer& row) override;
  void QueryShape(OGRGeometry& geometry) override;

 protected:
  SvyCursorBase(ClassKind kind, const CursorTexts& texts);

  // Called by the Initialize of the concrete cursors: ordinal 0, spatial
  // reference of the code.
  void StartRecords(std::int32_t csid);
  // The common Initialize: StartRecords, `keep` stores what is walked, then
  // Rewind takes record 0. Failures are reported.
  template <class Keep>
  void InitializeWith(std::int32_t csid, Keep keep) {
    try {
      StartRecords(csid);
      keep();
      Rewind();
    } catch (const std::exception& failure) {
      Report("Initialize", failure);
    }
  }
  void SetOrdinal(std::int32_t ordinal) { ordinal_ = ordinal; }
  const CursorTexts& Texts() const { return texts_; }
  const EnvelopeRelation* Filter() const { return filter_ ? &*filter_ : nullptr; }
  // Throws RaisedError(-200010, module, "No next record").
  [[noreturn]] void ThrowNoNextRecord() const;
  // The host's geometry as the shape type of the class (OGRPoint,
  // OGRLineString or OGRPolygon); a geometry of another type is a failure.
  template <class Shape>
  Shape& ShapeAs(OGRGeometry& geometry) const {
    if (wkbFlatten(geometry.getGeometryType()) != ShapeTypeOf<Shape>()) ThrowWrongShape();
    return static_cast<Shape&>(geometry);
  }
  // Reports a failure caught by a member, naming the member (top level).
  void Report(const char* member, const std::exception& failure) const;

  // Whether Initialize has run (NextRecord and OID fail before).
  virtual bool IsInitialized() const = 0;
  virtual bool HasCurrent() const = 0;
  // Moves to the next record of the full iteration; false at the end, the
  // cursor then being finished. The ordinal is the caller's business.
  virtual bool Advance() = 0;
  // Back to record 0 (the ordinal is set by the caller).
  virtual void Rewind() = 0;
  // Whether the current record's shape meets the envelope.
  virtual bool PassesFilter(const EnvelopeRelation& filter) = 0;
  // Moves one record on (already counted in the ordinal), then on while the
  // current record fails the filter, counting every record passed over;
  // false at the end. The default steps one record at a time; cursors that
  // know whole groups of records miss the envelope pass them at once.
  virtual bool AdvanceFiltered(const EnvelopeRelation& filter);
  // Moves `count` records on (count > 0) for positioning by OID; false at
  // the end.
  virtual bool AdvanceBy(std::int32_t count);
  // Positions on record `target` for SetOID: nothing when already there,
  // else rewinds when going backwards, then advances. False when the
  // records ran out first.
  virtual bool PositionOnOid(std::int32_t target);
  // Writes one class field of the current record at buffer position `pos`.
  virtual void WriteValue(const SchemaField& field, IRowBuffer& row, std::int32_t pos) = 0;
  // Fills the (already emptied) geometry with the current record's shape.
  virtual void BuildShape(OGRGeometry& geometry) = 0;
  // A mapped buffer field the class does not know: skipped (default) or a
  // failure of QueryValues.
  virtual void OnUnknownField(const std::string& name);
  // Whether OID positioning past the end is reported (default) or simply
  // leaves the cursor finished.
  virtual bool OidPastEndIsError() const { return true; }

 private:
  template <class Shape>
  static constexpr OGRwkbGeometryType ShapeTypeOf() {
    if constexpr (std::is_same_v<Shape, OGRPoint>) return wkbPoint;
    if constexpr (std::is_same_v<Shape, OGRLineString>) return wkbLineString;
    if constexpr (std::is_same_v<Shape, OGRPolygon>) return wkbPolygon;
  }
  [[noreturn]] void ThrowWrongShape() const;

  struct FillStep {
    std::int32_t position;
    std::int32_t column;
  };
  const std::vector<FillStep>& FillPlan(const IRowBuffer& row);

  ClassKind kind_;
  CursorTexts texts_;
  std::span<const SchemaField> schema_;
  FieldMap fieldMap_;
  std::int32_t ordinal_ = -1;
  std::int32_t csid_ = 0;
  SpatialReferencePtr spatialReference_;
  std::optional<EnvelopeRelation> filter_;
  // The fill plan and the field set it was worked out for.
  std::shared_ptr<const Fields> planFields_;
  std::vector<FillStep> plan_;
};

}  // namespace veldrane
