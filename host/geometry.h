#pragma once
// Host geometries are OGR geometries: a point is an OGRPoint, a polyline an
// OGRLineString (one part; Z and M aware as the class says), a polygon an
// OGRPolygon whose rings are OGRLinearRings, outer ring first. These helpers
// give the operations the data source needs on them.
//
// An M value that is "not set" is NaN, as in GIS hosts that carry measures:
// a measure-aware point whose measure is unknown.
#include <memory>

#include <ogr_geometry.h>

#include "host/envelope.h"
#include "host/geometry_def.h"

namespace veldrane {

// A new empty shape for the definition: OGRPoint, OGRLineString or
// OGRPolygon, with the definition's Z and M flags and spatial reference.
// Any other geometry type throws std::invalid_argument.
std::unique_ptr<OGRGeometry> NewShape(const GeometryDef& def);
// The same shape with no flags and no spatial reference, for a caller that
// sets both itself (a driver builds one per feature).
std::unique_ptr<OGRGeometry> NewBareShape(HostGeometryType type);

// Empties the geometry (points lose their coordinates, curves their
// vertices, polygons their rings) and clears its Z and M flags.
void EmptyGeometry(OGRGeometry& geometry);
bool IsEmptyGeometry(const OGRGeometry& geometry);

void SetZAware(OGRGeometry& geometry, bool aware);
void SetMAware(OGRGeometry& geometry, bool aware);

// The 2D envelope of the geometry (empty for an empty geometry), in the
// geometry's spatial reference.
Envelope GeometryEnvelope(const OGRGeometry& geometry);

// Assigns the spatial reference (null assigns none).
void SetGeometrySpatialReference(OGRGeometry& geometry, const SpatialReferencePtr& reference);

// The measure a vertex takes for a survey value: NaN ("no measure") for the
// undefined number.
double MeasureOf(double value);

}  // namespace veldrane
