#include "config/code_dictionary.h"

#include <filesystem>
#include <fstream>
#include <sstream>

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

void LoadCodeDictionary(const std::string& surveyPath, CodeDictionary& dictionary) {
  std::error_code ec;
  const auto codes = std::filesystem::path(surveyPath).parent_path() / "CODES.DAT";
  if (!std::filesystem::is_regular_file(codes, ec)) return;
  std::ifstream in(codes, std::ios::binary);
  if (!in) return;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  dictionary.Clear();
  LoadCodeDictionaryText(buffer.str(), dictionary);
}

}  // namespace veldrane
