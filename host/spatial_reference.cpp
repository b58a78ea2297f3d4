#include "host/spatial_reference.h"

namespace veldrane {
namespace {
void ReleaseReference(OGRSpatialReference* reference) {
  if (reference) reference->Release();
}
}  // namespace

SpatialReferencePtr AdoptSpatialReference(OGRSpatialReference* reference) {
  if (!reference) return nullptr;
  reference->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  return SpatialReferencePtr(reference, ReleaseReference);
}

SpatialReferencePtr MakeUnknownSpatialReference() { return AdoptSpatialReference(new OGRSpatialReference()); }

bool IsUnknownSpatialReference(const OGRSpatialReference* reference) {
  return reference == nullptr || reference->IsEmpty();
}

bool IsSameSpatialReference(const OGRSpatialReference* a, const OGRSpatialReference* b) {
  const bool aUnknown = IsUnknownSpatialReference(a);
  const bool bUnknown = IsUnknownSpatialReference(b);
  if (aUnknown || bUnknown) return aUnknown && bUnknown;
  return a == b || a->IsSame(b);
}

}  // namespace veldrane
