#include "model/string_builder.h"

namespace veldrane {

void StringBuilder::Init(std::int32_t initialCapacity, std::int32_t growth) {
  if (initialCapacity > 0) initialCapacity_ = initialCapacity;
  if (growth > 0) growth_ = growth;
}

void StringBuilder::AppendOne(std::string_view text) {
  const auto n = static_cast<std::int64_t>(text.size());
  const std::int64_t position = static_cast<std::int64_t>(text_.size()) + 1;
  if (position + n >= capacity_) {
    if (capacity_ < 0 && position + n < initialCapacity_) {
      capacity_ = initialCapacity_;
    } else {
      std::int64_t grown = initialCapacity_;
      while (!(grown > capacity_ + n && grown > position)) grown *= 2;
      capacity_ = static_cast<std::int32_t>(grown > INT32_MAX ? INT32_MAX : grown);
    }
  }
  text_.append(text);
}

std::string StringBuilder::ToString() {
  if (text_.empty()) return {};
  capacity_ = static_cast<std::int32_t>(text_.size());
  const auto end = text_.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : text_.substr(0, end + 1);
}

void StringBuilder::Clear() {
  text_.clear();
  capacity_ = -1;
}

}  // namespace veldrane
