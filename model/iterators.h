#pragma once
// The iterator protocol shared by every collection of the model: a 1-based
// position, Initialize() rewinds to 1, GetNext() returns the item at the
// position and advances (nullptr past the end, without advancing),
// GetItem(index) does not move, Size() counts. Most iterators index GetItem
// from 0; the benchmark and gage iterators from 1.
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "model/interface.h"

namespace veldrane {

// Slot order Initialize, GetNext, GetItem, Size.
template <class T>
class IItemIterator : public IInterface {
 public:
  virtual void Initialize() = 0;
  virtual std::shared_ptr<T> GetNext() = 0;
  virtual std::shared_ptr<T> GetItem(std::int32_t index) = 0;
  virtual std::int32_t Size() = 0;
};

// Slot order Initialize, GetNext, Size, GetItem (crew, equipment, weather).
template <class T>
class ISizeFirstIterator : public IInterface {
 public:
  virtual void Initialize() = 0;
  virtual std::shared_ptr<T> GetNext() = 0;
  virtual std::int32_t Size() = 0;
  virtual std::shared_ptr<T> GetItem(std::int32_t index) = 0;
};

// A list-backed implementation of either protocol. `IndexBase` is the index
// of the first item for GetItem (0 or 1). Items are shared, not copied; an
// index outside the list yields nullptr.
template <class Interface, class T, int IndexBase = 0>
class ListIterator : public Interface {
 public:
  ListIterator() = default;
  explicit ListIterator(std::vector<std::shared_ptr<T>> items) : items_(std::move(items)) {}

  void Initialize() override { position_ = 1; }
  std::shared_ptr<T> GetNext() override {
    if (position_ < 1 || static_cast<std::size_t>(position_) > items_.size()) return nullptr;
    return items_[static_cast<std::size_t>(position_++ - 1)];
  }
  std::shared_ptr<T> GetItem(std::int32_t index) override {
    const std::int64_t i = static_cast<std::int64_t>(index) - IndexBase;
    if (i < 0 || static_cast<std::size_t>(i) >= items_.size()) return nullptr;
    return items_[static_cast<std::size_t>(i)];
  }
  std::int32_t Size() override { return static_cast<std::int32_t>(items_.size()); }

  // Replaces the items and rewinds.
  void Assign(std::vector<std::shared_ptr<T>> items) {
    items_ = std::move(items);
    position_ = 1;
  }
  const std::vector<std::shared_ptr<T>>& Items() const { return items_; }

 private:
  std::vector<std::shared_ptr<T>> items_;
  std::int32_t position_ = 1;
};

}  // namespace veldrane
