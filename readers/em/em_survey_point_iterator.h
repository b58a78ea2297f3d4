#pragma once
// The point iterator of EM features: file order, or ordered by station along
// a cross-section range line.
#include <memory>
#include <vector>

#include "model/features.h"
#include "model/iterators.h"
#include "readers/em/em_survey_point.h"

namespace veldrane {

class EMSurveyPointIterator : public ListIterator<ISurveyPointIterator, ISurveyPoint, 0> {
 public:
  // Takes the points in the given order; each handle keeps `owner` (the
  // feature holding the points) alive, or is a copy when there is none.
  void InitPoints(const std::vector<EMSurveyPoint*>& points, const std::shared_ptr<const void>& owner);
  // Projects every point on the range line from (startX, startY) to
  // (stopX, stopY): its Station becomes the signed distance of its foot from
  // the start, its LateralOffset the distance from the line (3 decimals);
  // the points are then taken in ascending station order. The range line
  // must not be degenerate.
  void InitPointsSorted(const std::vector<EMSurveyPoint*>& points, const std::shared_ptr<const void>& owner,
                        double startX, double startY, double stopX, double stopY);
};

}  // namespace veldrane
