#pragma once
// Opening survey files for the subcommands: the checks that come before the
// survey factory (does the path exist, can it be read), the factory call
// itself with its raised errors turned into a message, and the listing of
// the survey files of a folder.
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "model/interface.h"
#include "model/survey_error.h"

namespace veldrane::cli {

struct OpenedSurveyFile {
  // The survey (ISurvey) or traverse (ITraverse); null when it could not be read.
  std::shared_ptr<IInterface> object;
  // Why it could not be read; empty when `object` is set.
  std::string problem;
};

// Reads one survey file through the survey factory. Never throws.
OpenedSurveyFile OpenForReading(const std::string& path);

// "PATH: problem", or the problem alone when it already names the path (as
// the factory's messages do), ready to print: the path as ShownName shows
// it, the problem as valid UTF-8.
std::string DescribeProblem(const std::string& path, const std::string& problem);

// Names on `err` what of `path` cannot be read ("veldrane COMMAND: PATH:
// why"): `path` itself when it is not a folder, else each survey file of the
// folder that is not a regular file or cannot be opened ("left out ...").
// Returns kExitUnreadable when `path` cannot be read at all,
// kExitDataErrors when files of the folder are left out, kExitOk otherwise.
int ReportUnreadable(const std::string& command, const std::string& path, std::ostream& err);

// Reads the members a reader computes only when asked (cross-section and
// profile stationing, offsets from the baseline, collected benchmarks and
// gage readings, traverse stations), so the problems found while computing
// them are queued like those found while reading the file. Never throws.
void ComputeDerivedMembers(IInterface& object);

// The error queue of a survey or traverse; null for anything else.
std::shared_ptr<ISurveyErrorQueue> ErrorQueueOf(const std::shared_ptr<IInterface>& object);

// The survey files of a folder (by extension, not recursive), sorted by file
// name. Throws std::runtime_error with a readable message when the folder
// cannot be listed.
std::vector<std::string> ListSurveyFiles(const std::string& folder);

// Every survey file a command-line path stands for: a folder gives its survey
// files, anything else stands for itself (checked when it is opened).
// Folders that cannot be listed are reported in `problems` as DescribeProblem
// gives them.
std::vector<std::string> ExpandSurveyPaths(const std::vector<std::string>& paths, std::vector<std::string>& problems);

}  // namespace veldrane::cli
