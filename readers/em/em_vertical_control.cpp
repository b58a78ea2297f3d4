#include "readers/em/em_vertical_control.h"

namespace veldrane {

std::shared_ptr<EMVerticalControl> EMVerticalControl::Clone() const {
  auto copy = std::make_shared<EMVerticalControl>();
  copy->condition_ = condition_;
  copy->description_ = description_;
  copy->documentedElevation_ = documentedElevation_;
  copy->epoch_ = epoch_;
  copy->measuredElevation_ = measuredElevation_;
  copy->name_ = name_;
  copy->permanent_ = permanent_;
  copy->pid_ = pid_;
  copy->verticalDatum_ = verticalDatum_;
  copy->adjustment_ = adjustment_;
  copy->northing_ = northing_;
  copy->easting_ = easting_;
  copy->fieldBook_ = fieldBook_;
  copy->pageNumber_ = pageNumber_;
  copy->lmsl_ = lmsl_;
  copy->mllw_ = mllw_;
  copy->tidalEpoch_ = tidalEpoch_;
  return copy;
}

bool EMVerticalControl::Equals(IInterface* other) const {
  auto* bm = dynamic_cast<IVerticalControl*>(other);
  if (bm == nullptr) return false;
  return name_ == bm->Name() && verticalDatum_ == bm->VerticalDatum() && epoch_ == bm->Epoch() &&
         tidalEpoch_ == bm->NationalTidalDatumEpoch() && fieldBook_ == bm->FieldBook() &&
         pageNumber_ == bm->PageNumber() && documentedElevation_ == bm->DocumentedElevation() &&
         measuredElevation_ == bm->MeasuredElevation() && surveyDate_ == bm->SurveyDate() &&
         lmsl_ == bm->LocalMeanSeaLevelRelationship() && mllw_ == bm->MeanLowerLowWaterRelationship();
}

void EMVerticalControlIterator::InitVerticalControls(const OrderedMap<std::shared_ptr<EMVerticalControl>>& table) {
  std::vector<std::shared_ptr<IVerticalControl>> items;
  items.reserve(table.Size());
  for (const auto& entry : table.Entries()) items.push_back(entry.second);
  Assign(std::move(items));
}

}  // namespace veldrane
