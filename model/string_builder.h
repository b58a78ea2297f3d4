#pragma once
// The growable text accumulator the readers use for titles, comments and
// descriptions. Its one visible quirk is deliberate: ToString() drops
// trailing blanks, so "ab " alone reads back as "ab".
#include <cstdint>
#include <string>
#include <string_view>

namespace veldrane {

class StringBuilder {
 public:
  StringBuilder() = default;
  // A value of 0 or less leaves the default (1000).
  void Init(std::int32_t initialCapacity, std::int32_t growth = 0);

  template <class... Parts>
  void Append(const Parts&... parts) {
    (AppendOne(std::string_view(parts)), ...);
  }

  std::string ToString();
  void Clear();
  bool IsEmpty() const { return text_.empty(); }

  // Bookkeeping of the buffer size, observable for tests of the growth rule.
  std::int32_t Capacity() const { return capacity_; }

 private:
  void AppendOne(std::string_view text);

  std::int32_t initialCapacity_ = 1000;
  std::int32_t growth_ = 1000;
  std::int32_t capacity_ = -1;
  std::string text_;
};

}  // namespace veldrane
