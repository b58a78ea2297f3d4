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

std::shared_ptr<ISurveyPoint> EMSurveyPointIterator::Handle(std::size_t index) {
  EMSurveyPoint& point = *(*points_)[index];
  if (owner_) return std::shared_ptr<ISurveyPoint>(owner_, &point);
  if (copies_.empty()) copies_.resize(Count());
  if (!copies_[index]) copies_[index] = point.Clone();
  return copies_[index];
}

std::vector<EMSurveyPoint*> OrderByStation(const std::vector<EMSurveyPoint*>& points, double startX, double startY,
                                           double stopX, double stopY) {
  const double dx = stopX - startX;
  const double dy = stopY - startY;
  const double squaredLength = dx * dx + dy * dy;
  const double length = std::sqrt(squaredLength);
  std::vector<SortPair<std::size_t>> pairs;
  pairs.reserve(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    EMSurveyPoint& p = *points[i];
    const double t = (dx * (p.RawX() - startX) + dy * (p.RawY() - startY)) / squaredLength;
    const double station = length * t;
    const double footX = startX + dx * t;
    const double footY = startY + dy * t;
    p.SetStation(station);
    p.SetLateralOffset(RoundHalfEven(std::sqrt(SquaredDistance(p.RawX(), p.RawY(), footX, footY)), 3));
    pairs.push_back({station, i});
  }
  QuickSort(pairs);
  std::vector<EMSurveyPoint*> ordered;
  ordered.reserve(points.size());
  for (const auto& pair : pairs) ordered.push_back(points[pair.Value]);
  return ordered;
}

}  // namespace veldrane
