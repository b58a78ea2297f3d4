#pragma once
// An ordered field set (the host's field collection and its editor).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <ogr_feature.h>

#include "host/field.h"

namespace veldrane {

class Fields {
 public:
  std::int32_t FieldCount() const { return static_cast<std::int32_t>(fields_.size()); }
  // Throws std::out_of_range for an index outside 0 .. FieldCount() - 1.
  const Field& GetField(std::int32_t index) const;
  Field& EditField(std::int32_t index);
  void AddField(Field field) { fields_.push_back(std::move(field)); }

  // Position of the field with exactly this name, -1 when absent.
  std::int32_t FindField(std::string_view name) const;
  // Position of the first geometry field, -1 when there is none.
  std::int32_t GeometryFieldIndex() const;

  // A new OGR layer definition named `layerName` (reference count 0, the
  // caller takes it): every field that is neither object ID nor geometry in
  // field order, then the geometry field (when there is one). The
  // definition's default geometry field is replaced, so it has exactly the
  // one geometry field of this set.
  OGRFeatureDefn* NewOgrFeatureDefn(const std::string& layerName) const;

 private:
  std::vector<Field> fields_;
};

// The required fields of a new feature class: the object-ID field
// "OBJECTID" at position 0 and the geometry field "SHAPE" at position 1
// (a geometry definition without type, flags or spatial reference yet).
Fields FeatureClassRequiredFields();

}  // namespace veldrane
