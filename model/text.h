#pragma once
// Small text helpers shared by every reader. Blanks are space characters
// only: a tab is not a blank (readers turn tabs into blanks where the format
// says so).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veldrane {

std::string_view TrimBlanks(std::string_view text);
std::string_view TrimLeftBlanks(std::string_view text);
std::string_view TrimRightBlanks(std::string_view text);
std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix);

// Cut at every single blank, dropping empty pieces.
std::vector<std::string_view> BlankFieldSplit(std::string_view text);
// Cut at every occurrence of `separator`, keeping empty pieces.
std::vector<std::string_view> SplitKeepEmpty(std::string_view text, char separator);
std::string Join(const std::vector<std::string_view>& parts, std::size_t first, std::string_view separator);

// The text of a line from 1-based column `start` for `count` characters,
// trimmed of blanks; what runs past the end of the line is what is there.
std::string_view ColumnField(std::string_view line, std::size_t start, std::size_t count);
// From 1-based column `start` to the end of the line, trimmed.
std::string_view ColumnRest(std::string_view line, std::size_t start);

// Whether the text is a number written with an optional sign, digits, one
// "." and an optional exponent, with blanks allowed around it. Locale
// independent: "12,5" is not numeric, nor are "inf", "nan" or hex.
bool IsNumeric(std::string_view text);
// The value of numeric text, nullopt otherwise.
std::optional<double> ToNumber(std::string_view text);
// Whether the text consists only of decimal digits (at least one).
bool IsAllDigits(std::string_view text);

// Shortest decimal text that reads back as exactly the same double.
std::string FormatNumber(double value);

// Replaces bytes that are not valid UTF-8 by their Windows-1252 meaning, so
// survey text (often written on Windows) always prints as valid UTF-8.
std::string ToValidUtf8(std::string_view text);

// The Unicode code point of a byte in Windows-1252; 0 for the five bytes
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) that the code page leaves undefined.
char16_t Windows1252CodePoint(unsigned char byte);

// A name (of a file, a folder, a layer) for one line of text output, as it
// is on disk: valid UTF-8 stays as it is; control characters become "\n",
// "\t" or "\xHH", a backslash "\\", and every byte that is not valid
// UTF-8 "\xHH" (not converted, so the name can be found again).
std::string ShownName(std::string_view name);

}  // namespace veldrane
