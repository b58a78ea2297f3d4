#include "host/uid.h"

#include <cctype>
#include <stdexcept>

namespace veldrane {
namespace {
// "{8-4-4-4-12}" hexadecimal digits.
bool IsBracedGuid(const std::string& text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
  for (std::size_t i = 1; i < 37; ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (dash ? c != '-' : !std::isxdigit(c)) return false;
  }
  return true;
}
}  // namespace

void Uid::SetValue(const std::string& guid) {
  if (!IsBracedGuid(guid)) throw std::invalid_argument("not a GUID: " + guid);
  value_ = guid;
  for (char& c : value_) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

}  // namespace veldrane
