#pragma once
// A unique identifier whose value is set from a GUID text
// ("{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}").
#include <string>

namespace veldrane {

class Uid {
 public:
  // Stores the text in upper case. Throws std::invalid_argument when it is
  // not a braced GUID.
  void SetValue(const std::string& guid);
  const std::string& Value() const { return value_; }

 private:
  std::string value_;
};

}  // namespace veldrane
