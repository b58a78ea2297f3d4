#pragma once
// Makes memory resident on a second thread, ahead of the thread that will
// fill it. A fresh page costs a fault, and the kernel clears it before
// handing it out; on a virtual machine whose host has not backed that page
// yet, the fault costs far more than the reader's own work on it. Taking the
// faults on a second thread lets them overlap the reading instead of adding
// to it.
//
// Warming is only ever a help: where the thread or the kernel call is not
// to be had, nothing is warmed and the memory is faulted in by whoever
// writes it first, as usual. The contents of warmed memory are unchanged.
//
// The second thread never allocates from the heap. A thread that does gets
// a heap arena of its own, and a read's other threads would then each keep
// their freed memory resident in yet another arena.
#include <array>
#include <condition_variable>
#include <cstddef>
#include <mutex>

#if defined(__linux__)
#include <pthread.h>
#endif

namespace veldrane {

class EMPageWarmer {
 public:
  EMPageWarmer() = default;
  EMPageWarmer(const EMPageWarmer&) = delete;
  EMPageWarmer& operator=(const EMPageWarmer&) = delete;
  ~EMPageWarmer() { Stop(); }

  // Asks for the page-aligned range [begin, begin + bytes) to be made
  // resident; returns at once. The first call starts the second thread.
  // A range that follows on from the one asked for last joins it; when too
  // many ranges wait already, the range is not warmed.
  void Warm(void* begin, std::size_t bytes);

  // Waits until what was asked is warmed and ends the second thread, so
  // the memory may be released afterwards. Warm may be called again later.
  void Stop();

  // Whether warming is possible here (a kernel that can fault memory in on
  // request). Where it is not, Warm does nothing.
  static bool Supported();

 private:
  struct Range {
    char* begin = nullptr;
    std::size_t bytes = 0;
  };
  static constexpr std::size_t kMaxPending = 8;

  void Work();
  bool Pop(Range& range);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::array<Range, kMaxPending> pending_{};
  std::size_t first_ = 0, count_ = 0;
  bool stop_ = false;
  bool unavailable_ = false;  // no thread, or the kernel cannot warm
  bool running_ = false;
#if defined(__linux__)
  pthread_t thread_{};
#endif
};

}  // namespace veldrane
