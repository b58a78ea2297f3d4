#pragma once
// Coordinate lines, "id northing easting elevation" with an optional code
// after them, the values separated by commas or by blanks. The common forms
// are cut and read here without any state of the reader, so it can be done
// ahead of the reader and on another thread; lines in any other form (tabs,
// too few values, numbers that do not read, a code with runs of blanks) are
// left to the reader, which reports them or tidies them first.
#include <string_view>

namespace veldrane {

// Cuts the first four comma-separated values of `text` into `values` and
// returns how many there are (fewer than 4 when the text has fewer); `rest`
// is everything after the fourth comma, as a code may itself hold commas.
// -1, with nothing cut, when the text holds a tab.
int CutAtCommas(std::string_view text, std::string_view (&values)[4], std::string_view& rest);

// The same for values separated by runs of blanks; `rest` is what follows
// the fourth value, trimmed of blanks.
int CutAtBlanks(std::string_view text, std::string_view (&values)[4], std::string_view& rest);

struct CoordinateValues {
  std::string_view id;
  std::string_view code;  // empty when the line has none
  double northing = 0;
  double easting = 0;
  double elevation = 0;
};

// True when `text` (trimmed of blanks) is a coordinate line in a common
// form whose three numbers read; `out` then holds its pieces (views into
// `text`). Comma-separated values are tried first, as the reader does.
bool ReadCoordinateLine(std::string_view text, CoordinateValues& out);

}  // namespace veldrane
