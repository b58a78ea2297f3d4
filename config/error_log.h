#pragma once
// The error log: every problem found in the survey files read for one
// module context (config/module_context.h), grouped under one node per file. It is a model only; a window
// (the desktop catalog's tree) or a message sink (the OGR driver's GDAL
// warnings, the command-line tool's report) observes it through listeners.
//
// File node: key and text are the file's full path; files keep the order in
// which they were first listed. Error node: key = file + " : " + line + " : "
// + description, text = "(Line : N) description" when the line is 1 or more,
// the description alone otherwise. Equal keys are the same error, which is
// listed once whatever its severity; each entry keeps the severity it was
// first listed with.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/constants.h"
#include "model/survey_error.h"

namespace veldrane {

struct ErrorLogEntry {
  std::string file;
  std::int32_t line = 0;
  std::string description;
  std::int32_t severity = kSeverityError;
  std::string key;
  std::string text;
};

struct ErrorLogFile {
  std::string path;  // key and text of the file node
  std::vector<ErrorLogEntry> errors;
};

enum class ErrorLogEventKind {
  FileAdded,     // `file` was listed (before its first error)
  ErrorAdded,    // `entry` was listed under `file`
  FileRemoved,   // `file` and all its errors were dropped
  ShowRequested, // a pull listed something new: a window should become visible
  Cleared,       // everything was dropped
};

struct ErrorLogEvent {
  ErrorLogEventKind kind;
  std::string file;
  const ErrorLogEntry* entry = nullptr;  // ErrorAdded only; valid during the call
};

class ErrorLogModel {
 public:
  using Listener = std::function<void(const ErrorLogEvent&)>;

  // Lists the error (and its file when missing). True when a node was
  // added, false for an error already listed.
  bool PullError(const ISurveyError& error);
  // Pops every record, oldest first, and lists it. True when at least one
  // node was added; then listeners also get ShowRequested.
  bool PullErrors(ISurveyErrorQueue& queue);
  // Drops the file's node with all its errors; nothing when not listed.
  void RemoveSurveyFileFromErrorTreeGUI(const std::string& path);
  void Clear();

  const std::vector<ErrorLogFile>& Files() const { return files_; }
  const ErrorLogFile* FindFile(const std::string& path) const;
  std::size_t ErrorCount() const { return errorKeys_.size(); }

  // Listeners are called after each change, in subscription order. A
  // listener may subscribe or unsubscribe while being called; a listener
  // that throws is ignored (the log keeps its entries).
  int Subscribe(Listener listener);
  void Unsubscribe(int id);

  static std::string ErrorKey(const std::string& file, std::int32_t line, const std::string& description);
  static std::string ErrorText(std::int32_t line, const std::string& description);

 private:
  void Notify(const ErrorLogEvent& event);

  std::vector<ErrorLogFile> files_;
  std::unordered_set<std::string> errorKeys_;
  std::vector<std::pair<int, std::shared_ptr<Listener>>> listeners_;
  int nextListenerId_ = 1;
};

// The error log of the current module context.
ErrorLogModel& ErrorLog();

// "warning", "error" or "fatal" for severities 0, 1 and 2.
const char* SeverityWord(std::int32_t severity);
// "FILE:LINE: SEVERITY: DESCRIPTION", the one-line form of a record wherever
// it is shown (the tool's output, the driver's warnings). ":LINE" is left
// out when the line is below 1; FILE is shown as it is on disk (ShownName:
// control characters and bytes that are not UTF-8 escaped); line breaks in
// the description become blanks, and the description is valid UTF-8.
std::string FormatErrorLine(std::string_view file, std::int32_t line, std::int32_t severity,
                            std::string_view description);
std::string FormatErrorLine(const ErrorLogEntry& entry);

}  // namespace veldrane
