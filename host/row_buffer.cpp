#include "host/row_buffer.h"

#include <cstring>
#include <stdexcept>

#include <cpl_conv.h>
#include <ogr_api.h>
#include <ogr_feature.h>

namespace veldrane {

// --- RowBuffer -------------------------------------------------------------

RowBuffer::RowBuffer(std::shared_ptr<const Fields> fields)
    : fields_(std::move(fields)), values_(static_cast<std::size_t>(fields_ ? fields_->FieldCount() : 0)) {}

RowValue& RowBuffer::At(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= values_.size())
    throw std::out_of_range("row buffer index " + std::to_string(index));
  return values_[static_cast<std::size_t>(index)];
}

const RowValue& RowBuffer::Value(std::int32_t index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= values_.size())
    throw std::out_of_range("row buffer index " + std::to_string(index));
  return values_[static_cast<std::size_t>(index)];
}

void RowBuffer::Clear() {
  for (RowValue& value : values_) value.kind = RowValue::Kind::Unset;
}

RowValue& RowBuffer::Mark(std::int32_t index, RowValue::Kind kind) {
  RowValue& value = At(index);
  value.kind = kind;
  return value;
}

void RowBuffer::SetNull(std::int32_t index) { Mark(index, RowValue::Kind::Null); }

void RowBuffer::SetSmallInteger(std::int32_t index, std::int16_t value) {
  Mark(index, RowValue::Kind::SmallInteger).integer = value;
}

void RowBuffer::SetInteger(std::int32_t index, std::int32_t value) {
  Mark(index, RowValue::Kind::Integer).integer = value;
}

void RowBuffer::SetDouble(std::int32_t index, double value) { Mark(index, RowValue::Kind::Double).number = value; }

void RowBuffer::SetString(std::int32_t index, std::string_view value) {
  Mark(index, RowValue::Kind::String).text.assign(value);
}

void RowBuffer::SetDate(std::int32_t index, const DateTime& value) { Mark(index, RowValue::Kind::Date).date = value; }

// --- OgrFeatureRowBuffer ---------------------------------------------------

namespace {
// Layers write millions of values; these kinds of attribute take a value of
// their own type without OGR's checks changing anything (a Float32 attribute
// keeps the double it is given).
bool HoldsAsIs(const OGRFieldDefn& defn, OGRFieldType type) {
  return defn.GetType() == type && (defn.GetSubType() == OFSTNone || defn.GetSubType() == OFSTFloat32);
}
}  // namespace

OgrFeatureRowBuffer::OgrFeatureRowBuffer(std::shared_ptr<const Fields> fields, const OGRFeatureDefn& definition)
    : fields_(std::move(fields)) {
  const std::int32_t count = fields_ ? fields_->FieldCount() : 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const Field& field = fields_->GetField(i);
    const bool attribute = field.Type() != HostFieldType::ObjectId && field.Type() != HostFieldType::Geometry;
    Slot slot;
    slot.target = attribute ? definition.GetFieldIndex(field.Name().c_str()) : -1;
    if (const OGRFieldDefn* defn = slot.target >= 0 ? definition.GetFieldDefn(slot.target) : nullptr) {
      if (defn->GetType() == OFTInteger && defn->GetSubType() == OFSTInt16) slot.store = Store::Int16;
      else if (HoldsAsIs(*defn, OFTInteger)) slot.store = Store::Integer;
      else if (HoldsAsIs(*defn, OFTReal)) slot.store = Store::Real;
      else if (HoldsAsIs(*defn, OFTString)) slot.store = Store::String;
    }
    slots_.push_back(slot);
  }
}

std::vector<int> OgrFeatureRowBuffer::OgrIndexes() const {
  std::vector<int> indexes;
  for (const Slot& slot : slots_) indexes.push_back(slot.target);
  return indexes;
}

void OgrFeatureRowBuffer::ThrowOutOfRange(std::int32_t index) {
  throw std::out_of_range("row buffer index " + std::to_string(index));
}

bool OgrFeatureRowBuffer::IsUnset(int target) const { return OGR_RawField_IsUnset(feature_->GetRawFieldRef(target)); }

void OgrFeatureRowBuffer::SetNull(std::int32_t index) {
  const Slot* slot = Target(index);
  if (slot == nullptr) return;
  // An attribute not written yet holds nothing to free.
  if (IsUnset(slot->target)) {
    OGR_RawField_SetNull(feature_->GetRawFieldRef(slot->target));
  } else {
    feature_->SetFieldNull(slot->target);
  }
}

void OgrFeatureRowBuffer::SetSmallInteger(std::int32_t index, std::int16_t value) {
  SetInteger(index, value);
}

void OgrFeatureRowBuffer::SetInteger(std::int32_t index, std::int32_t value) {
  const Slot* slot = Target(index);
  if (slot == nullptr) return;
  // Out of an Int16's range OGR clamps the value and warns; leave that to it.
  const bool asIs = slot->store == Store::Integer ||
                    (slot->store == Store::Int16 && value >= INT16_MIN && value <= INT16_MAX);
  if (asIs) {
    feature_->SetFieldSameTypeUnsafe(slot->target, static_cast<int>(value));
  } else {
    feature_->SetField(slot->target, static_cast<int>(value));
  }
}

void OgrFeatureRowBuffer::SetDouble(std::int32_t index, double value) {
  const Slot* slot = Target(index);
  if (slot == nullptr) return;
  if (slot->store == Store::Real) {
    feature_->SetFieldSameTypeUnsafe(slot->target, value);
  } else {
    feature_->SetField(slot->target, value);
  }
}

void OgrFeatureRowBuffer::SetString(std::int32_t index, std::string_view value) {
  const Slot* slot = Target(index);
  if (slot == nullptr) return;
  // A text stored directly becomes the feature's; one already set is
  // replaced the checked way so its old copy is freed.
  if (slot->store == Store::String && IsUnset(slot->target)) {
    auto* copy = static_cast<char*>(CPLMalloc(value.size() + 1));
    if (!value.empty()) std::memcpy(copy, value.data(), value.size());
    copy[value.size()] = '\0';
    feature_->SetFieldSameTypeUnsafe(slot->target, copy);
    return;
  }
  scratch_.assign(value);
  feature_->SetField(slot->target, scratch_.c_str());
}

void OgrFeatureRowBuffer::SetDate(std::int32_t index, const DateTime& value) {
  const Slot* slot = Target(index);
  if (slot == nullptr) return;
  feature_->SetField(slot->target, value.Year(), value.Month(), value.Day(), value.Hour(), value.Minute(),
                     static_cast<float>(value.Second()), 0);
}

}  // namespace veldrane
