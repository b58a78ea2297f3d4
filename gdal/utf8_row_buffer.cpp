#include "gdal/utf8_row_buffer.h"

#include <climits>

#include <cpl_string.h>
#include <ogr_feature.h>

#include "model/text.h"

namespace veldrane::ogr {

bool IsUtf8(std::string_view text) {
  bool ascii = true;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) return true;
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return false;
  return CPLIsUTF8(text.data(), static_cast<int>(text.size())) != 0;
}

void Utf8RowBuffer::SetString(std::int32_t index, std::string_view value) {
  if (IsUtf8(value)) {
    OgrFeatureRowBuffer::SetString(index, value);
  } else {
    OgrFeatureRowBuffer::SetString(index, ToValidUtf8(value));
  }
}

}  // namespace veldrane::ogr
