#include "readers/em/em_point_arena.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace veldrane {

namespace {

std::size_t RoundUp(std::size_t value, std::size_t step) { return (value + step - 1) / step * step; }

// Memory for one chunk; large chunks are aligned to the huge page size so
// the kernel can back them with huge pages when asked to.
void* ReserveChunk(std::size_t bytes) {
  if (bytes < EMPointArena::kHugePageBytes) return ::operator new(bytes, std::align_val_t{alignof(EMSurveyPoint)});
  void* memory = ::operator new(bytes, std::align_val_t{EMPointArena::kHugePageBytes});
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only a hint: where huge pages are unavailable the chunk works as is.
  ::madvise(memory, bytes, MADV_HUGEPAGE);
#endif
  return memory;
}

void ReleaseChunk(void* memory, std::size_t bytes) {
  const std::size_t alignment = bytes < EMPointArena::kHugePageBytes ? alignof(EMSurveyPoint) : EMPointArena::kHugePageBytes;
  ::operator delete(memory, std::align_val_t{alignment});
}

}  // namespace

EMPointArena::~EMPointArena() {
  for (const Chunk& chunk : chunks_) ReleaseChunk(chunk.memory, chunk.bytes);
}

EMSurveyPoint* EMPointArena::Allocate(std::size_t count) {
  if (chunks_.empty() || chunks_.back().capacity - chunks_.back().used < count) AddChunk(count);
  Chunk& chunk = chunks_.back();
  EMSurveyPoint* first = static_cast<EMSurveyPoint*>(chunk.memory) + chunk.used;
  chunk.used += count;
  return first;
}

void EMPointArena::AddChunk(std::size_t minimumPoints) {
  std::size_t bytes = std::max(nextChunkBytes_, minimumPoints * sizeof(EMSurveyPoint));
  if (bytes >= kHugePageBytes) bytes = RoundUp(bytes, kHugePageBytes);
  nextChunkBytes_ = std::min(std::max(bytes, nextChunkBytes_) * 2, kLargestChunkBytes);
  chunks_.reserve(chunks_.size() + 1);  // so adding the chunk below cannot throw and leak it
  Chunk chunk;
  chunk.memory = ReserveChunk(bytes);
  chunk.bytes = bytes;
  chunk.capacity = bytes / sizeof(EMSurveyPoint);
  reserved_ += chunk.capacity * sizeof(EMSurveyPoint);
  chunks_.push_back(chunk);
}

}  // namespace veldrane
