#include "readers/em/em_vertical_control.h"

namespace veldrane {

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
