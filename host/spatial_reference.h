#pragma once
// Spatial references are OGRSpatialReference objects shared by reference:
// the shared_ptr owns one OGR reference (released, not deleted), and every
// geometry that is assigned the reference takes its own. All of them use the
// traditional GIS axis order (x = easting / longitude, y = northing /
// latitude), which is how survey coordinates are written.
#include <memory>

#include <ogr_spatialref.h>

namespace veldrane {

using SpatialReferencePtr = std::shared_ptr<OGRSpatialReference>;

// A new, empty spatial reference: the "unknown coordinate system".
SpatialReferencePtr MakeUnknownSpatialReference();

// Takes over one reference of `reference` (which may be null: the result is
// then null as well).
SpatialReferencePtr AdoptSpatialReference(OGRSpatialReference* reference);

// True for null and for an empty (unknown) spatial reference.
bool IsUnknownSpatialReference(const OGRSpatialReference* reference);

// True when both are unknown, or both are known and describe the same
// coordinate system.
bool IsSameSpatialReference(const OGRSpatialReference* a, const OGRSpatialReference* b);

}  // namespace veldrane
