#pragma once
// The points of one feature, stored by value in stable chunked storage and
// handed out as shared pointers that keep the owning feature alive.
#include <deque>
#include <memory>
#include <vector>

#include "readers/em/em_survey_point.h"

namespace veldrane {

class EMPointList {
 public:
  // Appends a copy of the point (a clone: the list owns its own values).
  void Add(const EMSurveyPoint& point) { points_.push_back(point); }
  std::size_t Size() const { return points_.size(); }
  bool Empty() const { return points_.empty(); }
  EMSurveyPoint& operator[](std::size_t i) { return points_[i]; }
  const EMSurveyPoint& operator[](std::size_t i) const { return points_[i]; }

  // Shared handles to the live points, in order, owned by `owner`.
  std::vector<std::shared_ptr<EMSurveyPoint>> Shared(const std::shared_ptr<const void>& owner) {
    std::vector<std::shared_ptr<EMSurveyPoint>> out;
    out.reserve(points_.size());
    for (auto& p : points_) out.push_back(Alias(owner, p));
    return out;
  }

  // A handle to `p` that keeps `owner` alive; when the feature is not owned
  // by a shared pointer (a stack object in a test) the handle is a copy.
  static std::shared_ptr<EMSurveyPoint> Alias(const std::shared_ptr<const void>& owner, EMSurveyPoint& p) {
    if (!owner) return p.Clone();
    return std::shared_ptr<EMSurveyPoint>(owner, &p);
  }

 private:
  std::deque<EMSurveyPoint> points_;
};

}  // namespace veldrane
