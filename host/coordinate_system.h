#pragma once
// The host's spatial reference for a coordinate-system id (CSID) of the
// coordinate system table.
#include <cstdint>

#include "host/spatial_reference.h"

namespace veldrane {

// CSID 0 gives the unknown (empty) spatial reference. Otherwise the
// projection file "<CSID>.prj" of the projection folder (PrjPath()) is used
// when it exists (ESRI or WKT text); else the CSID is taken as an EPSG code.
// Anything that fails yields the unknown spatial reference, never null.
//
// Each system is built once per process (per projection folder); every call
// returns a clone of its own, which the caller may use on any one thread
// and modify.
SpatialReferencePtr GetCoordinateSystem(std::int32_t csid);

// Forgets the systems built so far (tests; after a projection file changed).
void ClearCoordinateSystemCache();

}  // namespace veldrane
