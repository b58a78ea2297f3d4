#include "host/geometry.h"

#include <cmath>
#include <stdexcept>

#include "model/constants.h"

namespace veldrane {

std::unique_ptr<OGRGeometry> NewBareShape(HostGeometryType type) {
  switch (type) {
    case HostGeometryType::Point: return std::make_unique<OGRPoint>();
    case HostGeometryType::Polyline: return std::make_unique<OGRLineString>();
    case HostGeometryType::Polygon: return std::make_unique<OGRPolygon>();
    default: throw std::invalid_argument("no shape for geometry type " + std::to_string(static_cast<int>(type)));
  }
}

std::unique_ptr<OGRGeometry> NewShape(const GeometryDef& def) {
  std::unique_ptr<OGRGeometry> shape = NewBareShape(def.GeometryType());
  SetZAware(*shape, def.HasZ());
  SetMAware(*shape, def.HasM());
  SetGeometrySpatialReference(*shape, def.SpatialReference());
  return shape;
}

void EmptyGeometry(OGRGeometry& geometry) {
  geometry.empty();
  if (wkbFlatten(geometry.getGeometryType()) == wkbPoint) {
    // An emptied point keeps no stale measure: "not set" is NaN.
    static_cast<OGRPoint&>(geometry).setM(std::nan(""));
  }
  geometry.set3D(FALSE);
  geometry.setMeasured(FALSE);
}

bool IsEmptyGeometry(const OGRGeometry& geometry) { return geometry.IsEmpty() != FALSE; }

void SetZAware(OGRGeometry& geometry, bool aware) { geometry.set3D(aware ? TRUE : FALSE); }

void SetMAware(OGRGeometry& geometry, bool aware) { geometry.setMeasured(aware ? TRUE : FALSE); }

Envelope GeometryEnvelope(const OGRGeometry& geometry) {
  Envelope envelope;
  if (!IsEmptyGeometry(geometry)) {
    OGREnvelope box;
    geometry.getEnvelope(&box);
    envelope.PutCoords(box.MinX, box.MinY, box.MaxX, box.MaxY);
  }
  if (OGRSpatialReference* reference = geometry.getSpatialReference()) {
    reference->Reference();
    envelope.SetSpatialReference(AdoptSpatialReference(reference));
  }
  return envelope;
}

void SetGeometrySpatialReference(OGRGeometry& geometry, const SpatialReferencePtr& reference) {
  geometry.assignSpatialReference(reference.get());
}

double MeasureOf(double value) { return IsUndefined(value) ? std::nan("") : value; }

}  // namespace veldrane
