#include "readers/em/em_point_arena.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace veldrane {

namespace {

std::size_t RoundUp(std::size_t value, std::size_t step) { return (value + step - 1) / step * step; }

// Large chunks are mapped from the system directly, aligned to the huge
// page size so the kernel can back them with huge pages when asked to, and
// unmapped when the arena goes. Through the heap they would stay resident
// after the survey is closed, and a warmed but unused tail would stay with
// them.
void* MapLargeChunk(std::size_t bytes) {
#if defined(__linux__)
  const std::size_t alignment = EMPointArena::kHugePageBytes;
  void* mapped = ::mmap(nullptr, bytes + alignment, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  char* begin = static_cast<char*>(mapped);
  char* aligned = begin + (alignment - reinterpret_cast<std::uintptr_t>(begin) % alignment) % alignment;
  if (aligned > begin) ::munmap(begin, static_cast<std::size_t>(aligned - begin));
  char* end = begin + bytes + alignment;
  if (end > aligned + bytes) ::munmap(aligned + bytes, static_cast<std::size_t>(end - (aligned + bytes)));
#if defined(MADV_HUGEPAGE)
  // Only a hint: where huge pages are unavailable the chunk works as is.
  ::madvise(aligned, bytes, MADV_HUGEPAGE);
#endif
  return aligned;
#else
  return ::operator new(bytes, std::align_val_t{EMPointArena::kHugePageBytes});
#endif
}

void* ReserveChunk(std::size_t bytes) {
  if (bytes < EMPointArena::kHugePageBytes) return ::operator new(bytes, std::align_val_t{alignof(EMStoredPoint)});
  return MapLargeChunk(bytes);
}

void ReleaseChunk(void* memory, std::size_t bytes) {
  if (bytes < EMPointArena::kHugePageBytes) {
    ::operator delete(memory, std::align_val_t{alignof(EMStoredPoint)});
    return;
  }
#if defined(__linux__)
  ::munmap(memory, bytes);
#else
  ::operator delete(memory, std::align_val_t{EMPointArena::kHugePageBytes});
#endif
}

}  // namespace

EMPointArena::~EMPointArena() {
  warmer_.Stop();
  for (const Chunk& chunk : chunks_) ReleaseChunk(chunk.memory, chunk.bytes);
}

EMStoredPoint* EMPointArena::Allocate(std::size_t count) {
  if (chunks_.empty() || chunks_.back().capacity - chunks_.back().used < count) AddChunk(count);
  Chunk& chunk = chunks_.back();
  EMStoredPoint* first = static_cast<EMStoredPoint*>(chunk.memory) + chunk.used;
  chunk.used += count;
  if (warmAhead_) WarmAheadOf(chunk);
  return first;
}

bool EMPointArena::Extend(EMStoredPoint* end, std::size_t count) {
  if (chunks_.empty()) return false;
  Chunk& chunk = chunks_.back();
  if (end != static_cast<EMStoredPoint*>(chunk.memory) + chunk.used || chunk.capacity - chunk.used < count) return false;
  chunk.used += count;
  if (warmAhead_) WarmAheadOf(chunk);
  return true;
}

void EMPointArena::WarmAhead(bool on) {
  warmAhead_ = on;
  if (!on) warmer_.Stop();
}

void EMPointArena::WarmAheadOf(Chunk& chunk) {
  // Small chunks are not aligned to pages and fill quickly anyway.
  if (chunk.bytes < kHugePageBytes) return;
  const std::size_t usedBytes = chunk.used * sizeof(EMStoredPoint);
  const std::size_t target = std::min(chunk.bytes, RoundUp(usedBytes + kWarmAheadBytes, kHugePageBytes));
  if (target <= chunk.warmed) return;
  warmer_.Warm(static_cast<char*>(chunk.memory) + chunk.warmed, target - chunk.warmed);
  chunk.warmed = target;
}

void EMPointArena::AddChunk(std::size_t minimumPoints) {
  std::size_t bytes = std::max(nextChunkBytes_, minimumPoints * sizeof(EMStoredPoint));
  if (bytes >= kHugePageBytes) bytes = RoundUp(bytes, kHugePageBytes);
  nextChunkBytes_ = std::min(std::max(bytes, nextChunkBytes_) * 2, kLargestChunkBytes);
  chunks_.reserve(chunks_.size() + 1);  // so adding the chunk below cannot throw and leak it
  Chunk chunk;
  chunk.memory = ReserveChunk(bytes);
  chunk.bytes = bytes;
  chunk.capacity = bytes / sizeof(EMStoredPoint);
  chunks_.push_back(chunk);
}

}  // namespace veldrane
