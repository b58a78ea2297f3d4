#include "host/row_buffer.h"

#include <cstring>
#include <stdexcept>

#include <cpl_conv.h>
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

OgrFeatureRowBuffer::OgrFeatureRowBuffer(std::shared_ptr<const Fields> fields, std::vector<int> ogrIndexes)
    : OgrFeatureRowBuffer(std::move(fields), std::move(ogrIndexes), {}) {}

OgrFeatureRowBuffer::OgrFeatureRowBuffer(std::shared_ptr<const Fields> fields, std::vector<int> ogrIndexes,
                                         std::vector<int> ogrTypes)
    : fields_(std::move(fields)), ogrIndexes_(std::move(ogrIndexes)), ogrTypes_(std::move(ogrTypes)) {
  const auto count = static_cast<std::size_t>(fields_ ? fields_->FieldCount() : 0);
  ogrIndexes_.resize(count, -1);
  ogrTypes_.resize(count, -1);
}

OgrFeatureRowBuffer OgrFeatureRowBuffer::ForDefinition(std::shared_ptr<const Fields> fields,
                                                       const OGRFeatureDefn& definition) {
  std::vector<int> indexes, types;
  const std::int32_t count = fields ? fields->FieldCount() : 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const Field& field = fields->GetField(i);
    const bool attribute = field.Type() != HostFieldType::ObjectId && field.Type() != HostFieldType::Geometry;
    const int target = attribute ? definition.GetFieldIndex(field.Name().c_str()) : -1;
    indexes.push_back(target);
    // Subtypes (Int16, Float32, Boolean) keep OGR's range checks.
    const OGRFieldDefn* defn = target >= 0 ? definition.GetFieldDefn(target) : nullptr;
    types.push_back(defn != nullptr && defn->GetSubType() == OFSTNone ? static_cast<int>(defn->GetType()) : -1);
  }
  return OgrFeatureRowBuffer(std::move(fields), std::move(indexes), std::move(types));
}

int OgrFeatureRowBuffer::Target(std::int32_t index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= ogrIndexes_.size())
    throw std::out_of_range("row buffer index " + std::to_string(index));
  return feature_ ? ogrIndexes_[static_cast<std::size_t>(index)] : -1;
}

void OgrFeatureRowBuffer::SetNull(std::int32_t index) {
  const int target = Target(index);
  if (target >= 0) feature_->SetFieldNull(target);
}

void OgrFeatureRowBuffer::SetSmallInteger(std::int32_t index, std::int16_t value) {
  const int target = Target(index);
  if (target >= 0) feature_->SetField(target, static_cast<int>(value));
}

// Layers write millions of values; where the attribute has the value's own
// type the value is stored directly, skipping OGR's conversion checks.
void OgrFeatureRowBuffer::SetInteger(std::int32_t index, std::int32_t value) {
  const int target = Target(index);
  if (target < 0) return;
  if (Stores(index, OFTInteger)) {
    feature_->SetFieldSameTypeUnsafe(target, static_cast<int>(value));
  } else {
    feature_->SetField(target, static_cast<int>(value));
  }
}

void OgrFeatureRowBuffer::SetDouble(std::int32_t index, double value) {
  const int target = Target(index);
  if (target < 0) return;
  if (Stores(index, OFTReal)) {
    feature_->SetFieldSameTypeUnsafe(target, value);
  } else {
    feature_->SetField(target, value);
  }
}

void OgrFeatureRowBuffer::SetString(std::int32_t index, std::string_view value) {
  const int target = Target(index);
  if (target < 0) return;
  // A text stored directly becomes the feature's; one already set is
  // replaced the checked way so its old copy is freed.
  if (Stores(index, OFTString) && !feature_->IsFieldSet(target)) {
    auto* copy = static_cast<char*>(CPLMalloc(value.size() + 1));
    if (!value.empty()) std::memcpy(copy, value.data(), value.size());
    copy[value.size()] = '\0';
    feature_->SetFieldSameTypeUnsafe(target, copy);
    return;
  }
  scratch_.assign(value);
  feature_->SetField(target, scratch_.c_str());
}

void OgrFeatureRowBuffer::SetDate(std::int32_t index, const DateTime& value) {
  const int target = Target(index);
  if (target < 0) return;
  feature_->SetField(target, value.Year(), value.Month(), value.Day(), value.Hour(), value.Minute(),
                     static_cast<float>(value.Second()), 0);
}

}  // namespace veldrane
