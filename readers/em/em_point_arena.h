#pragma once
// Storage for the points of every feature of one survey. A large survey
// holds millions of points; giving each feature its own heap block costs a
// page fault per 4 KB touched, which on a virtual machine is most of the
// reading time. The arena hands out contiguous runs from chunks that grow
// geometrically, and asks the kernel for huge pages on the large ones, so a
// small survey stays small and a large one is backed by few, large pages.
//
// While a survey is read, the arena can have the large chunks faulted in on
// a second thread a few megabytes ahead of the points being stored (see
// EMPageWarmer), so the reader does not wait for fresh pages.
//
// The arena only provides memory: the point list that takes a run
// constructs and destroys the points in it. Features keep the arena alive
// through a shared pointer, so points outlive the survey that read them as
// long as someone holds their feature.
#include <cstddef>
#include <memory>
#include <vector>

#include "readers/em/em_page_warmer.h"
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
  EMStoredPoint* Allocate(std::size_t count);
  // Room for `count` more points right at `end`, when `end` is where the
  // room handed out last ends and its chunk has that much left; false
  // otherwise (nothing is handed out then).
  bool Extend(EMStoredPoint* end, std::size_t count);

  // Whether large chunks are warmed ahead of the points stored in them.
  // Turn it off before the points are handed out: that also waits for the
  // second thread.
  void WarmAhead(bool on);

  // Keeps a code entry alive as long as the arena, so the points stored
  // here may borrow it (see PointCodeRef::Borrow).
  void Keep(PointCodeRef code) { kept_.push_back(std::move(code)); }

  static constexpr std::size_t kFirstChunkBytes = std::size_t{64} << 10;
  static constexpr std::size_t kLargestChunkBytes = std::size_t{32} << 20;
  // Chunks at least this large are aligned and offered huge pages.
  static constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
  // How far ahead of the last stored point warming reaches; it is all the
  // memory warming may fault in that the survey never uses.
  static constexpr std::size_t kWarmAheadBytes = 2 * kHugePageBytes;

 private:
  struct Chunk {
    void* memory = nullptr;
    std::size_t bytes = 0;
    std::size_t capacity = 0;  // points
    std::size_t used = 0;      // points
    std::size_t warmed = 0;    // bytes from the start asked to be warmed
  };
  void AddChunk(std::size_t minimumPoints);
  void WarmAheadOf(Chunk& chunk);

  std::vector<Chunk> chunks_;
  std::size_t nextChunkBytes_;
  bool warmAhead_ = false;
  std::vector<PointCodeRef> kept_;
  // Stopped before the chunks are released.
  EMPageWarmer warmer_;
};

}  // namespace veldrane
