#include "cli/error_format.h"

namespace veldrane::cli {
namespace {

std::string Plural(int count, const std::string& singular, const std::string& plural) {
  return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

}  // namespace

std::string FormatCheckSummary(int files, int errors, int warnings, int unreadable) {
  std::string text = Plural(files, "file", "files") + " checked: " + Plural(errors, "error", "errors") + ", " +
                     Plural(warnings, "warning", "warnings");
  if (unreadable > 0) text += ", " + Plural(unreadable, "path", "paths") + " could not be read";
  return text;
}

}  // namespace veldrane::cli
