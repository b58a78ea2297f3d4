#pragma once
// The row buffer the driver's layers hand to the cursors: values go straight
// into the OGRFeature being built, and text that is not valid UTF-8 (survey
// files are often written in a Windows code page) is converted on the way, so
// every string a layer returns is UTF-8.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/row_buffer.h"

namespace veldrane::ogr {

class Utf8RowBuffer final : public OgrFeatureRowBuffer {
 public:
  // Positions of `fields` go to the attribute of the same name in
  // `definition`.
  using OgrFeatureRowBuffer::OgrFeatureRowBuffer;

  void SetString(std::int32_t index, std::string_view value) override;
};

// True when `text` is valid UTF-8 (plain ASCII is checked without a call
// into GDAL).
bool IsUtf8(std::string_view text);
// `text` itself when it is valid UTF-8, else its Windows-1252 reading as
// UTF-8, made in `converted`.
std::string_view AsUtf8(std::string_view text, std::string& converted);

}  // namespace veldrane::ogr
