#pragma once
// The points of one feature, stored by value in runs of the survey's point
// arena. A point is moved straight into the arena as it is read and never
// moves again. While one feature is read its points follow each other in
// the arena, so a feature's points are one run, or a few where a chunk of
// the arena ended.
#include <memory>
#include <type_traits>
#include <vector>

#include "readers/em/em_point_arena.h"
#include "readers/em/em_survey_point.h"

namespace veldrane {

class EMPointList {
 public:
  EMPointList() = default;
  EMPointList(const EMPointList&) = delete;
  EMPointList& operator=(const EMPointList&) = delete;
  ~EMPointList();

  // Appends what a survey keeps of the point (see EMStoredPoint).
  void Add(const EMSurveyPoint& point) { Add(EMSurveyPoint(point)); }
  void Add(EMSurveyPoint&& point) { new (NextSlot()) EMStoredPoint(std::move(point).Store()); }
  std::size_t Size() const { return count_; }
  bool Empty() const { return count_ == 0; }

  // The arena the points go to, shared with the survey's other features;
  // taken when the list holds no points yet. A list given none makes a
  // small arena of its own.
  void UseArena(std::shared_ptr<EMPointArena> arena);

  // Every point in order.
  std::vector<const EMStoredPoint*> All() const;

 private:
  // Claims the room for one more point; constructing a point there by a
  // move cannot fail, so the claimed room always holds a point.
  static_assert(std::is_nothrow_move_constructible_v<EMStoredPoint>);
  EMStoredPoint* NextSlot();

  struct Run {
    EMStoredPoint* first;
    std::size_t count;
  };
  std::shared_ptr<EMPointArena> arena_;
  std::vector<Run> runs_;
  std::size_t count_ = 0;
};

}  // namespace veldrane
