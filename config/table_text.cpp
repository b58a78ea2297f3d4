#include "config/table_text.h"

#include <cerrno>
#include <system_error>

#include "config/file_access.h"
#include "config/file_system.h"

namespace veldrane {

const char* const kDuplicateKeyDescription = "This key is already associated with an element of this collection";

std::vector<std::string_view> TableLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    if (end == text.size()) break;
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

std::vector<std::string_view> SplitAtDelimiter(std::string_view line, std::string_view delimiter) {
  std::vector<std::string_view> fields;
  if (delimiter.empty()) return fields;
  std::size_t start = 0;
  for (;;) {
    const auto at = line.find(delimiter, start);
    if (at == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, at - start));
    start = at + delimiter.size();
  }
}

bool ReadTableFile(const std::string& path, std::string& text, std::string& error) {
  if (path.empty()) {
    error = "No table file name given";
    return false;
  }
  if (!FileExists(path)) {
    error = std::generic_category().message(FolderExists(path) ? EISDIR : ENOENT);
    return false;
  }
  try {
    if (ReadWholeFile(path, text)) return true;
    error = std::generic_category().message(EACCES);
  } catch (const FileReadError& failure) {
    error = failure.what();
  }
  return false;
}

std::string TableLineMessage(const std::string& description, std::string_view line) {
  return description + " : " + std::string(line);
}

}  // namespace veldrane
