#include "gdal/utf8_row_buffer.h"

#include <climits>
#include <cstdint>
#include <cstring>

#include <cpl_string.h>
#include <ogr_feature.h>

#include "model/text.h"

namespace veldrane::ogr {

bool IsUtf8(std::string_view text) {
  // Eight bytes at a time: every text of every feature is checked.
  bool ascii = true;
  std::size_t i = 0;
  for (; ascii && i + 8 <= text.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + i, sizeof(word));
    ascii = (word & 0x8080808080808080ull) == 0;
  }
  for (; ascii && i < text.size(); ++i) ascii = static_cast<unsigned char>(text[i]) < 0x80;
  if (ascii) return true;
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return false;
  return CPLIsUTF8(text.data(), static_cast<int>(text.size())) != 0;
}

std::string_view AsUtf8(std::string_view text, std::string& converted) {
  if (IsUtf8(text)) return text;
  converted = ToValidUtf8(text);
  return converted;
}

void Utf8RowBuffer::SetString(std::int32_t index, std::string_view value) {
  std::string converted;
  OgrFeatureRowBuffer::SetString(index, AsUtf8(value, converted));
}

}  // namespace veldrane::ogr
