#include "model/text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace veldrane {

std::string_view TrimLeftBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view TrimRightBlanks(std::string_view text) {
  const auto last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view TrimBlanks(std::string_view text) { return TrimRightBlanks(TrimLeftBlanks(text)); }

std::string ToUpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string ToLowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

std::vector<std::string_view> BlankFieldSplit(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ') ++i;
    if (i > start) fields.push_back(text.substr(start, i - start));
  }
  return fields;
}

std::vector<std::string_view> SplitKeepEmpty(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (true) {
    const auto pos = text.find(separator, start);
    if (pos == std::string_view::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, pos - start));
    start = pos + 1;
  }
}

std::string Join(const std::vector<std::string_view>& parts, std::size_t first, std::string_view separator) {
  std::string out;
  for (std::size_t i = first; i < parts.size(); ++i) {
    if (i > first) out.append(separator);
    out.append(parts[i]);
  }
  return out;
}

std::string_view ColumnField(std::string_view line, std::size_t start, std::size_t count) {
  if (start < 1 || start > line.size()) return {};
  return TrimBlanks(line.substr(start - 1, count));
}

std::string_view ColumnRest(std::string_view line, std::size_t start) {
  if (start < 1 || start > line.size()) return {};
  return TrimBlanks(line.substr(start - 1));
}

namespace {

// Validates the number grammar and returns the core text (without blanks
// and without a leading '+'), or nullopt.
std::optional<std::string_view> NumberCore(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  std::size_t i = 0;
  std::string_view core = text;
  if (text[0] == '+') {
    core = text.substr(1);
    i = 1;
  } else if (text[0] == '-') {
    i = 1;
  }
  std::size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  return core;
}

}  // namespace

bool IsNumeric(std::string_view text) { return ToNumber(text).has_value(); }

std::optional<double> ToNumber(std::string_view text) {
  const auto core = NumberCore(text);
  if (!core) return std::nullopt;
  double value = 0;
  const auto result = std::from_chars(core->data(), core->data() + core->size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Tiny values underflow to 0; overflow is not a number a survey can use.
    const bool negativeExponent =
        core->find("e-") != std::string_view::npos || core->find("E-") != std::string_view::npos;
    if (negativeExponent) return 0.0;
    return std::nullopt;
  }
  if (result.ec != std::errc() || result.ptr != core->data() + core->size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

bool IsAllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string FormatNumber(double value) {
  std::array<char, 400> buf{};
  // Plain decimals for the magnitudes surveys use, exponent form beyond them.
  const double magnitude = std::fabs(value);
  const bool plain = magnitude == 0 || (magnitude >= 1e-6 && magnitude < 1e15);
  const auto result = plain ? std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed)
                            : std::to_chars(buf.data(), buf.data() + buf.size(), value);
  return std::string(buf.data(), result.ptr);
}

namespace {

// The length of the well-formed UTF-8 sequence that starts at `i` (2 to 4
// bytes, no overlong forms, no surrogates), or 0 when there is none.
std::size_t Utf8SequenceAt(std::string_view text, std::size_t i) {
  const auto c = static_cast<unsigned char>(text[i]);
  std::size_t len = 0;
  char32_t cp = 0;
  if (c >= 0xC2 && c <= 0xDF) len = 2, cp = c & 0x1F;
  else if (c >= 0xE0 && c <= 0xEF) len = 3, cp = c & 0x0F;
  else if (c >= 0xF0 && c <= 0xF4) len = 4, cp = c & 0x07;
  if (len == 0 || i + len > text.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto cc = static_cast<unsigned char>(text[i + k]);
    if ((cc & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (cc & 0x3F);
  }
  if (len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return 0;
  if (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
  return len;
}

}  // namespace

char16_t Windows1252CodePoint(unsigned char byte) {
  // Code points for 0x80..0x9F; 0 marks bytes the code page leaves undefined.
  static constexpr std::array<char16_t, 32> kCp1252{
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  return byte >= 0x80 && byte < 0xA0 ? kCp1252[byte - 0x80] : byte;
}

std::string ToValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  auto put = [&out](char32_t cp) {
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    // A well-formed UTF-8 sequence stays as it is.
    if (const std::size_t len = Utf8SequenceAt(text, i)) {
      out.append(text.substr(i, len));
      i += len;
      continue;
    }
    const char16_t windows = Windows1252CodePoint(c);
    put(windows != 0 ? windows : 0xFFFD);
    ++i;
  }
  return out;
}

std::string ShownName(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(name.size());
  std::size_t i = 0;
  while (i < name.size()) {
    const auto c = static_cast<unsigned char>(name[i]);
    const std::size_t len = c < 0x80 ? 1 : Utf8SequenceAt(name, i);
    const std::size_t span = std::max<std::size_t>(len, 1);
    // C1 controls (U+0080..U+009F) are as unprintable as C0 ones.
    const bool c1Control = len == 2 && c == 0xC2 && static_cast<unsigned char>(name[i + 1]) < 0xA0;
    const bool printable = len == 1 ? c >= 0x20 && c != 0x7F && c != '\\' : len > 1 && !c1Control;
    if (printable) out.append(name.substr(i, span));
    else if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else
      for (std::size_t k = i; k < i + span; ++k) {
        const auto b = static_cast<unsigned char>(name[k]);
        out += {'\\', 'x', kHex[b >> 4], kHex[b & 0xF]};
      }
    i += span;
  }
  return out;
}

}  // namespace veldrane
