#pragma once
// Batches filled on a second thread ahead of the thread that uses them. At
// most `inUse` batches exist: one with the user, the others being filled or
// waiting; a used batch is handed back to be filled again, so a long read
// reuses the same memory throughout.
//
// `fill` runs on the second thread, one call per batch, and returns false
// when there was nothing more to put in the batch; that batch is not handed
// out and the second thread ends. What `fill` throws ends it too and is
// thrown by Next, after the batches filled before it.
//
// A second thread that has had nothing to fill for `idle` (every batch is
// filled and waiting, the user has stopped taking them) ends, so a read left
// half-way keeps no thread; the next call of Next starts another one, which
// goes on where the first stopped.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace veldrane {

// The unit the processor cores share memory in. What one thread writes
// often is kept off the lines another thread uses, or each write moves the
// line from one core to the other.
inline constexpr std::size_t kCacheLine = 64;

template <class Batch>
class ReadAheadQueue {
 public:
  static constexpr std::chrono::milliseconds kIdleStop{1000};

  // Starts the second thread; throws std::system_error when there is none
  // to be had.
  explicit ReadAheadQueue(std::function<bool(Batch&)> fill, int inUse = 3,
                          std::chrono::milliseconds idle = kIdleStop)
      : fill_(std::move(fill)), idle_(idle) {
    for (int i = 0; i < inUse; ++i) spare_.push_back(std::make_unique<Batch>());
    worker_ = std::thread(&ReadAheadQueue::Work, this);
  }
  // Stops the second thread (after the batch it is filling) and waits for it.
  ~ReadAheadQueue() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
  }
  ReadAheadQueue(const ReadAheadQueue&) = delete;
  ReadAheadQueue& operator=(const ReadAheadQueue&) = delete;

  // The next filled batch, or null at the end; it stays valid until the
  // next call. The batch returned before is handed back for filling.
  Batch* Next() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (current_) {
      spare_.push_back(std::move(current_));
      changed_.notify_all();
    }
    if (idled_) {
      // The second thread ended on its own; another one goes on. (Its
      // start may throw std::system_error, as the first one's.)
      if (worker_.joinable()) worker_.join();
      worker_ = std::thread(&ReadAheadQueue::Work, this);
      idled_ = false;
    }
    changed_.wait(lock, [this] { return !ready_.empty() || finished_; });
    if (!ready_.empty()) {
      current_ = std::move(ready_.front());
      ready_.pop_front();
      return current_.get();
    }
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    return nullptr;
  }

 private:
  void Work() {
    while (true) {
      std::unique_ptr<Batch> batch;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!changed_.wait_for(lock, idle_, [this] { return stop_ || !spare_.empty(); })) {
          idled_ = true;
          return;
        }
        if (stop_) return;
        batch = std::move(spare_.back());
        spare_.pop_back();
      }
      bool filled = false;
      std::exception_ptr failure;
      try {
        filled = fill_(*batch);
      } catch (...) {
        failure = std::current_exception();
      }
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (filled) {
          ready_.push_back(std::move(batch));
        } else {
          finished_ = true;
          failure_ = failure;
        }
      }
      changed_.notify_all();
      if (!filled) return;
    }
  }

  std::function<bool(Batch&)> fill_;
  std::chrono::milliseconds idle_;
  std::unique_ptr<Batch> current_;
  std::thread worker_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<Batch>> ready_;
  std::vector<std::unique_ptr<Batch>> spare_;
  bool finished_ = false;
  bool stop_ = false;
  bool idled_ = false;  // the second thread ended for want of work
  std::exception_ptr failure_;
};

}  // namespace veldrane
