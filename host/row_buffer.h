#pragma once
// Row buffers receive the attribute values of one record from a cursor. A
// buffer has a field set (count, type, name of every position) and typed
// writers; a value is written as the kind the data source chose (the host
// converts as needed, e.g. a double into a single field). A position that is
// never written keeps whatever the buffer held before.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/fields.h"
#include "model/date_time.h"

class OGRFeature;
class OGRFeatureDefn;

namespace veldrane {

class IRowBuffer {
 public:
  virtual ~IRowBuffer() = default;
  // The buffer's fields. Cursors prepare their per-field work once per field
  // set object, so a buffer must not swap or edit its field set while a
  // cursor is filling it.
  virtual const std::shared_ptr<const Fields>& FieldSet() const = 0;
  virtual void SetNull(std::int32_t index) = 0;
  virtual void SetSmallInteger(std::int32_t index, std::int16_t value) = 0;
  virtual void SetInteger(std::int32_t index, std::int32_t value) = 0;
  virtual void SetDouble(std::int32_t index, double value) = 0;
  virtual void SetString(std::int32_t index, std::string_view value) = 0;
  virtual void SetDate(std::int32_t index, const DateTime& value) = 0;
};

// One stored value of a RowBuffer.
struct RowValue {
  enum class Kind { Unset, Null, SmallInteger, Integer, Double, String, Date };
  Kind kind = Kind::Unset;
  std::int32_t integer = 0;  // SmallInteger and Integer
  double number = 0.0;
  std::string text;  // kept between writes so its storage is reused
  DateTime date;
};

// A buffer that stores the values (the general-purpose host row buffer).
class RowBuffer : public IRowBuffer {
 public:
  explicit RowBuffer(std::shared_ptr<const Fields> fields);

  const std::shared_ptr<const Fields>& FieldSet() const override { return fields_; }
  void SetNull(std::int32_t index) override;
  void SetSmallInteger(std::int32_t index, std::int16_t value) override;
  void SetInteger(std::int32_t index, std::int32_t value) override;
  void SetDouble(std::int32_t index, double value) override;
  void SetString(std::int32_t index, std::string_view value) override;
  void SetDate(std::int32_t index, const DateTime& value) override;

  // Throws std::out_of_range for a bad index (so do the writers).
  const RowValue& Value(std::int32_t index) const;
  // Makes every value unset again.
  void Clear();

 private:
  RowValue& At(std::int32_t index);
  RowValue& Mark(std::int32_t index, RowValue::Kind kind);

  std::shared_ptr<const Fields> fields_;
  std::vector<RowValue> values_;
};

// A buffer that writes straight into an OGRFeature, so an OGR driver fills
// its features without an intermediate copy. Position i of the field set
// goes to OGR attribute index `ogrIndexes[i]`; positions mapped to -1 (the
// object ID, the shape, ignored fields) are dropped. Dates become OGR
// date-times; a null becomes an OGR null field.
class OgrFeatureRowBuffer : public IRowBuffer {
 public:
  // Maps every field that is neither object ID nor geometry to the attribute
  // of the same name in `definition` (-1 when it has none), and stores the
  // values each attribute holds as they are, without OGR's conversion
  // checks. Features attached must then have that layout.
  OgrFeatureRowBuffer(std::shared_ptr<const Fields> fields, const OGRFeatureDefn& definition);

  // The feature written to by the setters (not owned; may be null, which
  // drops every write).
  void Attach(OGRFeature* feature) { feature_ = feature; }
  std::vector<int> OgrIndexes() const;

  const std::shared_ptr<const Fields>& FieldSet() const override { return fields_; }
  void SetNull(std::int32_t index) override;
  void SetSmallInteger(std::int32_t index, std::int16_t value) override;
  void SetInteger(std::int32_t index, std::int32_t value) override;
  void SetDouble(std::int32_t index, double value) override;
  void SetString(std::int32_t index, std::string_view value) override;
  void SetDate(std::int32_t index, const DateTime& value) override;

 private:
  // How a value reaches its attribute: stored as it is when the attribute
  // holds exactly that kind of value, else through OGR's checked setters,
  // which convert and apply the subtypes' ranges.
  enum class Store : unsigned char { Checked, Integer, Int16, Real, String };
  struct Slot {
    int target = -1;
    Store store = Store::Checked;
  };
  // The slot of a position, null when its value is dropped. Inline: every
  // value of every feature a layer reads passes through here.
  const Slot* Target(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= slots_.size()) ThrowOutOfRange(index);
    const Slot& slot = slots_[static_cast<std::size_t>(index)];
    return feature_ != nullptr && slot.target >= 0 ? &slot : nullptr;
  }
  [[noreturn]] static void ThrowOutOfRange(std::int32_t index);
  bool IsUnset(int target) const;

  std::shared_ptr<const Fields> fields_;
  std::vector<Slot> slots_;
  OGRFeature* feature_ = nullptr;
  std::string scratch_;  // NUL-terminated copy of a text value
};

}  // namespace veldrane
