#include "readers/em/em_page_warmer.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace veldrane {

namespace {

// Faults the range in writable without changing what it holds. False when
// the kernel has no such request (before Linux 5.14, or not Linux).
bool MakeResident(char* begin, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
  return ::madvise(begin, bytes, MADV_POPULATE_WRITE) == 0;
#else
  (void)begin;
  (void)bytes;
  return false;
#endif
}

}  // namespace

bool EMPageWarmer::Supported() {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
  // An empty request tells whether the kernel knows the advice at all.
  static const bool known = ::madvise(nullptr, 0, MADV_POPULATE_WRITE) == 0;
  return known;
#else
  return false;
#endif
}

void EMPageWarmer::Warm(void* begin, std::size_t bytes) {
#if defined(__linux__)
  if (bytes == 0 || !Supported()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  if (unavailable_) return;
  if (!running_) {
    stop_ = false;
    // A plain POSIX thread: starting a std::thread frees its start state on
    // the new thread, which would give that thread a heap arena.
    auto start = [](void* warmer) -> void* {
      static_cast<EMPageWarmer*>(warmer)->Work();
      return nullptr;
    };
    if (pthread_create(&thread_, nullptr, start, this) != 0) {
      unavailable_ = true;
      return;
    }
    running_ = true;
  }
  char* const first = static_cast<char*>(begin);
  if (count_ > 0) {
    Range& last = pending_[(first_ + count_ - 1) % kMaxPending];
    if (last.begin + last.bytes == first) {
      last.bytes += bytes;
      return;
    }
  }
  if (count_ == kMaxPending) return;
  pending_[(first_ + count_) % kMaxPending] = Range{first, bytes};
  ++count_;
  changed_.notify_all();
#else
  (void)begin;
  (void)bytes;
#endif
}

void EMPageWarmer::Stop() {
#if defined(__linux__)
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!running_) return;
    stop_ = true;
  }
  changed_.notify_all();
  pthread_join(thread_, nullptr);
  std::lock_guard<std::mutex> lock(mutex_);
  running_ = false;
#endif
}

bool EMPageWarmer::Pop(Range& range) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return stop_ || count_ > 0; });
  if (count_ == 0) return false;  // stopped, and all that was asked is done
  range = pending_[first_];
  first_ = (first_ + 1) % kMaxPending;
  --count_;
  return true;
}

void EMPageWarmer::Work() {
  Range range;
  while (Pop(range)) {
    if (!MakeResident(range.begin, range.bytes)) {
      // Memory the kernel will not fault in: stop asking it.
      std::lock_guard<std::mutex> lock(mutex_);
      unavailable_ = true;
      count_ = 0;
    }
  }
}

}  // namespace veldrane
