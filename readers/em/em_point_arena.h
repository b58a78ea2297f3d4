#pragma once
// Storage for the points of every feature of one survey. A large survey
// holds millions of points; giving each feature its own heap block costs a
// page fault per 4 KB touched, which on a virtual machine is most of the
// reading time. The arena hands out contiguous runs from chunks that grow
// geometrically, and asks the kernel for huge pages on the large ones, so a
// small survey stays small and a large one is backed by few, large pages.
//
// The arena only provides memory: the point list that takes a run
// constructs and destroys the points in it. Features keep the arena alive
// through a shared pointer, so points outlive the survey that read them as
// long as someone holds their feature.
#include <cstddef>
#include <memory>
#include <vector>

#include "readers/em/em_survey_point.h"

namespace veldrane {

class EMPointArena {
 public:
  // The first chunk holds at least `firstChunkBytes`; later ones double.
  explicit EMPointArena(std::size_t firstChunkBytes = kFirstChunkBytes) : nextChunkBytes_(firstChunkBytes) {}
  EMPointArena(const EMPointArena&) = delete;
  EMPointArena& operator=(const EMPointArena&) = delete;
  ~EMPointArena();

  // Uninitialized room for `count` points (count > 0), never moved again.
  EMSurveyPoint* Allocate(std::size_t count);

  // Bytes reserved from the system so far.
  std::size_t ReservedBytes() const { return reserved_; }

  static constexpr std::size_t kFirstChunkBytes = std::size_t{64} << 10;
  static constexpr std::size_t kLargestChunkBytes = std::size_t{32} << 20;
  // Chunks at least this large are aligned and offered huge pages.
  static constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

 private:
  struct Chunk {
    void* memory = nullptr;
    std::size_t bytes = 0;
    std::size_t capacity = 0;  // points
    std::size_t used = 0;      // points
  };
  void AddChunk(std::size_t minimumPoints);

  std::vector<Chunk> chunks_;
  std::size_t nextChunkBytes_;
  std::size_t reserved_ = 0;
};

}  // namespace veldrane
