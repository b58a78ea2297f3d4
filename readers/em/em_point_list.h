#pragma once
// The points of one feature, stored by value. While a feature is being
// read its points grow in a vector (which the reader may lend, so one
// growing buffer serves every feature of a file); once handed out, or
// sealed when the feature is closed, they move into runs of the survey's
// point arena that never move again, so shared handles to them stay valid
// and no capacity is wasted.
#include <memory>
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

  // Appends a copy of the point (the list owns its own values).
  void Add(const EMSurveyPoint& point) {
    MakeRoom();
    open_.push_back(point);
  }
  void Add(EMSurveyPoint&& point) {
    MakeRoom();
    open_.push_back(std::move(point));
  }
  std::size_t Size() const { return sealedCount_ + open_.size(); }
  bool Empty() const { return Size() == 0; }

  // Takes an empty buffer (with its capacity) to grow the next points in,
  // and the arena the sealed points go to. Without an arena the list makes
  // a small one of its own when it first seals.
  void LendBuffer(std::vector<EMSurveyPoint>&& buffer, std::shared_ptr<EMPointArena> arena = nullptr);
  // Moves the growing points into their final run; the emptied buffer,
  // capacity kept, goes back to `returned` when given.
  void Seal(std::vector<EMSurveyPoint>* returned = nullptr);

  // Every point in order (sealing first, so the references stay valid).
  std::vector<EMSurveyPoint*> All();

  // A handle to `p` that keeps `owner` alive; when the feature is not owned
  // by a shared pointer (a stack object in a test) the handle is a copy.
  static std::shared_ptr<EMSurveyPoint> Alias(const std::shared_ptr<const void>& owner, EMSurveyPoint& p) {
    if (!owner) return p.Clone();
    return std::shared_ptr<EMSurveyPoint>(owner, &p);
  }

 private:
  // A long feature is sealed run by run, so the growing buffer stays
  // small and is never copied while it is large.
  static constexpr std::size_t kRunPoints = 4096;
  void MakeRoom() {
    if (open_.size() >= kRunPoints) SealOpenPoints();
  }
  void SealOpenPoints();

  struct Run {
    EMSurveyPoint* first;
    std::size_t count;
  };
  std::shared_ptr<EMPointArena> arena_;
  std::vector<Run> sealed_;
  std::size_t sealedCount_ = 0;
  std::vector<EMSurveyPoint> open_;
};

}  // namespace veldrane
