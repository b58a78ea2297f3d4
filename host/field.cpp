#include "host/field.h"

namespace veldrane {

std::unique_ptr<OGRFieldDefn> Field::ToOgrFieldDefn() const {
  auto owned = std::make_unique<OGRFieldDefn>(name_.c_str(), OFTString);
  OGRFieldDefn& defn = *owned;
  switch (type_) {
    case HostFieldType::SmallInteger:
      defn.SetType(OFTInteger);
      defn.SetSubType(OFSTInt16);
      defn.SetWidth(length_);
      break;
    case HostFieldType::Integer:
    case HostFieldType::ObjectId:
      defn.SetType(OFTInteger);
      defn.SetWidth(length_);
      break;
    case HostFieldType::Single:
      defn.SetType(OFTReal);
      defn.SetSubType(OFSTFloat32);
      defn.SetWidth(length_);
      defn.SetPrecision(scale_);
      break;
    case HostFieldType::Double:
      defn.SetType(OFTReal);
      defn.SetWidth(length_);
      defn.SetPrecision(scale_);
      break;
    case HostFieldType::String:
      defn.SetWidth(length_);
      break;
    case HostFieldType::Date:
      defn.SetType(OFTDateTime);
      break;
    case HostFieldType::Geometry:
      break;
  }
  defn.SetNullable(nullable_ ? TRUE : FALSE);
  return owned;
}

std::unique_ptr<OGRGeomFieldDefn> Field::ToOgrGeomFieldDefn() const {
  const GeometryDef* def = GeometryDefinition();
  auto owned = std::make_unique<OGRGeomFieldDefn>(name_.c_str(), def ? def->OgrGeometryType() : wkbUnknown);
  OGRGeomFieldDefn& defn = *owned;
  if (def && def->SpatialReference()) defn.SetSpatialRef(def->SpatialReference().get());
  defn.SetNullable(nullable_ ? TRUE : FALSE);
  return owned;
}

}  // namespace veldrane
