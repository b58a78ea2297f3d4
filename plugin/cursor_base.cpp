#include "plugin/cursor_base.h"

#include <limits>

#include "host/coordinate_system.h"
#include "host/geometry.h"
#include "model/constants.h"
#include "model/error_propagation.h"
#include "model/survey_error.h"

namespace veldrane {

SvyCursorBase::SvyCursorBase(ClassKind kind, const CursorTexts& texts)
    : kind_(kind), texts_(texts), schema_(ClassSchema(kind)) {}

void SvyCursorBase::Report(const char* member, const std::exception& failure) const {
  ReportProcedureError(true, ProcedureWhere(member, texts_.module), failure);
}

void SvyCursorBase::ThrowNoNextRecord() const { throw RaisedError(kErrUnexpected, texts_.module, "No next record"); }

void SvyCursorBase::ThrowWrongShape() const {
  throw RaisedError(kErrUnexpected, texts_.module, "The shape does not have the class's geometry type");
}

void SvyCursorBase::StartRecords(std::int32_t csid) {
  ordinal_ = 0;
  SetCSID(csid);
}

void SvyCursorBase::SetCSID(std::int32_t csid) {
  csid_ = csid;
  spatialReference_ = GetCoordinateSystem(csid);
}

void SvyCursorBase::SetFieldMap(const FieldMap& fieldMap) {
  try {
    fieldMap_ = fieldMap;
    planFields_.reset();
    if (!fieldMap.IsLongArray())
      throw RaisedError(kErrUnexpected, texts_.module, "Unexepected situation: FieldMap received not an array of longs");
    if (fieldMap.LowerBound() != 0)
      throw RaisedError(kErrUnexpected, texts_.module, "Unexepected situation: FieldMap array not based on zero");
  } catch (const std::exception& failure) {
    Report("FieldMap", failure);
  }
}

void SvyCursorBase::SetOID(std::int64_t oid) {
  try {
    if (!IsInitialized()) throw RaisedError(kErrUnexpected, texts_.module, texts_.notInitialized);
    if (oid < std::numeric_limits<std::int32_t>::min() || oid > std::numeric_limits<std::int32_t>::max())
      throw RaisedError(kErrUnexpected, texts_.module, "Overflow");
    if (!PositionOnOid(static_cast<std::int32_t>(oid)) && OidPastEndIsError()) ThrowNoNextRecord();
  } catch (const std::exception& failure) {
    Report("OID", failure);
  }
}

bool SvyCursorBase::PositionOnOid(std::int32_t target) {
  if (target == ordinal_) return true;
  if (ordinal_ > target) {
    Rewind();
    ordinal_ = 0;
  }
  const bool reached = target <= ordinal_ || AdvanceBy(target - ordinal_);
  ordinal_ = target;
  return reached;
}

bool SvyCursorBase::AdvanceBy(std::int32_t count) {
  for (; count > 0; --count) {
    if (!Advance()) return false;
  }
  return true;
}

void SvyCursorBase::SetQueryEnvelope(const Envelope& envelope) {
  try {
    Envelope projected = envelope;
    projected.Project(spatialReference_);
    filter_.emplace(projected);
  } catch (const std::exception& failure) {
    Report("QueryEnvelope", failure);
  }
}

void SvyCursorBase::NextRecord() {
  ++ordinal_;
  if (!IsInitialized()) throw RaisedError(kErrUnexpected, texts_.module, texts_.noIterator);
  const bool found = filter_ ? AdvanceFiltered(*filter_) : Advance();
  if (!found) ThrowNoNextRecord();
}

bool SvyCursorBase::AdvanceFiltered(const EnvelopeRelation& filter) {
  if (!Advance()) return false;
  while (!PassesFilter(filter)) {
    ++ordinal_;
    if (!Advance()) return false;
  }
  return true;
}

bool SvyCursorBase::IsFinished() { return !HasCurrent(); }

std::int32_t SvyCursorBase::QueryValues(IRowBuffer& row) {
  try {
    if (!HasCurrent()) return -1;
    if (!row.FieldSet() || fieldMap_.Count() != row.FieldSet()->FieldCount())
      throw RaisedError(kErrUnexpected, texts_.module, "Number of elements in Fieldmap does not match number of fields");
    for (const FillStep& step : FillPlan(row)) {
      WriteValue(schema_[static_cast<std::size_t>(step.column)], row, step.position);
    }
    return ordinal_;
  } catch (const std::exception& failure) {
    Report("QueryValues", failure);
    return 0;
  }
}

const std::vector<SvyCursorBase::FillStep>& SvyCursorBase::FillPlan(const IRowBuffer& row) {
  if (planFields_ && planFields_ == row.FieldSet()) return plan_;
  planFields_.reset();
  plan_.clear();
  const Fields& fields = *row.FieldSet();
  for (std::int32_t i = 0; i < fields.FieldCount(); ++i) {
    const Field& field = fields.GetField(i);
    if (field.Type() == HostFieldType::ObjectId || field.Type() == HostFieldType::Geometry) continue;
    if (fieldMap_.Entry(i) == -1) continue;
    const std::int32_t column = FindSchemaField(kind_, field.Name());
    if (column < 0) {
      OnUnknownField(field.Name());
      continue;
    }
    plan_.push_back(FillStep{i, column});
  }
  planFields_ = row.FieldSet();
  return plan_;
}

void SvyCursorBase::OnUnknownField(const std::string&) {}

void SvyCursorBase::QueryShape(OGRGeometry& geometry) {
  try {
    EmptyGeometry(geometry);
    if (HasCurrent()) BuildShape(geometry);
  } catch (const std::exception& failure) {
    Report("QueryShape", failure);
  }
}

}  // namespace veldrane
