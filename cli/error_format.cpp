#include "cli/error_format.h"

#include "model/text.h"

namespace veldrane::cli {
namespace {

std::string Plural(int count, const std::string& singular, const std::string& plural) {
  return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

std::string OneLine(std::string text) {
  for (auto& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

}  // namespace

std::string SeverityName(int severity) {
  if (severity <= 0) return "warning";
  if (severity == 1) return "error";
  return "fatal";
}

std::string FormatErrorLine(const ISurveyError& error, const std::string& fallbackFile) {
  std::string line = ToValidUtf8(error.Filename().empty() ? fallbackFile : error.Filename());
  if (error.LineNumber() >= 1) line += ":" + std::to_string(error.LineNumber());
  line += ": " + SeverityName(error.severity()) + ": ";
  line += OneLine(ToValidUtf8(error.Description()));
  return line;
}

std::string FormatCheckSummary(int files, int errors, int warnings, int unreadable) {
  std::string text = Plural(files, "file", "files") + " checked: " + Plural(errors, "error", "errors") + ", " +
                     Plural(warnings, "warning", "warnings");
  if (unreadable > 0) text += ", " + Plural(unreadable, "path", "paths") + " could not be read";
  return text;
}

}  // namespace veldrane::cli
