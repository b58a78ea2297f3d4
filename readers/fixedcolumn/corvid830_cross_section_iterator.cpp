#include "readers/fixedcolumn/corvid830_cross_section_iterator.h"

namespace veldrane {

void Corvid830CrossSectionIterator::InitCrossSections(
    const std::vector<std::shared_ptr<Corvid830CrossSection>>& sections) {
  std::vector<std::shared_ptr<ICrossSection>> kept;
  kept.reserve(sections.size());
  // PointCount is the Size of the section's point iterator, without making one.
  for (const auto& section : sections)
    if (section && section->PointCount() >= 1) kept.push_back(section);
  Assign(std::move(kept));
}

}  // namespace veldrane
