// The point arena's storage rules and the page warmer behind it.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include "readers/em/em_page_warmer.h"
#include "readers/em/em_point_arena.h"

namespace veldrane {
namespace {

// Bytes of [begin, begin + bytes) that are resident, counted in pages.
std::size_t ResidentBytes(const void* begin, std::size_t bytes) {
  const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  std::vector<unsigned char> flags((bytes + page - 1) / page);
  if (::mincore(const_cast<void*>(begin), bytes, flags.data()) != 0) return 0;
  std::size_t resident = 0;
  for (unsigned char flag : flags) resident += (flag & 1) ? page : 0;
  return resident;
}

TEST(EMPointArenaTest, ExtendGrowsOnlyTheLastRunAndOnlyWithinItsChunk) {
  EMPointArena arena(4096);
  EMStoredPoint* first = arena.Allocate(2);
  EXPECT_TRUE(arena.Extend(first + 2, 3));
  EXPECT_FALSE(arena.Extend(first + 2, 1)) << "not where the last room ends";
  EMStoredPoint* second = arena.Allocate(1);
  EXPECT_EQ(second, first + 5) << "room follows on in the same chunk";
  const std::size_t capacity = 4096 / sizeof(EMStoredPoint);
  EXPECT_FALSE(arena.Extend(second + 1, capacity)) << "more than the chunk has left";
  EXPECT_TRUE(arena.Extend(second + 1, capacity - 6));
  arena.Allocate(1);  // the chunk is full: this goes to a new one
  EXPECT_FALSE(arena.Extend(second + 1 + capacity - 6, 1)) << "the old chunk's end is no longer the last room";
}

TEST(EMPageWarmerTest, WarmedMemoryIsResidentAndKeepsItsContents) {
  if (!EMPageWarmer::Supported()) GTEST_SKIP() << "this kernel cannot fault memory in on request";
  constexpr std::size_t kBytes = std::size_t{8} << 20;
  void* mapped = ::mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  char* memory = static_cast<char*>(mapped);
  std::memcpy(memory, "written first", 14);
  ASSERT_LT(ResidentBytes(memory, kBytes), kBytes);
  {
    EMPageWarmer warmer;
    warmer.Warm(memory, kBytes / 2);
    warmer.Warm(memory + kBytes / 2, kBytes / 2);  // joins the range before
    warmer.Stop();
    EXPECT_EQ(ResidentBytes(memory, kBytes), kBytes);
    EXPECT_STREQ(memory, "written first");
    EXPECT_EQ(memory[kBytes - 1], 0);
    // A stopped warmer starts again when asked.
    ::madvise(memory, kBytes, MADV_DONTNEED);
    warmer.Warm(memory, kBytes);
  }  // destroying it waits as Stop does
  EXPECT_EQ(ResidentBytes(memory, kBytes), kBytes);
  ::munmap(mapped, kBytes);
}

}  // namespace
}  // namespace veldrane
