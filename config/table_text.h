#pragma once
// Helpers shared by the loaders of the configuration tables.
#include <string>
#include <string_view>
#include <vector>

namespace veldrane {

// The lines of a text, whatever the line break (CR LF, LF or a lone CR).
// A final line break does not make an empty last line.
std::vector<std::string_view> TableLines(std::string_view text);

// Cuts at every occurrence of `delimiter` (which may be longer than one
// character), keeping empty pieces. An empty delimiter gives no fields.
std::vector<std::string_view> SplitAtDelimiter(std::string_view line, std::string_view delimiter);

// Reads a table file whole. False, with `error` holding the system's
// description, when it cannot be read.
bool ReadTableFile(const std::string& path, std::string& text, std::string& error);

// The text a table loader shows for a line it could not use.
std::string TableLineMessage(const std::string& description, std::string_view line);

// The description shown for a key defined twice.
extern const char* const kDuplicateKeyDescription;

}  // namespace veldrane
