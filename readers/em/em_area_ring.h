#pragma once
// One ring of a survey area: its vertices in survey order and the rings
// inside it (an exterior ring's holes, a hole's islands), the last added of
// which is the current one.
#include <cstdint>
#include <memory>
#include <vector>

#include "model/features.h"
#include "readers/em/em_area_ring_index.h"
#include "readers/em/em_survey_point.h"

namespace veldrane {

class EMAreaRing : public IAreaRing {
 public:
  EMAreaRing();

  // Appends a copy of the point.
  void AddSurveyPoint(const EMSurveyPoint& point);
  // Appends the ring and makes it the current interior ring.
  void AddInteriorRing(std::shared_ptr<EMAreaRing> ring);
  // The current interior ring, or none.
  std::shared_ptr<EMAreaRing> GetCurrentInteriorRing() const;
  // Removes the current interior ring; the one before it becomes current.
  void RemoveCurrentInteriorRing();

  std::int32_t PointCount() const { return static_cast<std::int32_t>(points_.size()); }
  std::int32_t InteriorRingCount() const { return static_cast<std::int32_t>(rings_.size()); }
  std::int32_t CurrentInteriorRingIndex() const { return current_; }
  const std::vector<std::shared_ptr<EMAreaRing>>& InteriorRings() const { return rings_; }

  // Whether (x, y) lies inside this ring by the geometry validator's
  // ray-crossing test over the vertices as stored.
  bool Contains(double x, double y) const;

  // IAreaRing
  std::shared_ptr<ISurveyPointIterator> SurveyPoints() override;
  std::shared_ptr<IAreaRingIterator> InternalRings() override;

 private:
  std::vector<std::shared_ptr<EMSurveyPoint>> points_;
  std::vector<std::shared_ptr<EMAreaRing>> rings_;
  std::int32_t current_ = 0;  // 1-based, 0 when there is none
  // The vertex coordinates as the validator takes them: one slot more than
  // there are vertices, the last left 0. Kept with the points, so testing a
  // hole's vertices does not gather the exterior ring again for each one.
  std::vector<double> xs_, ys_;
  // Built on the first test after the ring last changed.
  mutable std::unique_ptr<EMAreaRingIndex> index_;
};

}  // namespace veldrane
