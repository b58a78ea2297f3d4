#pragma once
// The point iterator of EM features: a feature's points in file order, or
// ordered by station along a cross-section range line.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/features.h"
#include "readers/em/em_survey_point.h"

namespace veldrane {

// A walk over a list of points that the feature shares with every iterator
// it hands out, so handing out an iterator copies nothing.
class EMSurveyPointIterator final : public ISurveyPointIterator {
 public:
  using PointOrder = std::shared_ptr<const std::vector<EMSurveyPoint*>>;

  // No points.
  EMSurveyPointIterator() = default;
  // Walks `points` in their order; each handle keeps `owner` (the feature
  // holding the points) alive, or is a copy, made once per point, when
  // there is no owner.
  EMSurveyPointIterator(PointOrder points, std::shared_ptr<const void> owner);

  void Initialize() override { position_ = 0; }
  std::shared_ptr<ISurveyPoint> GetNext() override;
  // 0-based; nullptr outside the list.
  std::shared_ptr<ISurveyPoint> GetItem(std::int32_t index) override;
  std::int32_t Size() override { return static_cast<std::int32_t>(Count()); }

 private:
  std::size_t Count() const { return points_ ? points_->size() : 0; }
  std::shared_ptr<ISurveyPoint> Handle(std::size_t index);

  PointOrder points_;
  std::shared_ptr<const void> owner_;
  std::vector<std::shared_ptr<ISurveyPoint>> copies_;
  std::size_t position_ = 0;
};

// Projects every point on the range line from (startX, startY) to
// (stopX, stopY): its Station becomes the signed distance of its foot from
// the start, its LateralOffset the distance from the line (3 decimals).
// Returns the points in ascending station order. The range line must not be
// degenerate.
std::vector<EMSurveyPoint*> OrderByStation(const std::vector<EMSurveyPoint*>& points, double startX, double startY,
                                           double stopX, double stopY);

}  // namespace veldrane
