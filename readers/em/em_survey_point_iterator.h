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

// A stored point with the station and offsets its feature gives it.
struct EMPointView {
  const EMStoredPoint* point = nullptr;
  double station = kUndefinedNumber;
  double lateralOffset = 0;
  double baselineOffset = kUndefinedNumber;
};

struct EMHeldPoint;

// A walk over a feature's points. Each point handed out is made from its
// stored values and its view, and keeps `owner` (the feature holding the
// stored points) alive; without an owner (a feature that is not held by a
// shared pointer, in tests) each is an independent copy, made once.
class EMSurveyPointIterator final : public ISurveyPointIterator {
 public:
  using PointOrder = std::shared_ptr<const std::vector<EMPointView>>;

  // No points.
  EMSurveyPointIterator() = default;
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
  // The point handed out last, made again for the next one when nobody
  // else holds it any more (a walk that lets go of each point before taking
  // the next allocates one point in all).
  std::shared_ptr<EMHeldPoint> last_;
  std::size_t position_ = 0;
};

// Views of the points of the range line from (startX, startY) to
// (stopX, stopY), in ascending station order: a point's station is the
// signed distance of its foot from the start, its lateral offset the
// distance from the line (3 decimals), and its baseline offset its station
// less `baselineDistance` (undefined while that is). The range line must not
// be degenerate.
std::vector<EMPointView> OrderByStation(const std::vector<const EMStoredPoint*>& points, double startX, double startY,
                                        double stopX, double stopY, double baselineDistance);

}  // namespace veldrane
