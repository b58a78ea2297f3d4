#include "host/field_map.h"

#include <numeric>

namespace veldrane {

FieldMap FieldMap::WithLowerBound(std::vector<std::int32_t> entries, std::int32_t lowerBound) {
  FieldMap map(std::move(entries));
  map.lowerBound_ = lowerBound;
  return map;
}

FieldMap FieldMap::NotLongs(std::size_t count) {
  FieldMap map;
  map.entries_.assign(count, 0);
  return map;
}

FieldMap FieldMap::AllValues(std::size_t count) {
  std::vector<std::int32_t> entries(count);
  std::iota(entries.begin(), entries.end(), 0);
  return FieldMap(std::move(entries));
}

}  // namespace veldrane
