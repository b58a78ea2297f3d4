#include "readers/em/em_survey_point_iterator.h"

#include <cmath>

#include "config/sort.h"
#include "geometry/planar.h"

namespace veldrane {

EMSurveyPointIterator::EMSurveyPointIterator(PointOrder points, std::shared_ptr<const void> owner)
    : points_(std::move(points)), owner_(std::move(owner)) {}

std::shared_ptr<ISurveyPoint> EMSurveyPointIterator::GetNext() {
  if (position_ >= Count()) return nullptr;
  return Handle(position_++);
}

std::shared_ptr<ISurveyPoint> EMSurveyPointIterator::GetItem(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= Count()) return nullptr;
  return Handle(static_cast<std::size_t>(index));
}

// A handed-out point together with the feature that keeps its stored values
// (and so its borrowed code entry) alive.
struct EMHeldPoint {
  EMHeldPoint(std::shared_ptr<const void> holder, const EMPointView& view)
      : owner(std::move(holder)),
        point(*view.point, view.station, view.lateralOffset, view.baselineOffset, true) {}
  std::shared_ptr<const void> owner;
  EMSurveyPoint point;  // destroyed before the owner is let go
};

std::shared_ptr<ISurveyPoint> EMSurveyPointIterator::Handle(std::size_t index) {
  const EMPointView& view = (*points_)[index];
  if (owner_) {
    // Held by this iterator alone: no one can see it change.
    if (last_ && last_.use_count() == 1)
      last_->point = EMSurveyPoint(*view.point, view.station, view.lateralOffset, view.baselineOffset, true);
    else
      last_ = std::make_shared<EMHeldPoint>(owner_, view);
    return std::shared_ptr<ISurveyPoint>(last_, &last_->point);
  }
  if (copies_.empty()) copies_.resize(Count());
  if (!copies_[index])
    copies_[index] =
        std::make_shared<EMSurveyPoint>(*view.point, view.station, view.lateralOffset, view.baselineOffset, false);
  return copies_[index];
}

std::vector<EMPointView> OrderByStation(const std::vector<const EMStoredPoint*>& points, double startX, double startY,
                                        double stopX, double stopY, double baselineDistance) {
  const double dx = stopX - startX;
  const double dy = stopY - startY;
  const double squaredLength = dx * dx + dy * dy;
  const double length = std::sqrt(squaredLength);
  std::vector<SortPair<std::size_t>> pairs;
  pairs.reserve(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    const EMStoredPoint& p = *points[i];
    const double t = (dx * (p.x - startX) + dy * (p.y - startY)) / squaredLength;
    pairs.push_back({length * t, i});
  }
  QuickSort(pairs);
  std::vector<EMPointView> ordered;
  ordered.reserve(points.size());
  for (const auto& pair : pairs) {
    const EMStoredPoint& p = *points[pair.Value];
    const double station = pair.Key;
    // The same arithmetic as for the key, so the foot is exactly where it was.
    const double t = (dx * (p.x - startX) + dy * (p.y - startY)) / squaredLength;
    const double footX = startX + dx * t;
    const double footY = startY + dy * t;
    ordered.push_back({&p, station, RoundHalfEven(std::sqrt(SquaredDistance(p.x, p.y, footX, footY)), 3),
                       baselineDistance != kUndefinedNumber ? station - baselineDistance : kUndefinedNumber});
  }
  return ordered;
}

}  // namespace veldrane
