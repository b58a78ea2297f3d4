#include "readers/em/em_area_ring.h"

#include "model/iterators.h"

namespace veldrane {

EMAreaRing::EMAreaRing() : xs_(1, 0.0), ys_(1, 0.0) {}

void EMAreaRing::AddSurveyPoint(const EMSurveyPoint& point) {
  points_.push_back(point.Clone());
  xs_.back() = point.RawX();
  ys_.back() = point.RawY();
  xs_.push_back(0.0);
  ys_.push_back(0.0);
  index_.reset();
}

void EMAreaRing::AddInteriorRing(std::shared_ptr<EMAreaRing> ring) {
  rings_.push_back(std::move(ring));
  current_ = static_cast<std::int32_t>(rings_.size());
}

std::shared_ptr<EMAreaRing> EMAreaRing::GetCurrentInteriorRing() const {
  if (current_ < 1 || static_cast<std::size_t>(current_) > rings_.size()) return nullptr;
  return rings_[static_cast<std::size_t>(current_ - 1)];
}

void EMAreaRing::RemoveCurrentInteriorRing() {
  if (current_ < 1 || static_cast<std::size_t>(current_) > rings_.size()) return;
  rings_.erase(rings_.begin() + (current_ - 1));
  --current_;
}

bool EMAreaRing::Contains(double x, double y) const {
  if (!index_) index_ = std::make_unique<EMAreaRingIndex>(xs_, ys_, PointCount());
  return index_->Contains(x, y);
}

std::shared_ptr<ISurveyPointIterator> EMAreaRing::SurveyPoints() {
  return std::make_shared<ListIterator<ISurveyPointIterator, ISurveyPoint, 0>>(
      std::vector<std::shared_ptr<ISurveyPoint>>(points_.begin(), points_.end()));
}

std::shared_ptr<IAreaRingIterator> EMAreaRing::InternalRings() {
  return std::make_shared<ListIterator<IAreaRingIterator, IAreaRing, 0>>(
      std::vector<std::shared_ptr<IAreaRing>>(rings_.begin(), rings_.end()));
}

}  // namespace veldrane
