#include "plugin/class_schemas.h"

#include <array>

namespace veldrane {
namespace {

using T = HostFieldType;
using M = UnsetMark;
using V = ValueKind;

constexpr SchemaField kCrossSections[] = {
    {"Station", T::Double, 12, M::None, V::Station},
    {"AltName", T::String, 24, M::None, V::AltName},
    {"StartX", T::Double, 12, M::None, V::StartX},
    {"StartY", T::Double, 12, M::None, V::StartY},
    {"StopX", T::Double, 12, M::None, V::StopX},
    {"StopY", T::Double, 12, M::None, V::StopY},
    {"BaselineX", T::Double, 12, M::NullIfUndefined, V::BaselineX},
    {"BaselineY", T::Double, 12, M::NullIfUndefined, V::BaselineY},
    {"GridAzimuth", T::Double, 12, M::NullIfUndefined, V::GridAzimuth},
    {"GeodeticAzimuth", T::Double, 12, M::NullIfUndefined, V::GeodeticAzimuth},
    {"Benchmark", T::String, 32, M::SkipIfAbsent, V::BenchmarkName},
    {"SurveyDate", T::Date, 16, M::NullIfUndefined, V::SurveyDate},
    {"FieldBook", T::String, 40, M::None, V::FieldBook},
    {"PageNumber", T::String, 40, M::None, V::PageNumber},
    {"Gage", T::String, 20, M::SkipIfAbsent, V::GageName},
    {"WaterSurfaceElevation", T::Double, 16, M::NullIfUndefined, V::WaterSurfaceElevation},
    {"WaterSurfaceTime", T::Date, 16, M::NullIfUndefined, V::WaterSurfaceTime},
    {"RangeName", T::String, 24, M::None, V::RangeName},
    {"Description", T::String, 255, M::None, V::Description},
};

constexpr SchemaField kCrossSectionPoints[] = {
    {"CrossSectionOID", T::SmallInteger, 6, M::None, V::ContainerOID},
    {"PointId", T::Integer, 10, M::None, V::PointId},
    {"PointTag", T::String, 12, M::None, V::PointTag},
    {"Elevation", T::Single, 9, M::None, V::Elevation},
    {"RangeStartOffset", T::Single, 9, M::None, V::PointStation},
    {"BaselineOffset", T::Single, 9, M::NullIfUndefined, V::BaselineOffset},
    {"LateralOffset", T::Single, 9, M::None, V::LateralOffset},
    {"Code", T::String, 32, M::None, V::Code},
    {"CodeDef", T::String, 40, M::None, V::CodeDef},
    {"VAdjustment", T::Single, 6, M::None, V::VAdjustment},
};

constexpr SchemaField kProfiles[] = {
    {"Benchmark", T::String, 32, M::SkipIfAbsent, V::BenchmarkName},
    {"SurveyDate", T::Date, 16, M::NullIfUndefined, V::SurveyDate},
    {"FieldBook", T::String, 40, M::None, V::FieldBook},
    {"PageNumber", T::String, 40, M::None, V::PageNumber},
    {"Gage", T::String, 20, M::SkipIfAbsent, V::GageName},
    {"WaterSurfaceElevation", T::Double, 16, M::NullIfUndefined, V::WaterSurfaceElevation},
    {"WaterSurfaceTime", T::Date, 16, M::NullIfUndefined, V::WaterSurfaceTime},
    {"StartX", T::Double, 15, M::NullIfUndefined, V::StartX},
    {"StartY", T::Double, 15, M::NullIfUndefined, V::StartY},
    {"Station", T::Double, 15, M::NullIfUndefined, V::Station},
    {"AltName", T::String, 24, M::None, V::AltName},
    {"Description", T::String, 255, M::None, V::Description},
};

constexpr SchemaField kProfilePoints[] = {
    {"ProfileOID", T::SmallInteger, 6, M::None, V::ContainerOID},
    {"PointId", T::Integer, 10, M::None, V::PointId},
    {"PointTag", T::String, 12, M::None, V::PointTag},
    {"Station", T::Double, 16, M::SkipIfUndefined, V::PointStation},
    {"Elevation", T::Single, 9, M::None, V::Elevation},
    {"Code", T::String, 32, M::None, V::Code},
    {"CodeDef", T::String, 40, M::None, V::CodeDef},
    {"VAdjustment", T::Single, 9, M::None, V::VAdjustment},
};

constexpr SchemaField kAreas[] = {
    {"AltName", T::String, 24, M::None, V::AltName},
    {"Benchmark", T::String, 32, M::SkipIfAbsent, V::BenchmarkName},
    {"FieldBook", T::String, 40, M::None, V::FieldBook},
    {"PageNumber", T::String, 40, M::None, V::PageNumber},
    {"Gage", T::String, 20, M::SkipIfAbsent, V::GageName},
    {"WaterSurfaceElevation", T::Double, 16, M::NullIfUndefined, V::WaterSurfaceElevation},
    {"WaterSurfaceTime", T::Date, 16, M::NullIfUndefined, V::WaterSurfaceTime},
    {"SurveyDate", T::Date, 16, M::NullIfUndefined, V::SurveyDate},
    {"Description", T::String, 255, M::None, V::Description},
};

constexpr SchemaField kAreaPoints[] = {
    {"AreaOID", T::SmallInteger, 6, M::None, V::ContainerOID},
    {"PointId", T::Integer, 10, M::None, V::PointId},
    {"PointTag", T::String, 12, M::None, V::PointTag},
    {"Elevation", T::Single, 9, M::None, V::Elevation},
    {"Code", T::String, 32, M::None, V::Code},
    {"CodeDef", T::String, 40, M::None, V::CodeDef},
    {"VAdjustment", T::Single, 9, M::None, V::VAdjustment},
};

constexpr SchemaField kMiscellaneousShotPoints[] = {
    {"PointId", T::Integer, 10, M::None, V::PointId},
    {"PointTag", T::String, 12, M::None, V::PointTag},
    {"Elevation", T::Single, 9, M::None, V::Elevation},
    {"Code", T::String, 32, M::None, V::Code},
    {"CodeDef", T::String, 40, M::None, V::CodeDef},
    {"VAdjustment", T::Single, 9, M::None, V::VAdjustment},
    {"Description", T::String, 255, M::None, V::Description},
    {"Benchmark", T::String, 32, M::SkipIfAbsent, V::BenchmarkName},
    {"SurveyDate", T::Date, 16, M::NullIfUndefined, V::SurveyDate},
    {"FieldBook", T::String, 40, M::None, V::FieldBook},
    {"PageNumber", T::String, 40, M::None, V::PageNumber},
    {"Gage", T::String, 20, M::SkipIfAbsent, V::GageName},
    {"WaterSurfaceElevation", T::Double, 16, M::NullIfUndefined, V::WaterSurfaceElevation},
    {"WaterSurfaceTime", T::Date, 16, M::NullIfUndefined, V::WaterSurfaceTime},
};

constexpr SchemaField kBenchmarks[] = {
    {"Name", T::String, 32, M::None, V::Name},
    {"DocumentedElevation", T::Single, 12, M::NullIfUndefined, V::DocumentedElevation},
    {"MeasuredElevation", T::Single, 12, M::NullIfUndefined, V::MeasuredElevation},
    {"VerticalDatum", T::String, 15, M::None, V::VerticalDatum},
    {"Epoch", T::String, 12, M::None, V::Epoch},
    {"Condition", T::String, 15, M::None, V::Condition},
    {"Permanent", T::String, 1, M::None, V::Permanent},
    {"PID", T::String, 8, M::None, V::PID},
    {"VAdjustment", T::Single, 9, M::None, V::Adjustment},
    {"Description", T::String, 255, M::None, V::Description},
    {"FieldBook", T::String, 40, M::None, V::FieldBook},
    {"PageNumber", T::String, 40, M::None, V::PageNumber},
    {"SurveyDate", T::Date, 16, M::NullIfUndefined, V::SurveyDate},
    {"LocalMeanSeaLevelRelationship", T::Single, 12, M::NullIfUndefined, V::LocalMeanSeaLevelRelationship},
    {"MeanLowerLowWaterRelationship", T::Single, 12, M::NullIfUndefined, V::MeanLowerLowWaterRelationship},
    {"NationalTidalDatumEpoch", T::String, 12, M::None, V::NationalTidalDatumEpoch},
};

constexpr SchemaField kGages[] = {
    {"GageCode", T::String, 20, M::None, V::GageCode},
    {"Name", T::String, 20, M::None, V::Name},
    {"SurveyDate", T::Date, 16, M::NullIfUndefined, V::MeasurementDate},
    {"WaterSurfaceElevation", T::Single, 12, M::None, V::WaterSurfaceElevation},
    {"LocalMeanSeaLevelReference", T::Single, 12, M::NullIfUndefined, V::LocalMeanSeaLevelReference},
    {"MeanLowerLowWaterReference", T::Single, 12, M::NullIfUndefined, V::MeanLowerLowWaterReference},
    {"Description", T::String, 255, M::None, V::Description},
    {"FieldBook", T::String, 40, M::None, V::FieldBook},
    {"PageNumber", T::String, 40, M::None, V::PageNumber},
    {"Benchmark", T::String, 32, M::NullIfAbsent, V::BenchmarkName},
};

constexpr SchemaField kTraverses[] = {
    {"FileName", T::String, 24, M::None, V::OriginalFileName},
    {"JobNumber", T::String, 9, M::None, V::JobNumber},
    {"HorizontalDatum", T::String, 8, M::None, V::HorizontalDatum},
    {"FieldBook", T::String, 40, M::None, V::FieldBook},
    {"PageNumber", T::String, 40, M::None, V::PageNumber},
    {"Zone", T::String, 8, M::None, V::Projection},
    {"Units", T::String, 8, M::None, V::Units},
    {"HorizontalEpoch", T::String, 12, M::None, V::HorizontalEpoch},
    {"Title", T::String, 30, M::None, V::Title},
    {"TravDate", T::Date, 10, M::None, V::TraverseDate},
    {"HorizontalAccuracy", T::Double, 12, M::NullIfUndefined, V::HorizontalAccuracy},
    {"HorizontalAccuracyClass", T::String, 12, M::None, V::HorizontalAccuracyClass},
    {"Comments", T::String, 255, M::None, V::Comments},
};

constexpr SchemaField kTraversePoints[] = {
    {"StatName", T::String, 13, M::None, V::StationName},
    {"AltName", T::String, 13, M::None, V::AltName},
    {"Station", T::Double, 13, M::SkipIfUndefined, V::TraversePointStation},
    {"Latitude", T::Double, 14, M::SkipIfUndefined, V::Latitude},
    {"Longitude", T::Double, 14, M::SkipIfUndefined, V::Longitude},
    {"BackGeoAzimuth", T::Double, 14, M::SkipIfUndefined, V::BackGeodeticAzimuth},
    {"ForwardGeoAzimuth", T::Double, 14, M::SkipIfUndefined, V::ForwardGeodeticAzimuth},
    {"MeasuredDistance", T::Double, 14, M::SkipIfUndefined, V::MeasuredDistance},
    {"AdjustedDistance", T::Double, 14, M::SkipIfUndefined, V::AdjustedDistance},
    {"MeasuredAngle", T::Double, 14, M::SkipIfUndefined, V::MeasuredAngle},
    {"AdjustedAngle", T::Double, 14, M::SkipIfUndefined, V::AdjustedAngle},
    {"ScaleFactor", T::Double, 14, M::SkipIfUndefined, V::ScaleFactor},
    {"Convergence", T::Double, 14, M::SkipIfUndefined, V::Convergence},
    {"PlaneDistance", T::Double, 14, M::SkipIfUndefined, V::PlaneDistance},
    {"PlaneAzimuth", T::Double, 14, M::SkipIfUndefined, V::PlaneAzimuth},
    {"TraverseOID", T::Integer, 6, M::None, V::TraverseOID},
};

struct KindInfo {
  ClassKind kind;
  std::string_view name;
  std::span<const SchemaField> schema;
  ClassGeometry geometry;
};

constexpr ClassGeometry kLineZM{HostGeometryType::Polyline, true, true};
constexpr ClassGeometry kPointZM{HostGeometryType::Point, true, true};
constexpr ClassGeometry kPolygonZM{HostGeometryType::Polygon, true, true};

const std::array<KindInfo, 11> kKinds = {{
    {ClassKind::CrossSections, "CrossSections", kCrossSections, kLineZM},
    {ClassKind::CrossSectionPoints, "CrossSectionPoints", kCrossSectionPoints, kPointZM},
    {ClassKind::Profiles, "Profiles", kProfiles, kLineZM},
    {ClassKind::ProfilePoints, "ProfilePoints", kProfilePoints, kPointZM},
    {ClassKind::Areas, "Areas", kAreas, kPolygonZM},
    {ClassKind::AreaPoints, "AreaPoints", kAreaPoints, kPointZM},
    {ClassKind::MiscellaneousShotPoints, "MiscellaneousShotPoints", kMiscellaneousShotPoints, kPointZM},
    {ClassKind::Benchmarks, "Benchmarks", kBenchmarks, kPointZM},
    {ClassKind::Gages, "Gages", kGages, kPointZM},
    {ClassKind::Traverses, "Traverses", kTraverses, {HostGeometryType::Polyline, false, true}},
    {ClassKind::TraversePoints, "TraversePoints", kTraversePoints, {HostGeometryType::Point, false, true}},
}};

const KindInfo& Info(ClassKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

}  // namespace

std::string_view ClassKindName(ClassKind kind) { return Info(kind).name; }

std::optional<ClassKind> ClassKindFromName(std::string_view name) {
  for (const KindInfo& info : kKinds) {
    if (info.name == name) return info.kind;
  }
  return std::nullopt;
}

std::span<const SchemaField> ClassSchema(ClassKind kind) { return Info(kind).schema; }

std::int32_t FindSchemaField(ClassKind kind, std::string_view name) {
  const std::span<const SchemaField> schema = ClassSchema(kind);
  for (std::size_t i = 0; i < schema.size(); ++i) {
    if (name == schema[i].name) return static_cast<std::int32_t>(i);
  }
  return -1;
}

ClassGeometry ClassGeometryOf(ClassKind kind) { return Info(kind).geometry; }

bool IsTraverseKind(ClassKind kind) { return kind == ClassKind::Traverses || kind == ClassKind::TraversePoints; }

}  // namespace veldrane
