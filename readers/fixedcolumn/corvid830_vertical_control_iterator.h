#pragma once
// The benchmarks of a fixed-column survey; GetItem takes a 1-based index.
#include <memory>
#include <type_traits>
#include <vector>

#include "config/ordered_map.h"
#include "model/features.h"
#include "model/iterators.h"

namespace veldrane {

class Corvid830VerticalControlIterator : public ListIterator<IVerticalControlIterator, IVerticalControl, 1> {
 public:
  // Copies the table's benchmarks in table order and rewinds.
  template <class T>
  void InitVerticalControls(const OrderedMap<std::shared_ptr<T>>& table) {
    static_assert(std::is_base_of_v<IVerticalControl, T>, "items must be benchmarks");
    std::vector<std::shared_ptr<IVerticalControl>> items;
    items.reserve(table.Size());
    for (const auto& entry : table.Entries()) items.push_back(entry.second);
    Assign(std::move(items));
  }
  // Takes the list as it is and rewinds.
  void InitVerticalControls2(std::vector<std::shared_ptr<IVerticalControl>> list) { Assign(std::move(list)); }
};

}  // namespace veldrane
