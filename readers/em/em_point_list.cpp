#include "readers/em/em_point_list.h"

namespace veldrane {

void EMPointList::Seal() {
  if (open_.empty()) return;
  Block block;
  block.count = open_.size();
  block.points = std::make_unique<EMSurveyPoint[]>(block.count);
  for (std::size_t i = 0; i < block.count; ++i) block.points[i] = std::move(open_[i]);
  sealedCount_ += block.count;
  sealed_.push_back(std::move(block));
  std::vector<EMSurveyPoint>().swap(open_);
}

std::vector<EMSurveyPoint*> EMPointList::All() {
  Seal();
  std::vector<EMSurveyPoint*> out;
  out.reserve(sealedCount_);
  for (auto& block : sealed_)
    for (std::size_t i = 0; i < block.count; ++i) out.push_back(&block.points[i]);
  return out;
}

std::vector<std::shared_ptr<EMSurveyPoint>> EMPointList::Shared(const std::shared_ptr<const void>& owner) {
  std::vector<std::shared_ptr<EMSurveyPoint>> out;
  out.reserve(Size());
  for (EMSurveyPoint* p : All()) out.push_back(Alias(owner, *p));
  return out;
}

}  // namespace veldrane
