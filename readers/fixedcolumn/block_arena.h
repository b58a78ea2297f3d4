#pragma once
// Storage for the millions of points of a large survey: items are made in
// place, in runs that never move, inside blocks that grow from 16 KB to
// 2 MB. Blocks of 2 MB ask the system for huge pages, so filling them costs
// one page fault instead of five hundred. Small files stay small: their few
// points fit the first small blocks. Items live as long as the arena.
#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include <sys/mman.h>

namespace veldrane {

template <class T>
class BlockArena {
 public:
  BlockArena() = default;
  BlockArena(const BlockArena&) = delete;
  BlockArena& operator=(const BlockArena&) = delete;
  ~BlockArena() {
    for (auto& block : blocks_) {
      for (std::size_t i = 0; i < block.used; ++i) block.items[i].~T();
      if (block.huge) std::free(block.items);
      else ::operator delete(static_cast<void*>(block.items));
    }
  }

  // `count` default-made items side by side (nullptr for none).
  T* Allocate(std::size_t count) {
    if (count == 0) return nullptr;
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < count) AddBlock(count);
    Block& block = blocks_.back();
    T* first = block.items + block.used;
    for (std::size_t i = 0; i < count; ++i) new (first + i) T();
    block.used += count;
    size_ += count;
    return first;
  }

  std::size_t Size() const { return size_; }

  // Calls fn(item) for every item in the order they were made.
  template <class Fn>
  void ForEach(Fn&& fn) {
    for (auto& block : blocks_)
      for (std::size_t i = 0; i < block.used; ++i) fn(block.items[i]);
  }

 private:
  static constexpr std::size_t kFirstBlockBytes = std::size_t{16} << 10;
  static constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

  struct Block {
    T* items;
    std::size_t capacity;
    std::size_t used;
    bool huge;
  };

  void AddBlock(std::size_t atLeast) {
    std::size_t bytes = blocks_.empty() ? kFirstBlockBytes : blocks_.back().capacity * sizeof(T) * 2;
    if (bytes > kHugePageBytes) bytes = kHugePageBytes;
    if (bytes < atLeast * sizeof(T)) bytes = atLeast * sizeof(T);
    Block block{nullptr, 0, 0, false};
    if (bytes >= kHugePageBytes) {
      bytes = (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
      if (void* memory = std::aligned_alloc(kHugePageBytes, bytes)) {
        ::madvise(memory, bytes, MADV_HUGEPAGE);  // a hint: without huge pages it still works
        block.items = static_cast<T*>(memory);
        block.huge = true;
      }
    }
    if (!block.items) block.items = static_cast<T*>(::operator new(bytes));
    block.capacity = bytes / sizeof(T);
    blocks_.push_back(block);
  }

  std::vector<Block> blocks_;
  std::size_t size_ = 0;
};

}  // namespace veldrane
