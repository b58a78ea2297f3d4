#include "host/fields.h"

#include <stdexcept>

namespace veldrane {

const Field& Fields::GetField(std::int32_t index) const {
  if (index < 0 || index >= FieldCount()) throw std::out_of_range("field index " + std::to_string(index));
  return fields_[static_cast<std::size_t>(index)];
}

Field& Fields::EditField(std::int32_t index) {
  if (index < 0 || index >= FieldCount()) throw std::out_of_range("field index " + std::to_string(index));
  return fields_[static_cast<std::size_t>(index)];
}

std::int32_t Fields::FindField(std::string_view name) const {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i].Name() == name) return static_cast<std::int32_t>(i);
  }
  return -1;
}

std::int32_t Fields::GeometryFieldIndex() const {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i].Type() == HostFieldType::Geometry) return static_cast<std::int32_t>(i);
  }
  return -1;
}

OGRFeatureDefn* Fields::NewOgrFeatureDefn(const std::string& layerName) const {
  auto* defn = new OGRFeatureDefn(layerName.c_str());
  while (defn->GetGeomFieldCount() > 0) defn->DeleteGeomFieldDefn(0);
  for (const Field& field : fields_) {
    if (field.Type() == HostFieldType::ObjectId || field.Type() == HostFieldType::Geometry) continue;
    defn->AddFieldDefn(field.ToOgrFieldDefn().get());
  }
  const std::int32_t shape = GeometryFieldIndex();
  if (shape >= 0) {
    defn->AddGeomFieldDefn(GetField(shape).ToOgrGeomFieldDefn().get());
  }
  return defn;
}

Fields FeatureClassRequiredFields() {
  Fields fields;
  Field oid(kObjectIdFieldName, HostFieldType::ObjectId);
  oid.SetIsNullable(false);
  fields.AddField(std::move(oid));
  Field shape(kShapeFieldName, HostFieldType::Geometry);
  shape.SetGeometryDef(GeometryDef());
  fields.AddField(std::move(shape));
  return fields;
}

}  // namespace veldrane
