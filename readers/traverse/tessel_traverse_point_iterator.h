#pragma once
// Iterator over traverse stations, GetItem 0-based. It holds any
// ITraversePoint: the traverse reader's stations and the EM baseline
// reader's baseline points alike.
#include <memory>
#include <type_traits>
#include <vector>

#include "model/features.h"
#include "model/iterators.h"

namespace veldrane {

class TesselTraversePointIterator : public ListIterator<ITraversePointIterator, ITraversePoint, 0> {
 public:
  // Copies the references of `points`, in order, and rewinds.
  template <class T>
  void InitTraversePoints(const std::vector<std::shared_ptr<T>>& points) {
    static_assert(std::is_base_of_v<ITraversePoint, T>, "items must be traverse points");
    Assign(std::vector<std::shared_ptr<ITraversePoint>>(points.begin(), points.end()));
  }
};

}  // namespace veldrane
