#include "plugin/field_writers.h"

#include "model/constants.h"

namespace veldrane {

using V = ValueKind;

bool IsPointValue(ValueKind value) {
  switch (value) {
    case V::PointId:
    case V::PointTag:
    case V::Elevation:
    case V::PointStation:
    case V::BaselineOffset:
    case V::LateralOffset:
    case V::Code:
    case V::CodeDef:
    case V::VAdjustment:
      return true;
    default:
      return false;
  }
}

void WriteNumber(IRowBuffer& row, std::int32_t pos, double value, UnsetMark mark) {
  if (IsUndefined(value)) {
    if (mark == UnsetMark::NullIfUndefined) {
      row.SetNull(pos);
      return;
    }
    if (mark == UnsetMark::SkipIfUndefined) return;
  }
  row.SetDouble(pos, value);
}

void WriteDate(IRowBuffer& row, std::int32_t pos, const DateTime& value, UnsetMark mark) {
  if (value.IsUndefined()) {
    if (mark == UnsetMark::NullIfUndefined) {
      row.SetNull(pos);
      return;
    }
    if (mark == UnsetMark::SkipIfUndefined) return;
  }
  row.SetDate(pos, value);
}

void WritePointValue(ISurveyPoint& point, const SchemaField& field, IRowBuffer& row, std::int32_t pos) {
  switch (field.value) {
    case V::PointId: row.SetInteger(pos, point.Id()); break;
    case V::PointTag: row.SetString(pos, point.PointTag()); break;
    case V::Elevation: WriteNumber(row, pos, point.Z(), field.mark); break;
    case V::PointStation: WriteNumber(row, pos, point.Station(), field.mark); break;
    case V::BaselineOffset: WriteNumber(row, pos, point.BaselineOffset(), field.mark); break;
    case V::LateralOffset: WriteNumber(row, pos, point.LateralOffset(), field.mark); break;
    case V::Code: row.SetString(pos, point.Code()); break;
    case V::CodeDef: row.SetString(pos, point.CodeDescription()); break;
    case V::VAdjustment: WriteNumber(row, pos, point.VerticalAdjustment(), field.mark); break;
    default: break;
  }
}

namespace {

// Each member is written only by the objects that have it; the schemas name
// no member an object lacks.
#define VELDRANE_NUMBER(kind, member)                                                  \
  case V::kind:                                                                        \
    if constexpr (requires { object.member(); }) WriteNumber(row, pos, object.member(), m); \
    break;
#define VELDRANE_DATE(kind, member)                                                  \
  case V::kind:                                                                      \
    if constexpr (requires { object.member(); }) WriteDate(row, pos, object.member(), m); \
    break;
#define VELDRANE_TEXT(kind, member)                                                   \
  case V::kind:                                                                       \
    if constexpr (requires { object.member(); }) row.SetString(pos, object.member()); \
    break;
#define VELDRANE_LINK(kind, member)                                                         \
  case V::kind:                                                                             \
    if constexpr (requires { object.member(); }) WriteLinkedName(row, pos, object.member(), m); \
    break;

template <class Object>
void WriteFeatureValue(Object& object, const SchemaField& field, IRowBuffer& row, std::int32_t pos) {
  const UnsetMark m = field.mark;
  switch (field.value) {
    VELDRANE_NUMBER(Station, Station)
    VELDRANE_TEXT(AltName, AltName)
    VELDRANE_NUMBER(StartX, StartX)
    VELDRANE_NUMBER(StartY, StartY)
    VELDRANE_NUMBER(StopX, StopX)
    VELDRANE_NUMBER(StopY, StopY)
    VELDRANE_NUMBER(BaselineX, BaselineIntersectX)
    VELDRANE_NUMBER(BaselineY, BaselineIntersectY)
    VELDRANE_NUMBER(GridAzimuth, GridAzimuth)
    VELDRANE_NUMBER(GeodeticAzimuth, GeodeticAzimuth)
    VELDRANE_LINK(BenchmarkName, Benchmark)
    VELDRANE_LINK(GageName, Gage)
    VELDRANE_DATE(SurveyDate, SurveyDate)
    VELDRANE_TEXT(FieldBook, FieldBook)
    VELDRANE_TEXT(PageNumber, PageNumber)
    VELDRANE_NUMBER(WaterSurfaceElevation, WaterSurfaceElevation)
    VELDRANE_DATE(WaterSurfaceTime, WaterSurfaceTime)
    VELDRANE_TEXT(RangeName, RangeName)
    VELDRANE_TEXT(Description, Description)
    VELDRANE_TEXT(Name, Name)
    VELDRANE_NUMBER(DocumentedElevation, DocumentedElevation)
    VELDRANE_NUMBER(MeasuredElevation, MeasuredElevation)
    VELDRANE_TEXT(VerticalDatum, VerticalDatum)
    VELDRANE_TEXT(Epoch, Epoch)
    VELDRANE_TEXT(Condition, Condition)
    VELDRANE_TEXT(PID, PID)
    VELDRANE_NUMBER(Adjustment, Adjustment)
    VELDRANE_NUMBER(LocalMeanSeaLevelRelationship, LocalMeanSeaLevelRelationship)
    VELDRANE_NUMBER(MeanLowerLowWaterRelationship, MeanLowerLowWaterRelationship)
    VELDRANE_TEXT(NationalTidalDatumEpoch, NationalTidalDatumEpoch)
    VELDRANE_TEXT(GageCode, Code)
    VELDRANE_DATE(MeasurementDate, MeasurementDate)
    VELDRANE_NUMBER(LocalMeanSeaLevelReference, LocalMeanSeaLevelReference)
    VELDRANE_NUMBER(MeanLowerLowWaterReference, MeanLowerLowWaterReference)
    VELDRANE_TEXT(OriginalFileName, OriginalFileName)
    VELDRANE_TEXT(JobNumber, JobNumber)
    VELDRANE_TEXT(HorizontalDatum, HorizontalDatum)
    VELDRANE_TEXT(Projection, Projection)
    VELDRANE_TEXT(Units, Units)
    VELDRANE_TEXT(HorizontalEpoch, HorizontalEpoch)
    VELDRANE_TEXT(Title, Title)
    VELDRANE_DATE(TraverseDate, TraverseDate)
    VELDRANE_NUMBER(HorizontalAccuracy, HorizontalAccuracy)
    VELDRANE_TEXT(HorizontalAccuracyClass, HorizontalAccuracyClass)
    VELDRANE_TEXT(Comments, Comments)
    VELDRANE_TEXT(StationName, StationName)
    VELDRANE_NUMBER(TraversePointStation, Station)
    VELDRANE_NUMBER(Latitude, Latitude)
    VELDRANE_NUMBER(Longitude, Longitude)
    VELDRANE_NUMBER(BackGeodeticAzimuth, BackGeodeticAzimuth)
    VELDRANE_NUMBER(ForwardGeodeticAzimuth, ForwardGeodeticAzimuth)
    VELDRANE_NUMBER(MeasuredDistance, MeasuredDistance)
    VELDRANE_NUMBER(AdjustedDistance, AdjustedDistance)
    VELDRANE_NUMBER(MeasuredAngle, MeasuredAngle)
    VELDRANE_NUMBER(AdjustedAngle, AdjustedAngle)
    VELDRANE_NUMBER(ScaleFactor, ScaleFactor)
    VELDRANE_NUMBER(Convergence, Convergence)
    VELDRANE_NUMBER(PlaneDistance, PlaneDistance)
    VELDRANE_NUMBER(PlaneAzimuth, PlaneAzimuth)
    case V::Permanent:
      if constexpr (requires { object.IsPermanent(); }) row.SetString(pos, object.IsPermanent() ? "Y" : "N");
      break;
    case V::TraverseOID:
      row.SetSmallInteger(pos, 0);
      break;
    default:
      break;
  }
}

#undef VELDRANE_NUMBER
#undef VELDRANE_DATE
#undef VELDRANE_TEXT
#undef VELDRANE_LINK

}  // namespace

template <class Object>
void WriteObjectValue(Object& object, const SchemaField& field, IRowBuffer& row, std::int32_t pos) {
  if (IsPointValue(field.value)) {
    if constexpr (requires { object.Point(); }) {
      if (const std::shared_ptr<ISurveyPoint> point = object.Point()) WritePointValue(*point, field, row, pos);
    }
    return;
  }
  WriteFeatureValue(object, field, row, pos);
}

template void WriteObjectValue(ICrossSection&, const SchemaField&, IRowBuffer&, std::int32_t);
template void WriteObjectValue(IProfileCenterline&, const SchemaField&, IRowBuffer&, std::int32_t);
template void WriteObjectValue(ISurveyArea&, const SchemaField&, IRowBuffer&, std::int32_t);
template void WriteObjectValue(IMiscShotPoint&, const SchemaField&, IRowBuffer&, std::int32_t);
template void WriteObjectValue(IVerticalControl&, const SchemaField&, IRowBuffer&, std::int32_t);
template void WriteObjectValue(IGage&, const SchemaField&, IRowBuffer&, std::int32_t);
template void WriteObjectValue(ITraverse&, const SchemaField&, IRowBuffer&, std::int32_t);
template void WriteObjectValue(ITraversePoint&, const SchemaField&, IRowBuffer&, std::int32_t);

}  // namespace veldrane
