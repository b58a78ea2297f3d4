#include "readers/em/em_crew_member.h"

namespace veldrane {

bool EMCrewMember::Equals(IInterface* other) const {
  auto* member = dynamic_cast<ICrewMember*>(other);
  return member != nullptr && name_ == member->Name() && assignment_ == member->Assignment();
}

}  // namespace veldrane
