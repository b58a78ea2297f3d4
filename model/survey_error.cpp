#include "model/survey_error.h"

#include "model/constants.h"

namespace veldrane {

std::string GenericSurveyError::ToString() const {
  return "Line Number : " + std::to_string(line_) + " " + description_;
}

std::shared_ptr<ISurveyError> GenericSurveyErrorQueue::Pop() {
  if (items_.empty()) throw std::out_of_range("Pop on an empty survey error queue");
  auto first = std::move(items_.front());
  items_.pop_front();
  return first;
}

void PropogateError(ISurveyErrorQueue& queue, const std::string& filename, std::int32_t number, std::int32_t severity,
                    const std::string& source, std::int32_t lineNumber, const std::string& description) {
  auto record = std::make_shared<GenericSurveyError>(filename, lineNumber, description, severity);
  queue.Push(record);
  if (severity == kSeverityFatal) throw RaisedError(number, source, record->ToString());
}

}  // namespace veldrane
