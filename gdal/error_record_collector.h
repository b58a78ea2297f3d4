#pragma once
// Watches the error log of the current module context while survey files
// are read: every record the log lists is kept (for the "Errors" layer) and
// told to GDAL as a warning, either each on its own in the form
// "FILE:LINE: SEVERITY: DESCRIPTION" (a single file opened) or as one
// summary per file when the collector ends (a folder opened: every file's
// every problem would drown a client's message log).
//
// A collector lives on the stack of one call (the dataset open, a finished
// pass) that works in the dataset's context, and is never handed to another
// thread.
#include <cstdint>
#include <utility>
#include <memory>
#include <string>
#include <vector>

namespace veldrane {
class ErrorLogModel;
class IPlugInDatasetHelper;
}

namespace veldrane::ogr {

struct ErrorRecord {
  std::string filename;
  std::int32_t lineNumber = 0;
  std::int32_t severity = 0;
  std::string description;
};

using ErrorRecords = std::vector<ErrorRecord>;

enum class ProblemWarnings { EachRecord, SummaryPerFile, None };

class ErrorRecordCollector {
 public:
  explicit ErrorRecordCollector(ProblemWarnings warnings = ProblemWarnings::EachRecord);
  ~ErrorRecordCollector();  // emits the summaries
  ErrorRecordCollector(const ErrorRecordCollector&) = delete;
  ErrorRecordCollector& operator=(const ErrorRecordCollector&) = delete;

  const ErrorRecords& Records() const { return state_->records; }
  // Hands the records over (the collector keeps collecting into a new list).
  ErrorRecords TakeRecords();

 private:
  // Shared with the listener, which the log may keep calling until the
  // destructor unsubscribes it.
  struct State {
    ProblemWarnings warnings;
    ErrorRecords records;
    // For the summaries: each file's severities, files in order of appearance.
    std::vector<std::pair<std::string, std::vector<int>>> severitiesByFile;
  };
  std::shared_ptr<State> state_;
  ErrorLogModel& log_;
  int subscription_ = 0;
};

// Moves what the dataset's survey queued since it was read (problems found
// while computing what was asked for) into the current error log.
void PullQueuedProblems(IPlugInDatasetHelper& dataset);

// "levee.em: 3 problems (1 error, 2 warnings); ..." for the summaries.
std::string ProblemSummary(const std::string& file, const std::vector<int>& severities);

}  // namespace veldrane::ogr
