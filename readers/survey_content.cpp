#include "readers/survey_content.h"

#include <algorithm>
#include <string>

#include "model/text.h"
#include "readers/em/em_coordinate_line.h"

namespace veldrane {
namespace {

enum class Format { None, EM, FixedColumn, Pro, Traverse };

Format FormatOf(std::string_view path) {
  for (const char* extension : {".em", ".cl", ".bl"})
    if (EndsWithIgnoreCase(path, extension)) return Format::EM;
  if (EndsWithIgnoreCase(path, ".830")) return Format::FixedColumn;
  if (EndsWithIgnoreCase(path, ".pro")) return Format::Pro;
  if (EndsWithIgnoreCase(path, ".27") || EndsWithIgnoreCase(path, ".83")) return Format::Traverse;
  return Format::None;
}

bool IsBinary(std::string_view bytes) {
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    const bool allowed = byte >= 0x20 || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v' || byte == 0x1A;
    if (!allowed || byte == 0x7F) return true;
  }
  return false;
}

std::string_view TrimBlanksAndTabs(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

bool IsUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "T01" to "T09": the header records of the fixed-column and PRO formats.
bool IsHeaderRecord(std::string_view line) {
  return line.size() >= 3 && line[0] == 'T' && line[1] == '0' && IsDigit(line[2]);
}

// The first `count` values of the line, separated by blanks, tabs or commas,
// all numbers.
bool StartsWithNumbers(std::string_view line, int count) {
  std::size_t position = 0;
  for (int i = 0; i < count; ++i) {
    position = line.find_first_not_of(" \t,", position);
    if (position == std::string_view::npos) return false;
    const std::size_t end = std::min(line.find_first_of(" \t,", position), line.size());
    if (!IsNumeric(line.substr(position, end - position))) return false;
    position = end;
  }
  return true;
}

bool IsEMCoordinateLine(std::string_view line) {
  std::string untabbed(line);
  for (char& c : untabbed)
    if (c == '\t') c = ' ';
  CoordinateValues values;
  return ReadCoordinateLine(untabbed, values);
}

bool IsRecordOf(Format format, std::string_view line) {
  switch (format) {
    case Format::EM:
      return (line.size() >= 2 && line[0] == '#' && IsUpperLetter(ToUpperAscii(line.substr(1, 1))[0])) ||
             IsEMCoordinateLine(line);
    case Format::FixedColumn:
      // Columns 9-11 of a cross-section line hold its type, "A01", "D02".
      return IsHeaderRecord(line) ||
             (line.size() >= 11 && IsUpperLetter(line[8]) && IsDigit(line[9]) && IsDigit(line[10]));
    case Format::Pro:
      return IsHeaderRecord(line) || StartsWithNumbers(line, 4);
    case Format::Traverse:
      return ToUpperAscii(line.substr(0, 6)) == "JOB NO";
    case Format::None:
      break;
  }
  return false;
}

}  // namespace

SurveyContent SurveyContentOf(std::string_view path, std::string_view bytes, bool whole) {
  const Format format = FormatOf(path);
  if (format == Format::None || IsBinary(bytes)) return SurveyContent::NotSurvey;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
    const std::string_view line = TrimBlanksAndTabs(bytes.substr(start, end - start));
    start = end + 1;
    const bool comment = format == Format::EM && !line.empty() && line.front() == ';';
    const bool blank = line.find_first_not_of(" \t\f\v\x1A") == std::string_view::npos;
    if (blank || comment) continue;
    return IsRecordOf(format, line) ? SurveyContent::Survey : SurveyContent::NotSurvey;
  }
  return whole ? SurveyContent::NotSurvey : SurveyContent::Undecided;
}

}  // namespace veldrane
