// Batches filled on a second thread: handed out in order, reused, a failure
// thrown after the batches before it, a queue dropped half way stops, and an
// idle filler ends until it is needed again.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include "config/read_ahead_queue.h"

namespace veldrane::test {
namespace {

struct Numbered {
  int number = -1;
  std::vector<int> payload;
};

// The filler throws after 50 batches: every batch before it arrives in order,
// untouched while in hand, in the same three batches reused throughout.
TEST(ReadAheadQueue, BatchesArriveInOrderAndAFailureIsThrownAfterThem) {
  int next = 0;
  std::set<const Numbered*> seen;
  ReadAheadQueue<Numbered> queue([&](Numbered& batch) {
    if (next == 50) throw std::runtime_error("read error");
    batch.number = next++;
    batch.payload.assign(100, batch.number);
    return true;
  });
  for (int i = 0; i < 50; ++i) {
    Numbered* batch = queue.Next();
    ASSERT_NE(batch, nullptr);
    EXPECT_EQ(batch->number, i);
    EXPECT_EQ(batch->payload.back(), i);
    seen.insert(batch);
  }
  EXPECT_LE(seen.size(), 3u);
  EXPECT_THROW(queue.Next(), std::runtime_error);
  EXPECT_EQ(queue.Next(), nullptr);
}

TEST(ReadAheadQueue, DroppingTheQueueStopsTheFilling) {
  std::atomic<int> fills{0};
  std::thread::id filler;
  {
    ReadAheadQueue<Numbered> queue([&](Numbered& batch) {
      filler = std::this_thread::get_id();
      batch.number = fills++;
      return true;  // would go on for ever
    });
    ASSERT_NE(queue.Next(), nullptr);
  }
  const int afterStop = fills.load();
  EXPECT_LE(afterStop, 4);  // the three in use, and the one being filled at most
  EXPECT_NE(filler, std::this_thread::get_id());
}

int ThreadsOfThisProcess() {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                                        std::filesystem::directory_iterator()));
}

// A read left half-way keeps no thread once the filling has been idle for a
// while; taking the next batch starts another that goes on where it stopped.
TEST(ReadAheadQueue, AnIdleFillerEndsAndTheNextBatchBringsItBack) {
  const int before = ThreadsOfThisProcess();
  int next = 0;
  ReadAheadQueue<Numbered> queue(
      [&](Numbered& batch) {
        if (next == 10) return false;
        batch.number = next++;
        return true;
      },
      3, std::chrono::milliseconds(20));
  ASSERT_EQ(queue.Next()->number, 0);
  for (int wait = 0; wait < 500 && ThreadsOfThisProcess() != before; ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ThreadsOfThisProcess(), before);
  std::vector<int> numbers;
  while (Numbered* batch = queue.Next()) numbers.push_back(batch->number);
  EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

}  // namespace
}  // namespace veldrane::test
