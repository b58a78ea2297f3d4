#pragma once
// Watches the error log of the current module context while survey files
// are read: every record the log lists is kept (for the "Errors" layer) and
// emitted as a GDAL warning in the form "FILE:LINE: SEVERITY: DESCRIPTION".
//
// A collector lives on the stack of one call (the dataset open, a finished
// pass) that works in the dataset's context, and is never handed to another
// thread.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace veldrane {
class ErrorLogModel;
}

namespace veldrane::ogr {

struct ErrorRecord {
  std::string filename;
  std::int32_t lineNumber = 0;
  std::int32_t severity = 0;
  std::string description;
};

using ErrorRecords = std::vector<ErrorRecord>;

class ErrorRecordCollector {
 public:
  // `emitWarnings` false keeps the records without telling GDAL.
  explicit ErrorRecordCollector(bool emitWarnings = true);
  ~ErrorRecordCollector();
  ErrorRecordCollector(const ErrorRecordCollector&) = delete;
  ErrorRecordCollector& operator=(const ErrorRecordCollector&) = delete;

  const ErrorRecords& Records() const { return *records_; }
  // Hands the records over (the collector keeps collecting into a new list).
  ErrorRecords TakeRecords();

 private:
  // Shared with the listener, which the log may keep calling until the
  // destructor unsubscribes it.
  std::shared_ptr<ErrorRecords> records_;
  ErrorLogModel& log_;
  int subscription_ = 0;
};

}  // namespace veldrane::ogr
