#include "readers/em/em_point_list.h"

#include <iterator>

namespace veldrane {

void EMPointList::LendBuffer(std::vector<EMSurveyPoint>&& buffer) {
  if (!open_.empty()) return;  // points are growing already: keep them where they are
  buffer.clear();
  open_ = std::move(buffer);
}

void EMPointList::SealOpenPoints() {
  if (open_.empty()) return;
  std::vector<EMSurveyPoint> block;
  block.reserve(open_.size());
  block.insert(block.end(), std::make_move_iterator(open_.begin()), std::make_move_iterator(open_.end()));
  sealedCount_ += block.size();
  sealed_.push_back(std::move(block));
  open_.clear();
}

void EMPointList::Seal(std::vector<EMSurveyPoint>* returned) {
  SealOpenPoints();
  if (returned != nullptr) {
    *returned = std::move(open_);
    returned->clear();
  }
  std::vector<EMSurveyPoint>().swap(open_);
}

std::vector<EMSurveyPoint*> EMPointList::All() {
  Seal();
  std::vector<EMSurveyPoint*> out;
  out.reserve(sealedCount_);
  for (auto& block : sealed_)
    for (auto& p : block) out.push_back(&p);
  return out;
}

std::vector<std::shared_ptr<EMSurveyPoint>> EMPointList::Shared(const std::shared_ptr<const void>& owner) {
  std::vector<std::shared_ptr<EMSurveyPoint>> out;
  out.reserve(Size());
  for (EMSurveyPoint* p : All()) out.push_back(Alias(owner, *p));
  return out;
}

}  // namespace veldrane
