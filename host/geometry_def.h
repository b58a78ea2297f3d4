#pragma once
// The geometry definition of a feature class's shape field: geometry type,
// Z and M awareness and spatial reference.
#include <ogr_core.h>

#include "host/host_types.h"
#include "host/spatial_reference.h"

namespace veldrane {

class GeometryDef {
 public:
  HostGeometryType GeometryType() const { return type_; }
  void SetGeometryType(HostGeometryType type) { type_ = type; }
  bool HasZ() const { return hasZ_; }
  void SetHasZ(bool hasZ) { hasZ_ = hasZ; }
  bool HasM() const { return hasM_; }
  void SetHasM(bool hasM) { hasM_ = hasM; }
  const SpatialReferencePtr& SpatialReference() const { return spatialReference_; }
  void SetSpatialReference(SpatialReferencePtr reference) { spatialReference_ = std::move(reference); }

  // The OGR geometry type of shapes of this definition: point -> wkbPoint,
  // polyline -> wkbLineString (survey lines are single-part), polygon ->
  // wkbPolygon, anything else -> wkbUnknown; with the Z and M variants.
  OGRwkbGeometryType OgrGeometryType() const;

 private:
  HostGeometryType type_ = HostGeometryType::Null;
  bool hasZ_ = false;
  bool hasM_ = false;
  SpatialReferencePtr spatialReference_;
};

}  // namespace veldrane
