#pragma once
// A crew member ("#C" record) of an EM survey.
#include <memory>
#include <string>

#include "model/features.h"
#include "readers/em/em_list_view_iterator.h"

namespace veldrane {

class EMCrewMember : public ICrewMember {
 public:
  std::string Name() override { return name_; }
  std::string Assignment() override { return assignment_; }

  void SetAssignment(std::string v) { assignment_ = std::move(v); }
  void SetName(std::string v) { name_ = std::move(v); }
  std::shared_ptr<EMCrewMember> Clone() const { return std::make_shared<EMCrewMember>(*this); }
  // Same name and assignment, compared case-sensitively.
  bool Equals(IInterface* other) const;

 private:
  std::string name_, assignment_;
};

class CrewMemberIterator : public ListViewIterator<ICrewMemberIterator, ICrewMember, EMCrewMember> {};

}  // namespace veldrane
