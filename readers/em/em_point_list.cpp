#include "readers/em/em_point_list.h"

#include <memory>

namespace veldrane {

namespace {
// A feature read on its own (not lent an arena) holds few points.
constexpr std::size_t kOwnArenaFirstChunkBytes = 4096;
}  // namespace

EMPointList::~EMPointList() {
  for (const Run& run : sealed_) std::destroy_n(run.first, run.count);
}

void EMPointList::LendBuffer(std::vector<EMSurveyPoint>&& buffer, std::shared_ptr<EMPointArena> arena) {
  if (arena && sealed_.empty()) arena_ = std::move(arena);
  if (!open_.empty()) return;  // points are growing already: keep them where they are
  buffer.clear();
  open_ = std::move(buffer);
}

void EMPointList::SealOpenPoints() {
  if (open_.empty()) return;
  if (!arena_) arena_ = std::make_shared<EMPointArena>(kOwnArenaFirstChunkBytes);
  sealed_.reserve(sealed_.size() + 1);  // so recording the run below cannot throw
  EMSurveyPoint* first = arena_->Allocate(open_.size());
  std::uninitialized_move(open_.begin(), open_.end(), first);
  sealed_.push_back({first, open_.size()});
  sealedCount_ += open_.size();
  open_.clear();
}

void EMPointList::Seal(std::vector<EMSurveyPoint>* returned) {
  SealOpenPoints();
  if (returned != nullptr) {
    *returned = std::move(open_);
    returned->clear();
  }
  std::vector<EMSurveyPoint>().swap(open_);
}

std::vector<EMSurveyPoint*> EMPointList::All() {
  Seal();
  std::vector<EMSurveyPoint*> out;
  out.reserve(sealedCount_);
  for (const Run& run : sealed_)
    for (std::size_t i = 0; i < run.count; ++i) out.push_back(run.first + i);
  return out;
}

}  // namespace veldrane
