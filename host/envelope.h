#pragma once
// An axis-aligned rectangle with an empty state and a spatial reference,
// kept as an OGREnvelope.
#include <ogr_core.h>

#include "host/spatial_reference.h"

namespace veldrane {

class Envelope {
 public:
  Envelope() = default;  // empty
  Envelope(double xMin, double yMin, double xMax, double yMax) { PutCoords(xMin, yMin, xMax, yMax); }

  bool IsEmpty() const { return !box_.IsInit(); }
  void SetEmpty() { box_ = OGREnvelope(); }
  // Stores the rectangle; bounds given in the wrong order are swapped.
  void PutCoords(double xMin, double yMin, double xMax, double yMax);
  // Bounds of an empty envelope are meaningless (OGR's sentinels).
  double XMin() const { return box_.MinX; }
  double YMin() const { return box_.MinY; }
  double XMax() const { return box_.MaxX; }
  double YMax() const { return box_.MaxY; }
  const OGREnvelope& Ogr() const { return box_; }

  // Grows this envelope to cover `other`; an empty `other` changes nothing.
  void Union(const Envelope& other);

  // Strictly inside: the point lies in the interior (not on the boundary),
  // which is what "point within envelope" means for the relational tests.
  bool ContainsPointInterior(double x, double y) const {
    return x > box_.MinX && x < box_.MaxX && y > box_.MinY && y < box_.MaxY;
  }

  const SpatialReferencePtr& SpatialReference() const { return spatialReference_; }
  void SetSpatialReference(SpatialReferencePtr reference) { spatialReference_ = std::move(reference); }

  // Reprojects the rectangle into `target` (the envelope of its four
  // transformed corners and edge samples) and takes `target` as its spatial
  // reference. When either side is unknown, or both are the same, only the
  // spatial reference changes. A transformation that fails leaves the
  // coordinates as they were.
  void Project(const SpatialReferencePtr& target);

 private:
  OGREnvelope box_;
  SpatialReferencePtr spatialReference_;
};

}  // namespace veldrane
