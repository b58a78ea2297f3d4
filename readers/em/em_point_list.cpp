#include "readers/em/em_point_list.h"

#include <memory>

namespace veldrane {

namespace {
// A feature read on its own (not given the survey's arena) holds few points.
constexpr std::size_t kOwnArenaFirstChunkBytes = 4096;
}  // namespace

EMPointList::~EMPointList() {
  for (const Run& run : runs_) std::destroy_n(run.first, run.count);
}

void EMPointList::UseArena(std::shared_ptr<EMPointArena> arena) {
  if (arena && count_ == 0) arena_ = std::move(arena);
}

EMStoredPoint* EMPointList::NextSlot() {
  if (!runs_.empty()) {
    Run& last = runs_.back();
    EMStoredPoint* end = last.first + last.count;
    if (arena_->Extend(end, 1)) {
      ++last.count;
      ++count_;
      return end;
    }
  }
  if (!arena_) arena_ = std::make_shared<EMPointArena>(kOwnArenaFirstChunkBytes);
  runs_.reserve(runs_.size() + 1);  // so recording the run below cannot throw
  EMStoredPoint* slot = arena_->Allocate(1);
  runs_.push_back({slot, 1});
  ++count_;
  return slot;
}

std::vector<const EMStoredPoint*> EMPointList::All() const {
  std::vector<const EMStoredPoint*> out;
  out.reserve(count_);
  for (const Run& run : runs_)
    for (std::size_t i = 0; i < run.count; ++i) out.push_back(run.first + i);
  return out;
}

}  // namespace veldrane
