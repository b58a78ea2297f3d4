// The arena that holds the points of the fixed-column and PRO readers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "readers/fixedcolumn/block_arena.h"
#include "readers/traverse/tessel_traverse.h"

namespace veldrane {
namespace {

struct Counted {
  Counted() { ++alive; }
  ~Counted() { --alive; }
  static inline int alive = 0;
  double value = 0;
  char padding[40] = {};
};

TEST(BlockArenaTest, ItemsStayWhereTheyWereMadeInOrder) {
  {
    BlockArena<Counted> arena;
    EXPECT_EQ(arena.Allocate(0), nullptr);
    std::vector<Counted*> made;
    // Runs of assorted lengths, together far more than the first blocks
    // hold, plus one run larger than a whole block.
    for (int i = 0; i < 3000; ++i) {
      const std::size_t count = 1 + static_cast<std::size_t>(i % 37);
      Counted* run = arena.Allocate(count);
      for (std::size_t k = 0; k < count; ++k) {
        run[k].value = static_cast<double>(made.size());
        made.push_back(run + k);
      }
    }
    Counted* big = arena.Allocate(100000);
    for (std::size_t k = 0; k < 100000; ++k) {
      big[k].value = static_cast<double>(made.size());
      made.push_back(big + k);
    }
    EXPECT_EQ(arena.Size(), made.size());
    EXPECT_EQ(Counted::alive, static_cast<int>(made.size()));
    for (std::size_t i = 0; i < made.size(); ++i) ASSERT_EQ(made[i]->value, static_cast<double>(i));
    double expected = 0;
    bool inOrder = true;
    arena.ForEach([&](Counted& c) { inOrder = inOrder && c.value == expected++; });
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(expected, static_cast<double>(made.size()));
  }
  EXPECT_EQ(Counted::alive, 0);
}

TEST(BlockArenaTest, AnOwnerOnTheStackStillHandsOutItsItems) {
  const auto path = std::filesystem::temp_directory_path() / "veldrane-stack-owner.83";
  std::ofstream(path, std::ios::binary) << std::string(25, '\n') << "(001) MARK\n1+00\n\n\n";
  TesselTraverse traverse;  // not shared: its stations come as plain pointers
  traverse.OpenTraverse(path.string());
  std::filesystem::remove(path);
  auto points = traverse.TraversePoints();
  ASSERT_EQ(points->Size(), 1);
  EXPECT_EQ(points->GetItem(0)->AltName(), "MARK");
  EXPECT_EQ(points->GetItem(0)->Station(), 100.0);
}

}  // namespace
}  // namespace veldrane
