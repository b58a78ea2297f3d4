#pragma once
// The EM reader's error queue. Messages about the lines of a block of
// coordinates carry the number of the last line read for that block, which
// is only known when the block ends: while a block is being read the queue
// remembers the records pushed for it and renumbers them when it ends.
#include <memory>
#include <vector>

#include "model/survey_error.h"

namespace veldrane {

class EMErrorQueue : public GenericSurveyErrorQueue {
 public:
  void Push(std::shared_ptr<ISurveyError> error) override {
    if (deferring_) {
      if (auto generic = std::dynamic_pointer_cast<GenericSurveyError>(error)) pending_.push_back(generic);
    }
    GenericSurveyErrorQueue::Push(std::move(error));
  }
  void BeginBlock() {
    deferring_ = true;
    pending_.clear();
  }
  // Gives every record pushed since BeginBlock the block's line number.
  void EndBlock(std::int32_t lineNumber) {
    for (const auto& record : pending_)
      if (record->LineNumber() != -1) record->SetLineNumber(lineNumber);
    pending_.clear();
    deferring_ = false;
  }
  bool InBlock() const { return deferring_; }

 private:
  bool deferring_ = false;
  std::vector<std::shared_ptr<GenericSurveyError>> pending_;
};

}  // namespace veldrane
