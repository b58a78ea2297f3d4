#include "readers/em/em_survey_point_iterator.h"

#include <cmath>

#include "config/sort.h"
#include "geometry/planar.h"
#include "readers/em/em_point_list.h"

namespace veldrane {

void EMSurveyPointIterator::InitPoints(const std::vector<EMSurveyPoint*>& points,
                                       const std::shared_ptr<const void>& owner) {
  std::vector<std::shared_ptr<ISurveyPoint>> items;
  items.reserve(points.size());
  for (EMSurveyPoint* p : points) items.push_back(EMPointList::Alias(owner, *p));
  Assign(std::move(items));
}

void EMSurveyPointIterator::InitPointsSorted(const std::vector<EMSurveyPoint*>& points,
                                             const std::shared_ptr<const void>& owner, double startX, double startY, double stopX, double stopY) {
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
  std::vector<std::shared_ptr<ISurveyPoint>> ordered;
  ordered.reserve(points.size());
  for (const auto& pair : pairs) ordered.push_back(EMPointList::Alias(owner, *points[pair.Value]));
  Assign(std::move(ordered));
}

}  // namespace veldrane
