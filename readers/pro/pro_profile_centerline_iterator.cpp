#include "readers/pro/pro_profile_centerline_iterator.h"

namespace veldrane {

void ProProfileCenterlineIterator::InitProfile(std::shared_ptr<IProfileCenterline> profile) {
  profile_ = std::move(profile);
  handedOut_ = false;
}

std::shared_ptr<IProfileCenterline> ProProfileCenterlineIterator::GetNext() {
  if (handedOut_ || !profile_) return nullptr;
  handedOut_ = true;
  return profile_;
}

std::shared_ptr<IProfileCenterline> ProProfileCenterlineIterator::GetItem(std::int32_t /*index*/) {
  // There is at most one profile, so every index names it.
  return profile_;
}

}  // namespace veldrane
