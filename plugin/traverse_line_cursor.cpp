#include "plugin/traverse_line_cursor.h"

#include <cmath>

#include "host/geometry.h"
#include "model/constants.h"
#include "model/survey_error.h"
#include "plugin/field_writers.h"

namespace veldrane {
namespace {
constexpr CursorTexts kTraverseLineTexts{"TrvLineCursorHelper", "No next record", "Traverse has not been initialized."};
}  // namespace

TrvLineCursorHelper::TrvLineCursorHelper() : SvyCursorBase(ClassKind::Traverses, kTraverseLineTexts) {}

void TrvLineCursorHelper::Initialize(std::shared_ptr<ITraverse> traverse, std::int32_t csid) {
  InitializeWith(csid, [&] {
    traverse_ = std::move(traverse);
    const std::shared_ptr<ITraversePointIterator> points = traverse_ ? traverse_->TraversePoints() : nullptr;
    recordCount_ = points && points->Size() > 0 ? 1 : 0;
  });
}

// A cursor that was never given a traverse has no record either.
bool TrvLineCursorHelper::HasCurrent() const {
  return traverse_ != nullptr && RecordOrdinal() >= 0 && RecordOrdinal() < recordCount_;
}

bool TrvLineCursorHelper::Advance() { return RecordOrdinal() < recordCount_; }

bool TrvLineCursorHelper::PositionOnOid(std::int32_t) {
  SetOrdinal(0);
  return true;
}

void TrvLineCursorHelper::WriteValue(const SchemaField& field, IRowBuffer& row, std::int32_t pos) {
  WriteObjectValue(*traverse_, field, row, pos);
}

void TrvLineCursorHelper::OnUnknownField(const std::string& name) {
  throw RaisedError(kErrUnexpected, "Ordane.TrvLineCursorHelper.QueryValues", "Unrecognized Field Name : " + name);
}

// X = Easting, Y = Northing, M = Station (NaN when undefined); Z-aware
// without Z values.
void TrvLineCursorHelper::BuildShape(OGRGeometry& geometry) {
  OGRLineString* line = &ShapeAs<OGRLineString>(geometry);
  line->set3D(TRUE);
  line->setMeasured(TRUE);
  const std::shared_ptr<ITraversePointIterator> points = traverse_->TraversePoints();
  if (!points) return;
  points->Initialize();
  while (const std::shared_ptr<ITraversePoint> point = points->GetNext()) {
    line->addPoint(point->Easting(), point->Northing(), std::nan(""), MeasureOf(point->Station()));
  }
}

}  // namespace veldrane
