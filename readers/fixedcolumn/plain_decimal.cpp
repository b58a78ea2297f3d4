#include "readers/fixedcolumn/plain_decimal.h"

#include <array>
#include <cstdint>

#include "model/field_parsing.h"

namespace veldrane {
namespace {

constexpr int kMaxDigits = 15;  // 10^15 < 2^53: the digits are an exact integer

constexpr std::array<double, kMaxDigits + 1> kPowersOfTen{1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                          1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

}  // namespace

std::optional<double> PlainDecimal(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::uint64_t mantissa = 0;
  int digits = 0;
  int fractionDigits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (++digits > kMaxDigits) return std::nullopt;
      mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
      if (point) ++fractionDigits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0) return std::nullopt;
  const double value = static_cast<double>(mantissa) / kPowersOfTen[static_cast<std::size_t>(fractionDigits)];
  return negative ? -value : value;
}

double ParseAngleQuick(IMonitor& monitor, std::string_view text, std::string_view label) {
  const auto first = text.find('-');
  const auto second = first == std::string_view::npos ? first : text.find('-', first + 1);
  if (second != std::string_view::npos && text.find('-', second + 1) == std::string_view::npos) {
    const auto d = PlainDecimal(text.substr(0, first));
    const auto m = PlainDecimal(text.substr(first + 1, second - first - 1));
    const auto s = PlainDecimal(text.substr(second + 1));
    if (d && m && s) return *d + *m / 60.0 + *s / 3600.0;
  }
  return ParseAngle(monitor, text, label);
}

double ParseNumberQuick(IMonitor& monitor, std::string_view text, std::string_view label) {
  if (const auto value = PlainDecimal(text)) return *value;
  return ParseNumber(monitor, text, label);
}

}  // namespace veldrane
