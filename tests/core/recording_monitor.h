#pragma once
// A monitor for tests: records every message with the line it was given at.
#include <memory>
#include <string>
#include <vector>

#include "model/survey_error.h"

namespace veldrane::test {

class RecordingMonitor : public IMonitor {
 public:
  std::string Filename() const override { return "test.em"; }
  std::int32_t LineNumber() const override { return line; }
  void SetLineNumber(std::int32_t l) override { line = l; }
  void AppendError(const std::string& description) override {
    messages.push_back(description);
    queue->Push(std::make_shared<GenericSurveyError>(Filename(), line, description, 1));
  }
  std::shared_ptr<ISurveyErrorQueue> errorQueue() override { return queue; }

  std::int32_t line = 0;
  std::vector<std::string> messages;
  std::shared_ptr<GenericSurveyErrorQueue> queue = std::make_shared<GenericSurveyErrorQueue>();
};

}  // namespace veldrane::test
