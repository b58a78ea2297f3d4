#pragma once
// Number fields of coordinate lines, read fast. Plain decimals with at most
// 15-16 significant digits (every coordinate a survey writes) are computed
// exactly as one correctly rounded division of two exactly representable
// values, which is the same double the general parser yields; everything
// else goes through the general parser (model/text.h ToNumber).
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/text.h"

namespace veldrane {

inline std::optional<double> CoordinateNumber(std::string_view text) {
  static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  std::size_t i = 0;
  const std::size_t n = text.size();
  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::uint64_t mantissa = 0;
  std::size_t digits = 0;
  std::size_t fraction = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') {
    mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i++] - '0');
    ++digits;
    if (digits > 19) return ToNumber(text);
  }
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
      mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i++] - '0');
      ++digits;
      ++fraction;
      if (digits > 19) return ToNumber(text);
    }
  }
  if (i != n || digits == 0 || fraction > 22 || mantissa > (std::uint64_t{1} << 53)) return ToNumber(text);
  double value = static_cast<double>(mantissa) / kPow10[fraction];
  return negative ? -value : value;
}

}  // namespace veldrane
