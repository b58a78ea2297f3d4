#include "host/envelope.h"

#include <algorithm>
#include <memory>

#include <cpl_error.h>
#include <ogr_spatialref.h>

namespace veldrane {

void Envelope::PutCoords(double xMin, double yMin, double xMax, double yMax) {
  box_.MinX = std::min(xMin, xMax);
  box_.MaxX = std::max(xMin, xMax);
  box_.MinY = std::min(yMin, yMax);
  box_.MaxY = std::max(yMin, yMax);
}

void Envelope::Union(const Envelope& other) {
  if (other.IsEmpty()) return;
  box_.Merge(other.box_);
}

void Envelope::Project(const SpatialReferencePtr& target) {
  const bool transform = !IsEmpty() && !IsUnknownSpatialReference(spatialReference_.get()) &&
                         !IsUnknownSpatialReference(target.get()) &&
                         !IsSameSpatialReference(spatialReference_.get(), target.get());
  if (transform) {
    CPLPushErrorHandler(CPLQuietErrorHandler);
    std::unique_ptr<OGRCoordinateTransformation> ct(
        OGRCreateCoordinateTransformation(spatialReference_.get(), target.get()));
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    if (ct && ct->TransformBounds(box_.MinX, box_.MinY, box_.MaxX, box_.MaxY, &xMin, &yMin, &xMax, &yMax, 21)) {
      PutCoords(xMin, yMin, xMax, yMax);
    }
    CPLPopErrorHandler();
  }
  spatialReference_ = target;
}

}  // namespace veldrane
