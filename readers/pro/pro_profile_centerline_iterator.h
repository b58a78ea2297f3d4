#pragma once
// Hands out the one profile of a PRO survey: Size is 1 with a profile and 0
// without; GetNext gives it once after filling or Initialize; GetItem gives
// it whatever the index.
#include <memory>

#include "model/features.h"

namespace veldrane {

class ProProfileCenterlineIterator : public IProfileCenterlineIterator {
 public:
  void InitProfile(std::shared_ptr<IProfileCenterline> profile);

  void Initialize() override { handedOut_ = false; }
  std::shared_ptr<IProfileCenterline> GetNext() override;
  std::shared_ptr<IProfileCenterline> GetItem(std::int32_t index) override;
  std::int32_t Size() override { return profile_ ? 1 : 0; }

 private:
  std::shared_ptr<IProfileCenterline> profile_;
  bool handedOut_ = false;
};

}  // namespace veldrane
