#pragma once
// One field of a feature class (name, type, length, precision, scale,
// nullability, and for the shape field its geometry definition), with its
// OGR counterpart.
//
// Type mapping to OGR:
//   small integer -> OFTInteger, subtype OFSTInt16, width = length
//   integer       -> OFTInteger, width = length
//   single        -> OFTReal, subtype OFSTFloat32, width = length, precision = scale
//   double        -> OFTReal, width = length, precision = scale
//   string        -> OFTString, width = length
//   date          -> OFTDateTime
//   object ID     -> OFTInteger (OGR drivers normally expose it as the FID instead)
//   geometry      -> an OGRGeomFieldDefn of the geometry definition
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <ogr_feature.h>

#include "host/geometry_def.h"
#include "host/host_types.h"

namespace veldrane {

class Field {
 public:
  Field() = default;
  Field(std::string name, HostFieldType type) : name_(std::move(name)), type_(type) {}

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  HostFieldType Type() const { return type_; }
  void SetType(HostFieldType type) { type_ = type; }
  std::int32_t Length() const { return length_; }
  void SetLength(std::int32_t length) { length_ = length; }
  std::int32_t Precision() const { return precision_; }
  void SetPrecision(std::int32_t precision) { precision_ = precision; }
  std::int32_t Scale() const { return scale_; }
  void SetScale(std::int32_t scale) { scale_ = scale; }
  bool IsNullable() const { return nullable_; }
  void SetIsNullable(bool nullable) { nullable_ = nullable; }

  // Present on geometry fields only.
  const GeometryDef* GeometryDefinition() const { return geometryDef_ ? &*geometryDef_ : nullptr; }
  GeometryDef* EditGeometryDefinition() { return geometryDef_ ? &*geometryDef_ : nullptr; }
  void SetGeometryDef(GeometryDef def) { geometryDef_ = std::move(def); }

  // Attribute definition per the mapping above. A geometry field maps to a
  // plain OFTString placeholder (use ToOgrGeomFieldDefn instead).
  std::unique_ptr<OGRFieldDefn> ToOgrFieldDefn() const;
  // The geometry field definition; for a non-geometry field, or one without
  // a geometry definition, the type is wkbUnknown.
  std::unique_ptr<OGRGeomFieldDefn> ToOgrGeomFieldDefn() const;

 private:
  std::string name_;
  HostFieldType type_ = HostFieldType::String;
  std::int32_t length_ = 0;
  std::int32_t precision_ = 0;
  std::int32_t scale_ = 0;
  bool nullable_ = true;
  std::optional<GeometryDef> geometryDef_;
};

}  // namespace veldrane
