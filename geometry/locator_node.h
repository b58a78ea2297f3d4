#pragma once
// One labelled point of a Locator.
#include <cstdint>

namespace veldrane {

struct LocatorNode {
  double X = 0;
  double Y = 0;
  std::int32_t Id = 0;
};

}  // namespace veldrane
