#include "config/error_log.h"

#include <algorithm>

#include "config/module_context.h"
#include "model/text.h"

namespace veldrane {

std::string ErrorLogModel::ErrorKey(const std::string& file, std::int32_t line, const std::string& description) {
  return file + " : " + std::to_string(line) + " : " + description;
}

std::string ErrorLogModel::ErrorText(std::int32_t line, const std::string& description) {
  if (line >= 1) return "(Line : " + std::to_string(line) + ") " + description;
  return description;
}

const ErrorLogFile* ErrorLogModel::FindFile(const std::string& path) const {
  for (const auto& f : files_)
    if (f.path == path) return &f;
  return nullptr;
}

bool ErrorLogModel::PullError(const ISurveyError& error) {
  ErrorLogEntry entry;
  entry.file = error.Filename();
  entry.line = error.LineNumber();
  entry.description = error.Description();
  entry.severity = error.severity();
  entry.key = ErrorKey(entry.file, entry.line, entry.description);
  entry.text = ErrorText(entry.line, entry.description);

  auto it = std::find_if(files_.begin(), files_.end(), [&](const ErrorLogFile& f) { return f.path == entry.file; });
  if (it == files_.end()) {
    files_.push_back(ErrorLogFile{entry.file, {}});
    it = files_.end() - 1;
    Notify(ErrorLogEvent{ErrorLogEventKind::FileAdded, entry.file, nullptr});
    // A listener may have changed the log; find the node again.
    it = std::find_if(files_.begin(), files_.end(), [&](const ErrorLogFile& f) { return f.path == entry.file; });
    if (it == files_.end()) return false;
  }
  if (!errorKeys_.insert(entry.key).second) return false;
  it->errors.push_back(std::move(entry));
  const ErrorLogEntry added = it->errors.back();
  Notify(ErrorLogEvent{ErrorLogEventKind::ErrorAdded, added.file, &added});
  return true;
}

bool ErrorLogModel::PullErrors(ISurveyErrorQueue& queue) {
  bool added = false;
  while (!queue.IsEmpty()) {
    const auto error = queue.Pop();
    if (error && PullError(*error)) added = true;
  }
  if (added) Notify(ErrorLogEvent{ErrorLogEventKind::ShowRequested, {}, nullptr});
  return added;
}

void ErrorLogModel::RemoveSurveyFileFromErrorTreeGUI(const std::string& path) {
  const auto it = std::find_if(files_.begin(), files_.end(), [&](const ErrorLogFile& f) { return f.path == path; });
  if (it == files_.end()) return;
  for (const auto& e : it->errors) errorKeys_.erase(e.key);
  files_.erase(it);
  Notify(ErrorLogEvent{ErrorLogEventKind::FileRemoved, path, nullptr});
}

void ErrorLogModel::Clear() {
  files_.clear();
  errorKeys_.clear();
  Notify(ErrorLogEvent{ErrorLogEventKind::Cleared, {}, nullptr});
}

int ErrorLogModel::Subscribe(Listener listener) {
  const int id = nextListenerId_++;
  listeners_.emplace_back(id, std::make_shared<Listener>(std::move(listener)));
  return id;
}

void ErrorLogModel::Unsubscribe(int id) {
  listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(), [id](const auto& l) { return l.first == id; }),
                   listeners_.end());
}

void ErrorLogModel::Notify(const ErrorLogEvent& event) {
  // A copy, so listeners may subscribe or unsubscribe while being called.
  const auto listeners = listeners_;
  for (const auto& [id, listener] : listeners) {
    const bool stillSubscribed = std::any_of(listeners_.begin(), listeners_.end(),
                                             [id = id](const auto& l) { return l.first == id; });
    if (!stillSubscribed) continue;
    try {
      (*listener)(event);
    } catch (...) {
      // A failing observer must not cost the log its entries.
    }
  }
}

ErrorLogModel& ErrorLog() { return CurrentModuleContext().ErrorLog(); }

const char* SeverityWord(std::int32_t severity) {
  if (severity <= kSeverityWarning) return "warning";
  if (severity >= kSeverityFatal) return "fatal";
  return "error";
}

std::string FormatErrorLine(std::string_view file, std::int32_t line, std::int32_t severity,
                            std::string_view description) {
  std::string text = ToValidUtf8(description);
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  std::string out = ShownName(file);
  if (line >= 1) out.append(1, ':').append(std::to_string(line));
  out.append(": ").append(SeverityWord(severity)).append(": ").append(text);
  return out;
}

std::string FormatErrorLine(const ErrorLogEntry& entry) {
  return FormatErrorLine(entry.file, entry.line, entry.severity, entry.description);
}

}  // namespace veldrane
