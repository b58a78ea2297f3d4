#include "host/row_buffer.h"

#include <stdexcept>

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
    : fields_(std::move(fields)), ogrIndexes_(std::move(ogrIndexes)) {
  ogrIndexes_.resize(static_cast<std::size_t>(fields_ ? fields_->FieldCount() : 0), -1);
}

OgrFeatureRowBuffer OgrFeatureRowBuffer::ForDefinition(std::shared_ptr<const Fields> fields,
                                                       const OGRFeatureDefn& definition) {
  std::vector<int> indexes;
  const std::int32_t count = fields ? fields->FieldCount() : 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const Field& field = fields->GetField(i);
    const bool attribute = field.Type() != HostFieldType::ObjectId && field.Type() != HostFieldType::Geometry;
    indexes.push_back(attribute ? definition.GetFieldIndex(field.Name().c_str()) : -1);
  }
  return OgrFeatureRowBuffer(std::move(fields), std::move(indexes));
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

void OgrFeatureRowBuffer::SetInteger(std::int32_t index, std::int32_t value) {
  const int target = Target(index);
  if (target >= 0) feature_->SetField(target, static_cast<int>(value));
}

void OgrFeatureRowBuffer::SetDouble(std::int32_t index, double value) {
  const int target = Target(index);
  if (target >= 0) feature_->SetField(target, value);
}

void OgrFeatureRowBuffer::SetString(std::int32_t index, std::string_view value) {
  const int target = Target(index);
  if (target < 0) return;
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
