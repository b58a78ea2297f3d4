#pragma once
// The field map a host hands to a fetch: one entry per field of the row
// buffers it will pass to QueryValues. An entry of -1 asks the cursor not to
// fill that position; any other value asks it to fill the position from the
// class field of the same name. Hosts pass it as a loosely typed array, so
// the value records what the host actually gave (an array of 32-bit
// integers or not, and the array's lower bound), and cursors check it.
#include <cstdint>
#include <vector>

namespace veldrane {

class FieldMap {
 public:
  // Not an array at all.
  FieldMap() = default;
  // An array of 32-bit integers with lower bound 0 (what every caller in
  // this program passes).
  FieldMap(std::vector<std::int32_t> entries)  // NOLINT(google-explicit-constructor): a map is its entries
      : entries_(std::move(entries)), isLongArray_(true) {}
  // An array of 32-bit integers with another lower bound.
  static FieldMap WithLowerBound(std::vector<std::int32_t> entries, std::int32_t lowerBound);
  // An array whose elements are not 32-bit integers.
  static FieldMap NotLongs(std::size_t count);
  // A map of `count` entries of -1: asks for no attribute values.
  static FieldMap NoValues(std::size_t count) { return FieldMap(std::vector<std::int32_t>(count, -1)); }
  // A map of `count` entries 0 .. count-1: asks for every value.
  static FieldMap AllValues(std::size_t count);

  bool IsLongArray() const { return isLongArray_; }
  std::int32_t LowerBound() const { return lowerBound_; }
  // Upper bound - lower bound + 1.
  std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }
  // Entry at zero-based offset i from the lower bound.
  std::int32_t Entry(std::int32_t i) const { return entries_[static_cast<std::size_t>(i)]; }
  const std::vector<std::int32_t>& Entries() const { return entries_; }

 private:
  std::vector<std::int32_t> entries_;
  bool isLongArray_ = false;
  std::int32_t lowerBound_ = 0;
};

}  // namespace veldrane
