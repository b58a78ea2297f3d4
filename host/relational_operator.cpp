#include "host/relational_operator.h"

namespace veldrane {
namespace {

bool Disjoint(const OGREnvelope& a, const OGREnvelope& b) {
  return a.MaxX < b.MinX || a.MinX > b.MaxX || a.MaxY < b.MinY || a.MinY > b.MaxY;
}

// Closed containment: `inner` lies inside `outer` or on its boundary.
bool CoveredBy(const OGREnvelope& inner, const OGREnvelope& outer) {
  return inner.MinX >= outer.MinX && inner.MaxX <= outer.MaxX && inner.MinY >= outer.MinY &&
         inner.MaxY <= outer.MaxY;
}

// Open containment: `inner` lies in the interior of `outer`.
bool InInterior(const OGREnvelope& inner, const OGREnvelope& outer) {
  return inner.MinX > outer.MinX && inner.MaxX < outer.MaxX && inner.MinY > outer.MinY &&
         inner.MaxY < outer.MaxY;
}

OGREnvelope BoxOf(const OGRGeometry& shape) {
  OGREnvelope box;
  shape.getEnvelope(&box);
  return box;
}

}  // namespace

EnvelopeRelation::EnvelopeRelation(const Envelope& envelope) : envelope_(envelope) {
  if (envelope_.IsEmpty()) return;
  auto ring = std::make_unique<OGRLinearRing>();
  ring->addPoint(envelope_.XMin(), envelope_.YMin());
  ring->addPoint(envelope_.XMin(), envelope_.YMax());
  ring->addPoint(envelope_.XMax(), envelope_.YMax());
  ring->addPoint(envelope_.XMax(), envelope_.YMin());
  ring->addPoint(envelope_.XMin(), envelope_.YMin());
  polygon_ = std::make_unique<OGRPolygon>();
  polygon_->addRingDirectly(ring.release());
}

// Every point of a shape within the envelope lies in the closed box and at
// least one in its interior; a shape whose box lies in the interior is
// therefore within without further work.
bool EnvelopeRelation::Within(const OGRGeometry& shape) const {
  if (!polygon_ || shape.IsEmpty()) return false;
  const OGREnvelope box = BoxOf(shape);
  if (!CoveredBy(box, envelope_.Ogr())) return false;
  if (InInterior(box, envelope_.Ogr())) return true;
  return shape.Within(polygon_.get()) != FALSE;
}

bool EnvelopeRelation::Contains(const OGRGeometry& shape) const {
  if (!polygon_ || shape.IsEmpty()) return false;
  if (!CoveredBy(envelope_.Ogr(), BoxOf(shape))) return false;
  return shape.Contains(polygon_.get()) != FALSE;
}

// Crossing and overlapping both need part of the shape outside the envelope
// and part inside.
bool EnvelopeRelation::Crosses(const OGRGeometry& shape) const {
  if (!polygon_ || shape.IsEmpty()) return false;
  const OGREnvelope box = BoxOf(shape);
  if (Disjoint(box, envelope_.Ogr()) || CoveredBy(box, envelope_.Ogr())) return false;
  return shape.Crosses(polygon_.get()) != FALSE;
}

bool EnvelopeRelation::Overlaps(const OGRGeometry& shape) const {
  if (!polygon_ || shape.IsEmpty()) return false;
  const OGREnvelope box = BoxOf(shape);
  if (Disjoint(box, envelope_.Ogr()) || CoveredBy(box, envelope_.Ogr())) return false;
  return shape.Overlaps(polygon_.get()) != FALSE;
}

}  // namespace veldrane
