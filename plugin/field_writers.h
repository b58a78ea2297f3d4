#pragma once
// Writing survey values into a row buffer by the class schema: each value
// is written as a double, a 32-bit integer, text, a date or a null, and the
// schema's mark decides what happens to an absent value (an undefined
// number or date, a missing benchmark or gage).
#include <cstdint>
#include <memory>
#include <string>

#include "host/row_buffer.h"
#include "model/features.h"
#include "plugin/class_schemas.h"

namespace veldrane {

// True for the values read from a survey point.
bool IsPointValue(ValueKind value);

void WriteNumber(IRowBuffer& row, std::int32_t pos, double value, UnsetMark mark);
void WriteDate(IRowBuffer& row, std::int32_t pos, const DateTime& value, UnsetMark mark);

// The Name of a linked benchmark or gage; an absent one is not written or
// written as a null, by the mark.
template <class Linked>
void WriteLinkedName(IRowBuffer& row, std::int32_t pos, const std::shared_ptr<Linked>& linked, UnsetMark mark) {
  if (linked) {
    row.SetString(pos, linked->Name());
  } else if (mark == UnsetMark::NullIfAbsent) {
    row.SetNull(pos);
  }
}

// A point value of the field.
void WritePointValue(ISurveyPoint& point, const SchemaField& field, IRowBuffer& row, std::int32_t pos);

// A value of a feature object; point values of a shot point come from its
// point. Defined for ICrossSection, IProfileCenterline, ISurveyArea,
// IMiscShotPoint, IVerticalControl, IGage, ITraverse and ITraversePoint.
template <class Object>
void WriteObjectValue(Object& object, const SchemaField& field, IRowBuffer& row, std::int32_t pos);

}  // namespace veldrane
