#pragma once
// A gage reading ("#G" records) of an EM survey.
#include <memory>
#include <string>
#include <vector>

#include "model/constants.h"
#include "model/date_time.h"
#include "model/features.h"
#include "model/iterators.h"

namespace veldrane {

class EMGage : public IGage {
 public:
  double WaterSurfaceElevation() override { return waterSurfaceElevation_; }
  std::string Name() override { return name_; }
  double Northing() override { return northing_; }
  double Easting() override { return easting_; }
  std::string Code() override { return code_; }
  DateTime MeasurementDate() override { return measurementDate_; }
  double LocalMeanSeaLevelReference() override { return lmsl_; }
  double MeanLowerLowWaterReference() override { return mllw_; }
  // The notes exactly as accumulated, including the blank that ends each.
  std::string Description() override { return description_; }
  std::string FieldBook() override { return fieldBook_; }
  std::string PageNumber() override { return pageNumber_; }
  std::shared_ptr<IVerticalControl> Benchmark() override { return benchmark_; }

  void SetCode(std::string v) { code_ = std::move(v); }
  void SetBenchmark(std::shared_ptr<IVerticalControl> v) { benchmark_ = std::move(v); }
  void SetLocalMeanSeaLevelReference(double v) { lmsl_ = v; }
  void SetEasting(double v) { easting_ = v; }
  void SetMeanLowerLowWaterReference(double v) { mllw_ = v; }
  void SetMeasurementDate(DateTime v) { measurementDate_ = v; }
  void SetName(std::string v) { name_ = std::move(v); }
  void SetWaterSurfaceElevation(double v) { waterSurfaceElevation_ = v; }
  void SetNorthing(double v) { northing_ = v; }
  void SetFieldBook(std::string v) { fieldBook_ = std::move(v); }
  void SetPageNumber(std::string v) { pageNumber_ = std::move(v); }
  void AddDescription(std::string_view text) { description_.append(text); }
  void ClearDescription() { description_.clear(); }

  // A copy of every value; the benchmark object itself is shared.
  std::shared_ptr<EMGage> Clone() const { return std::make_shared<EMGage>(*this); }
  // Same reading: equal Name, Code, Description, FieldBook, PageNumber,
  // water surface elevation, measurement date, tidal references and
  // Easting (Northing does not take part), and equal benchmarks. Benchmarks
  // count as equal when both readings have none, or both have one and the
  // two carry the same Name: a benchmark is identified by its name within a
  // survey, and readings of a reader without benchmarks still compare.
  bool Equals(IInterface* other) const;

 private:
  double waterSurfaceElevation_ = kUndefinedNumber;
  double lmsl_ = kUndefinedNumber;
  double mllw_ = kUndefinedNumber;
  double northing_ = kUndefinedNumber;
  double easting_ = kUndefinedNumber;
  DateTime measurementDate_ = DateTime::Undefined();
  std::string name_, code_, description_, fieldBook_, pageNumber_;
  std::shared_ptr<IVerticalControl> benchmark_;
};

// Gage readings in registration order; GetItem takes a 1-based index.
class EMGageIterator : public ListIterator<IGageIterator, IGage, 1> {
 public:
  void InitGages(const std::vector<std::shared_ptr<EMGage>>& gages) {
    Assign(std::vector<std::shared_ptr<IGage>>(gages.begin(), gages.end()));
  }
};

}  // namespace veldrane
