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

class Utf8RowBuffer final : public IRowBuffer {
 public:
  // Positions of `fields` go to the attribute of the same name in
  // `definition`.
  Utf8RowBuffer(std::shared_ptr<const Fields> fields, const OGRFeatureDefn& definition);

  void Attach(OGRFeature* feature) { target_.Attach(feature); }

  const std::shared_ptr<const Fields>& FieldSet() const override { return target_.FieldSet(); }
  void SetNull(std::int32_t index) override { target_.SetNull(index); }
  void SetSmallInteger(std::int32_t index, std::int16_t value) override { target_.SetSmallInteger(index, value); }
  void SetInteger(std::int32_t index, std::int32_t value) override { target_.SetInteger(index, value); }
  void SetDouble(std::int32_t index, double value) override { target_.SetDouble(index, value); }
  void SetString(std::int32_t index, std::string_view value) override;
  void SetDate(std::int32_t index, const DateTime& value) override { target_.SetDate(index, value); }

 private:
  OgrFeatureRowBuffer target_;
};

// True when `text` is valid UTF-8 (plain ASCII is checked without a call
// into GDAL).
bool IsUtf8(std::string_view text);

}  // namespace veldrane::ogr
