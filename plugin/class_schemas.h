#pragma once
// The feature classes a survey dataset offers, their geometry and their
// attribute fields, and which survey value fills each field.
//
// Every class starts with the object-ID field (position 0) and the shape
// field (position 1); the attribute fields below follow from position 2 in
// the order listed. A field is defined with length and precision equal to
// its size, scale 3, nullable.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "host/host_types.h"

namespace veldrane {

enum class ClassKind : std::int32_t {
  CrossSections,
  CrossSectionPoints,
  Profiles,
  ProfilePoints,
  Areas,
  AreaPoints,
  MiscellaneousShotPoints,
  Benchmarks,
  Gages,
  Traverses,
  TraversePoints,
};

// How a value that is absent is handed to the host.
enum class UnsetMark : std::uint8_t {
  None,            // written as it is
  NullIfUndefined, // the undefined number / date is written as a null
  SkipIfUndefined, // the undefined number / date is not written
  SkipIfAbsent,    // a linked benchmark or gage that is absent: not written
  NullIfAbsent,    // a linked benchmark or gage that is absent: a null
};

// The survey value behind a field. Point values are read from the current
// survey point (for shot points: the shot's point); the others from the
// current feature object.
enum class ValueKind : std::uint8_t {
  // survey point values
  PointId,
  PointTag,
  Elevation,          // Z
  PointStation,       // the point's Station
  BaselineOffset,
  LateralOffset,
  Code,
  CodeDef,            // CodeDescription
  VAdjustment,        // VerticalAdjustment
  // the record ordinal of the container of a point (cross section, profile, area)
  ContainerOID,
  // feature values (cross sections, profiles, areas, shot points)
  Station,
  AltName,
  StartX,
  StartY,
  StopX,
  StopY,
  BaselineX,          // BaselineIntersectX
  BaselineY,          // BaselineIntersectY
  GridAzimuth,
  GeodeticAzimuth,
  BenchmarkName,      // Benchmark's Name
  GageName,           // Gage's Name
  SurveyDate,
  FieldBook,
  PageNumber,
  WaterSurfaceElevation,
  WaterSurfaceTime,
  RangeName,
  Description,
  // benchmarks
  Name,
  DocumentedElevation,
  MeasuredElevation,
  VerticalDatum,
  Epoch,
  Condition,
  Permanent,          // "Y" / "N"
  PID,
  Adjustment,
  LocalMeanSeaLevelRelationship,
  MeanLowerLowWaterRelationship,
  NationalTidalDatumEpoch,
  // gages
  GageCode,           // Code
  MeasurementDate,
  LocalMeanSeaLevelReference,
  MeanLowerLowWaterReference,
  // traverses
  OriginalFileName,
  JobNumber,
  HorizontalDatum,
  Projection,
  Units,
  HorizontalEpoch,
  Title,
  TraverseDate,
  HorizontalAccuracy,
  HorizontalAccuracyClass,
  Comments,
  // traverse points
  StationName,
  TraversePointStation,
  Latitude,
  Longitude,
  BackGeodeticAzimuth,
  ForwardGeodeticAzimuth,
  MeasuredDistance,
  AdjustedDistance,
  MeasuredAngle,
  AdjustedAngle,
  ScaleFactor,
  Convergence,
  PlaneDistance,
  PlaneAzimuth,
  TraverseOID,        // always the 16-bit integer 0
};

struct SchemaField {
  const char* name;
  HostFieldType type;
  std::int32_t size;
  UnsetMark mark;
  ValueKind value;
};

struct ClassGeometry {
  HostGeometryType type;
  bool hasZ;
  bool hasM;
};

// "CrossSections", "CrossSectionPoints", ... as they appear in class names.
std::string_view ClassKindName(ClassKind kind);
// The kind whose name is exactly `name`.
std::optional<ClassKind> ClassKindFromName(std::string_view name);

// The attribute fields of the class, in order (positions 2, 3, ...).
std::span<const SchemaField> ClassSchema(ClassKind kind);
// Position within ClassSchema of the field named exactly `name`; -1 when the
// class has no such field.
std::int32_t FindSchemaField(ClassKind kind, std::string_view name);

// Geometry of the class in a survey dataset. The traverse classes declare M
// only (their shapes carry measures, no elevations).
ClassGeometry ClassGeometryOf(ClassKind kind);

// True for the two classes of a traverse dataset.
bool IsTraverseKind(ClassKind kind);

}  // namespace veldrane
