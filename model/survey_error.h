#pragma once
// Error records, the first-in first-out error queue that travels with every
// survey, the monitor interface readers implement, and the run-time error
// that a fatal record (or an unexpected failure) raises.
#include <cstdint>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>

#include "model/interface.h"

namespace veldrane {

class ISurveyError : public IInterface {
 public:
  virtual std::string Filename() const = 0;
  virtual std::int32_t LineNumber() const = 0;
  virtual std::string Description() const = 0;
  virtual std::string ToString() const = 0;
  virtual std::int32_t severity() const = 0;
};

class GenericSurveyError : public ISurveyError {
 public:
  GenericSurveyError() = default;
  GenericSurveyError(std::string filename, std::int32_t line, std::string description, std::int32_t severity)
      : description_(std::move(description)), line_(line), filename_(std::move(filename)), severity_(severity) {}

  std::string Filename() const override { return filename_; }
  std::int32_t LineNumber() const override { return line_; }
  std::string Description() const override { return description_; }
  // "Line Number : 12 Bad" -- the file name is not part of the text.
  std::string ToString() const override;
  std::int32_t severity() const override { return severity_; }

  void SetDescription(std::string d) { description_ = std::move(d); }
  void SetLineNumber(std::int32_t n) { line_ = n; }
  void SetFilename(std::string f) { filename_ = std::move(f); }
  void SetSeverity(std::int32_t s) { severity_ = s; }

 private:
  std::string description_;
  std::int32_t line_ = 0;
  std::string filename_;
  std::int32_t severity_ = 1;
};

class ISurveyErrorQueue : public IInterface {
 public:
  virtual bool IsEmpty() const = 0;
  virtual void Push(std::shared_ptr<ISurveyError> error) = 0;
  // Removes and returns the oldest record. Popping an empty queue throws
  // std::out_of_range: callers test IsEmpty first.
  virtual std::shared_ptr<ISurveyError> Pop() = 0;
};

class GenericSurveyErrorQueue : public ISurveyErrorQueue {
 public:
  bool IsEmpty() const override { return items_.empty(); }
  void Push(std::shared_ptr<ISurveyError> error) override { items_.push_back(std::move(error)); }
  std::shared_ptr<ISurveyError> Pop() override;
  std::size_t Count() const { return items_.size(); }

 private:
  std::deque<std::shared_ptr<ISurveyError>> items_;
};

// What a reader offers to the value objects and parsers that report through
// it. Not an IInterface: it is an internal facet of reader classes.
class IMonitor {
 public:
  virtual ~IMonitor() = default;
  virtual std::string Filename() const = 0;
  virtual std::int32_t LineNumber() const = 0;
  virtual void SetLineNumber(std::int32_t line) = 0;
  // Queues a severity-1 record at the current line.
  virtual void AppendError(const std::string& description) = 0;
  virtual std::shared_ptr<ISurveyErrorQueue> errorQueue() = 0;
};

// A run-time error with a number and a dotted source name, raised by a fatal
// record, by the factory for an unknown extension, by the geometry for a
// profile that cannot be stationed, and by the data source towards the host.
class RaisedError : public std::runtime_error {
 public:
  RaisedError(std::int32_t number, std::string source, const std::string& description)
      : std::runtime_error(description), number_(number), source_(std::move(source)) {}
  std::int32_t Number() const { return number_; }
  const std::string& Source() const { return source_; }
  std::string Description() const { return what(); }

 private:
  std::int32_t number_;
  std::string source_;
};

// Makes a record, pushes it, and raises a RaisedError (number, source, the
// record's ToString()) when severity is 2.
void PropogateError(ISurveyErrorQueue& queue, const std::string& filename, std::int32_t number, std::int32_t severity,
                    const std::string& source, std::int32_t lineNumber, const std::string& description);

}  // namespace veldrane
