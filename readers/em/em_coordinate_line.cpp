#include "readers/em/em_coordinate_line.h"

#include <cstring>
#include <optional>

#include "model/text.h"
#include "readers/em/em_number.h"

namespace veldrane {

// Every coordinate line of a file goes through here; memchr finds each
// separator faster than a loop over the characters.
int CutAtCommas(std::string_view text, std::string_view (&values)[4], std::string_view& rest) {
  rest = {};
  if (std::memchr(text.data(), '\t', text.size()) != nullptr) return -1;
  const char* start = text.data();
  const char* const end = start + text.size();
  int count = 0;
  while (count < 4) {
    const auto* comma = static_cast<const char*>(std::memchr(start, ',', static_cast<std::size_t>(end - start)));
    if (comma == nullptr) {
      values[count++] = std::string_view(start, static_cast<std::size_t>(end - start));
      return count;
    }
    values[count++] = std::string_view(start, static_cast<std::size_t>(comma - start));
    start = comma + 1;
  }
  rest = std::string_view(start, static_cast<std::size_t>(end - start));
  return count;
}

int CutAtBlanks(std::string_view text, std::string_view (&values)[4], std::string_view& rest) {
  rest = {};
  std::size_t i = 0;
  int count = 0;
  while (count < 4) {
    while (i < text.size() && text[i] == ' ') ++i;
    if (i == text.size()) return count;
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ') ++i;
    values[count++] = text.substr(start, i - start);
  }
  rest = TrimBlanks(text.substr(i));
  return count;
}

bool ReadCoordinateLine(std::string_view text, CoordinateValues& out) {
  std::string_view values[4];
  std::string_view rest;
  const int commaCount = CutAtCommas(text, values, rest);
  if (commaCount < 0) return false;
  if (commaCount < 4) {
    // Blank-separated; a code of several words is kept with single blanks
    // between them, which only the reader can do for a code with runs.
    if (CutAtBlanks(text, values, rest) < 4 || rest.find("  ") != std::string_view::npos) return false;
  }
  const std::optional<double> northing = CoordinateNumber(values[1]);
  if (!northing) return false;
  const std::optional<double> easting = CoordinateNumber(values[2]);
  if (!easting) return false;
  const std::optional<double> elevation = CoordinateNumber(values[3]);
  if (!elevation) return false;
  out.id = values[0];
  out.code = rest;
  out.northing = *northing;
  out.easting = *easting;
  out.elevation = *elevation;
  return true;
}

}  // namespace veldrane
