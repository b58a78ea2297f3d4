#include "config/code_dictionary.h"

#include <filesystem>

#include "config/file_access.h"
#include "model/text.h"

namespace veldrane {

void LoadCodeDictionaryText(std::string_view text, CodeDictionary& dictionary) {
  std::size_t start = 0;
  while (start <= text.size()) {
    auto end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const auto line = text.substr(start, end - start);
    const auto fields = SplitKeepEmpty(line, ';');
    if (fields.size() >= 2) dictionary.Set(std::string(fields.front()), std::string(fields.back()));
    if (end == text.size()) break;
    // A CR LF pair ends one line, not two.
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
}

std::string LoadCodeDictionary(const std::string& surveyPath, CodeDictionary& dictionary) {
  const auto codes = (std::filesystem::path(surveyPath).parent_path() / "CODES.DAT").string();
  std::string text;
  try {
    if (!ReadWholeFile(codes, text)) return {};
  } catch (const FileReadError& failure) {
    return failure.what();
  }
  dictionary.Clear();
  LoadCodeDictionaryText(text, dictionary);
  return {};
}

}  // namespace veldrane
