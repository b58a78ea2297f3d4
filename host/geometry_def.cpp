#include "host/geometry_def.h"

namespace veldrane {

OGRwkbGeometryType GeometryDef::OgrGeometryType() const {
  OGRwkbGeometryType flat = wkbUnknown;
  switch (type_) {
    case HostGeometryType::Point: flat = wkbPoint; break;
    case HostGeometryType::Polyline: flat = wkbLineString; break;
    case HostGeometryType::Polygon: flat = wkbPolygon; break;
    default: return wkbUnknown;
  }
  return OGR_GT_SetModifier(flat, hasZ_ ? TRUE : FALSE, hasM_ ? TRUE : FALSE);
}

}  // namespace veldrane
