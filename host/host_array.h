#pragma once
// The host's array of shared objects (the list DatasetNames returns).
#include <cstdint>
#include <memory>
#include <vector>

namespace veldrane {

template <class T>
class HostArray {
 public:
  void Add(std::shared_ptr<T> item) { items_.push_back(std::move(item)); }
  std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
  // Null for an index outside 0 .. Count() - 1.
  std::shared_ptr<T> Element(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) return nullptr;
    return items_[static_cast<std::size_t>(index)];
  }

 private:
  std::vector<std::shared_ptr<T>> items_;
};

}  // namespace veldrane
