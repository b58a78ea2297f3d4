#include "readers/em/em_gage.h"

namespace veldrane {

bool EMGage::Equals(IInterface* other) const {
  auto* gage = dynamic_cast<IGage*>(other);
  if (gage == nullptr) return false;
  if (!(name_ == gage->Name() && code_ == gage->Code() && description_ == gage->Description() &&
        fieldBook_ == gage->FieldBook() && pageNumber_ == gage->PageNumber() &&
        waterSurfaceElevation_ == gage->WaterSurfaceElevation() && measurementDate_ == gage->MeasurementDate() &&
        lmsl_ == gage->LocalMeanSeaLevelReference() && mllw_ == gage->MeanLowerLowWaterReference() &&
        easting_ == gage->Easting()))
    return false;
  const auto otherBenchmark = gage->Benchmark();
  if (!benchmark_ || !otherBenchmark) return !benchmark_ && !otherBenchmark;
  return benchmark_->Name() == otherBenchmark->Name();
}

}  // namespace veldrane
