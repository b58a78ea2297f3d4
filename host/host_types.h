#pragma once
// Numeric codes the data source exchanges with the GIS host: field types,
// geometry types, dataset and workspace kinds. They keep their numbers
// because hosts store and compare them as numbers.
#include <cstdint>

namespace veldrane {

enum class HostFieldType : std::int32_t {
  SmallInteger = 0,
  Integer = 1,
  Single = 2,
  Double = 3,
  String = 4,
  Date = 5,
  ObjectId = 6,
  Geometry = 7,
};

enum class HostGeometryType : std::int32_t {
  Null = 0,
  Point = 1,
  Polyline = 3,
  Polygon = 4,
  Any = 7,
};

inline constexpr std::int32_t kDatasetTypeAny = 1;
inline constexpr std::int32_t kDatasetTypeFeatureDataset = 4;
inline constexpr std::int32_t kDatasetTypeFeatureClass = 5;

inline constexpr std::int32_t kWorkspaceTypeFileSystem = 0;

// Names of the two fields every feature class starts with.
inline constexpr const char* kObjectIdFieldName = "OBJECTID";
inline constexpr const char* kShapeFieldName = "SHAPE";

}  // namespace veldrane
