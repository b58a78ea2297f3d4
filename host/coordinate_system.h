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
// Results are cached per thread by CSID and shared: callers must not modify
// the returned object (clone it first).
SpatialReferencePtr GetCoordinateSystem(std::int32_t csid);

// Drops the calling thread's cache, e.g. after the projection folder changed.
void ClearCoordinateSystemCache();

}  // namespace veldrane
