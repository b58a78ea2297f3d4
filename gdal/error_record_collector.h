#pragma once
// Watches the calling thread's error log while survey files are read: every
// record the log lists is kept (for the "Errors" layer) and emitted as a GDAL
// warning in the form "FILE:LINE: SEVERITY: DESCRIPTION".
//
// The error log belongs to the thread that reads, so a collector lives on
// the stack of one call (the dataset open) and is never handed to another
// thread.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
  int subscription_ = 0;
};

}  // namespace veldrane::ogr
