#pragma once
// Relational tests of shapes against a query envelope: Within, Contains,
// Crosses and Overlaps with their usual (DE-9IM) meaning, the shape being the
// first operand. The envelope is turned into a polygon once, when the
// operator is made, and shapes are first compared by their bounding boxes so
// that shapes far away from the envelope cost a few comparisons. Points have
// a purely numeric test.
#include <memory>

#include <ogr_geometry.h>

#include "host/envelope.h"

namespace veldrane {

class EnvelopeRelation {
 public:
  explicit EnvelopeRelation(const Envelope& envelope);

  const Envelope& Box() const { return envelope_; }

  // A point is within the envelope when it lies in its interior. An empty
  // envelope contains nothing.
  bool PointWithin(double x, double y) const { return envelope_.ContainsPointInterior(x, y); }

  bool Within(const OGRGeometry& shape) const;
  bool Contains(const OGRGeometry& shape) const;
  bool Crosses(const OGRGeometry& shape) const;
  bool Overlaps(const OGRGeometry& shape) const;

 private:
  Envelope envelope_;
  std::unique_ptr<OGRPolygon> polygon_;
};

}  // namespace veldrane
