#pragma once
// The cross sections of a fixed-column survey that have points, in file
// order; GetItem 0-based.
#include <memory>
#include <vector>

#include "model/features.h"
#include "model/iterators.h"
#include "readers/fixedcolumn/corvid830_cross_section.h"

namespace veldrane {

class Corvid830CrossSectionIterator : public ListIterator<ICrossSectionIterator, ICrossSection, 0> {
 public:
  // Copies the sections whose point list is not empty, in order, and rewinds.
  void InitCrossSections(const std::vector<std::shared_ptr<Corvid830CrossSection>>& sections);
};

}  // namespace veldrane
