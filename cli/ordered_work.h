#pragma once
// Work on many items at once with results handed back in item order: a
// fixed pool of threads takes item indexes from a shared counter, each
// thread in its own module context derived from the caller's (its own error
// log and current file), and the calling thread receives each result as soon
// as it and every result before it are done.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "config/module_context.h"

namespace veldrane::cli {

// Calls `work(i)` for every i in [0, count) on up to `threads` threads and
// `deliver(result)` on the calling thread in the order of i. `work` must not
// throw.
template <class Result, class Work, class Deliver>
void ForEachInOrder(std::size_t count, unsigned threads, Work work, Deliver deliver) {
  std::vector<std::optional<Result>> results(count);
  std::mutex mutex;
  std::condition_variable done;
  std::atomic<std::size_t> next{0};
  const auto run = [&](const std::shared_ptr<ModuleContext>& context) {
    ModuleContextScope scope(*context);
    for (std::size_t i = next++; i < count; i = next++) {
      Result result = work(i);
      {
        std::lock_guard lock(mutex);
        results[i] = std::move(result);
      }
      done.notify_one();
    }
  };
  std::vector<std::jthread> pool;
  const std::size_t size = std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(count, 1));
  for (std::size_t t = 0; t < size; ++t) pool.emplace_back(run, CurrentModuleContext().Derive());
  for (std::size_t i = 0; i < count; ++i) {
    std::unique_lock lock(mutex);
    done.wait(lock, [&] { return results[i].has_value(); });
    Result result = std::move(*results[i]);
    results[i].reset();
    lock.unlock();
    deliver(result);
  }
}

}  // namespace veldrane::cli
