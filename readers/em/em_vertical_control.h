#pragma once
// A benchmark ("#V" permanent or "#T" temporary) of an EM survey.
#include <memory>
#include <string>

#include "config/ordered_map.h"
#include "model/constants.h"
#include "model/date_time.h"
#include "model/features.h"
#include "model/iterators.h"

namespace veldrane {

class EMVerticalControl : public IVerticalControl {
 public:
  std::string Name() override { return name_; }
  double Northing() override { return northing_; }
  double Easting() override { return easting_; }
  double DocumentedElevation() override { return documentedElevation_; }
  std::string VerticalDatum() override { return verticalDatum_; }
  std::string Epoch() override { return epoch_; }
  std::string Condition() override { return condition_; }
  double MeasuredElevation() override { return measuredElevation_; }
  std::string PID() override { return pid_; }
  std::string Description() override { return description_; }
  bool IsPermanent() override { return permanent_; }
  double Adjustment() override { return adjustment_; }
  DateTime SurveyDate() override { return surveyDate_; }
  std::string FieldBook() override { return fieldBook_; }
  std::string PageNumber() override { return pageNumber_; }
  double LocalMeanSeaLevelRelationship() override { return lmsl_; }
  double MeanLowerLowWaterRelationship() override { return mllw_; }
  std::string NationalTidalDatumEpoch() override { return tidalEpoch_; }

  // Setters store their argument unchanged.
  void SetCondition(std::string v) { condition_ = std::move(v); }
  void SetFieldBook(std::string v) { fieldBook_ = std::move(v); }
  void SetPageNumber(std::string v) { pageNumber_ = std::move(v); }
  void SetAdjustment(double v) { adjustment_ = v; }
  void SetSurveyDate(DateTime v) { surveyDate_ = v; }
  void SetDescription(std::string v) { description_ = std::move(v); }
  // Description + " " + text, in place (a benchmark can collect many notes).
  void AppendDescriptionLine(std::string_view text) { description_.append(" ").append(text); }
  void SetDocumentedElevation(double v) { documentedElevation_ = v; }
  void SetEpoch(std::string v) { epoch_ = std::move(v); }
  void SetEasting(double v) { easting_ = v; }
  void SetPermanent(bool v) { permanent_ = v; }
  void SetMeasuredElevation(double v) { measuredElevation_ = v; }
  void SetLocalMeanSeaLevelRelationship(double v) { lmsl_ = v; }
  void SetMeanLowerLowWaterRelationship(double v) { mllw_ = v; }
  void SetName(std::string v) { name_ = std::move(v); }
  void SetPID(std::string v) { pid_ = std::move(v); }
  void SetNorthing(double v) { northing_ = v; }
  void SetNationalTidalDatumEpoch(std::string v) { tidalEpoch_ = std::move(v); }
  void SetVerticalDatum(std::string v) { verticalDatum_ = std::move(v); }

  // A copy of every value except SurveyDate, which the copy leaves at the
  // undefined date (nothing copies benchmarks across surveys, and a copy is
  // not tied to the date of the survey that declared the original).
  std::shared_ptr<EMVerticalControl> Clone() const;
  // Same benchmark: equal Name, VerticalDatum, Epoch, NationalTidalDatumEpoch,
  // FieldBook, PageNumber, DocumentedElevation, MeasuredElevation,
  // SurveyDate and both tidal relationships. False for anything that is not
  // a benchmark.
  bool Equals(IInterface* other) const;

 private:
  std::string name_, verticalDatum_, epoch_, condition_, pid_, description_, fieldBook_, pageNumber_, tidalEpoch_;
  double northing_ = kUndefinedNumber;
  double easting_ = kUndefinedNumber;
  double documentedElevation_ = kUndefinedNumber;
  double measuredElevation_ = kUndefinedNumber;
  double lmsl_ = kUndefinedNumber;
  double mllw_ = kUndefinedNumber;
  double adjustment_ = 0;
  bool permanent_ = false;
  DateTime surveyDate_ = DateTime::Undefined();
};

// Benchmarks in table order; GetItem takes a 1-based index.
class EMVerticalControlIterator : public ListIterator<IVerticalControlIterator, IVerticalControl, 1> {
 public:
  void InitVerticalControls(const OrderedMap<std::shared_ptr<EMVerticalControl>>& table);
};

}  // namespace veldrane
