#pragma once
// An iterator that reads a survey's list in place (not a copy), so it sees
// the list as it is when read. Used for the crew, equipment and weather
// lists, whose iterators declare Size before GetItem.
#include <cstdint>
#include <memory>
#include <vector>

namespace veldrane {

template <class Interface, class T, class Item>
class ListViewIterator : public Interface {
 public:
  // The survey's list of concrete items, handed out as T.
  using List = std::vector<std::shared_ptr<Item>>;

  void Init(std::shared_ptr<const List> list) {
    list_ = std::move(list);
    position_ = 1;
  }
  void Initialize() override { position_ = 1; }
  std::shared_ptr<T> GetNext() override {
    if (!list_ || position_ < 1 || static_cast<std::size_t>(position_) > list_->size()) return nullptr;
    return (*list_)[static_cast<std::size_t>(position_++ - 1)];
  }
  std::int32_t Size() override { return list_ ? static_cast<std::int32_t>(list_->size()) : 0; }
  // Zero-based index; nullptr outside the list.
  std::shared_ptr<T> GetItem(std::int32_t index) override {
    if (!list_ || index < 0 || static_cast<std::size_t>(index) >= list_->size()) return nullptr;
    return (*list_)[static_cast<std::size_t>(index)];
  }

 private:
  std::shared_ptr<const List> list_;
  std::int32_t position_ = 1;
};

}  // namespace veldrane
