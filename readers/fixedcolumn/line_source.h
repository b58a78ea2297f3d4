#pragma once
// Something that hands out the lines of a text one by one, without their
// terminators (CR LF, LF or a lone CR). A line's view stays valid until the
// next call.
#include <string_view>

namespace veldrane {

class LineSource {
 public:
  virtual ~LineSource() = default;
  // The next line; false when no line is left.
  virtual bool Next(std::string_view& line) = 0;
};

}  // namespace veldrane
