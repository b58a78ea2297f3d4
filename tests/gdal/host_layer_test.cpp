// The thin host layer over OGR: field definitions and their OGR mapping,
// envelopes, relational tests, geometry helpers, row buffers and
// identifiers.
#include <cmath>
#include <memory>
#include <stdexcept>
#include <tuple>

#include <gtest/gtest.h>
#include <cpl_error.h>
#include <ogr_feature.h>
#include <ogr_geometry.h>

#include "host/envelope.h"
#include "host/fields.h"
#include "host/geometry.h"
#include "host/relational_operator.h"
#include "host/row_buffer.h"
#include "host/uid.h"

namespace veldrane {
namespace {

Field MakeField(const char* name, HostFieldType type, std::int32_t size) {
  Field field(name, type);
  field.SetLength(size);
  field.SetPrecision(size);
  field.SetScale(3);
  return field;
}

// Field definitions, shapes and values as the driver's layers show them are
// checked in the OGR driver tests; here only what those cannot reach.

TEST(HostEnvelope, ProjectTransformsBetweenKnownSystemsOnly) {
  Envelope box(-91, 30, -90, 31);
  box.SetSpatialReference(AdoptSpatialReference(new OGRSpatialReference()));
  box.SpatialReference()->importFromEPSG(4326);
  box.SpatialReference()->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  const SpatialReferencePtr mercator = MakeUnknownSpatialReference();
  mercator->importFromEPSG(3857);
  box.Project(mercator);
  // Longitude -90 is 10018754.17 m west in web mercator.
  EXPECT_NEAR(box.XMax(), -10018754.17, 0.1);
  EXPECT_LT(box.XMin(), box.XMax());
  EXPECT_GT(box.YMin(), 3000000);

  Envelope unknown(1, 2, 3, 4);
  unknown.Project(mercator);
  EXPECT_EQ(unknown.XMin(), 1);
  EXPECT_EQ(unknown.YMax(), 4);
  EXPECT_EQ(unknown.SpatialReference(), mercator);
}

OGRLineString Line(std::initializer_list<std::pair<double, double>> points) {
  OGRLineString line;
  for (const auto& [x, y] : points) line.addPoint(x, y);
  return line;
}

std::shared_ptr<OGRGeometry> Square(double x0, double y0, double x1, double y1) {
  auto polygon = std::make_shared<OGRPolygon>();
  auto* ring = new OGRLinearRing();
  for (const auto& [x, y] : {std::pair{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}}) ring->addPoint(x, y);
  polygon->addRingDirectly(ring);
  return polygon;
}

std::shared_ptr<OGRGeometry> Path(std::initializer_list<std::pair<double, double>> points) {
  return std::make_shared<OGRLineString>(Line(points));
}

// Each shape against the envelope (0 0, 10 10), or against an empty one.
TEST(HostRelations, ShapesAgainstAnEnvelope) {
  struct Case {
    const char* what;
    std::shared_ptr<OGRGeometry> shape;
    bool within, contains, crosses, overlaps;
    bool emptyEnvelope = false;
  } cases[] = {
      {"line inside", Path({{1, 1}, {9, 9}}), true, false, false, false},
      {"line touching from inside", Path({{0, 5}, {5, 5}}), true, false, false, false},
      {"line crossing", Path({{-5, 5}, {5, 5}}), false, false, true, false},
      {"line outside", Path({{20, 20}, {30, 30}}), false, false, false, false},
      // A line on the boundary has no point in the interior.
      {"line along an edge", Path({{0, 0}, {10, 0}}), false, false, false, false},
      {"empty line", std::make_shared<OGRLineString>(), false, false, false, false},
      {"polygon inside", Square(2, 2, 8, 8), true, false, false, false},
      {"polygon around", Square(-5, -5, 15, 15), false, true, false, false},
      {"polygon overlapping", Square(5, 5, 15, 15), false, false, false, true},
      {"polygon outside", Square(20, 20, 30, 30), false, false, false, false},
      {"line, empty envelope", Path({{1, 1}, {2, 2}}), false, false, false, false, true},
  };
  for (const Case& c : cases) {
    const EnvelopeRelation relation(c.emptyEnvelope ? Envelope() : Envelope(0, 0, 10, 10));
    EXPECT_EQ(relation.Within(*c.shape), c.within) << c.what;
    EXPECT_EQ(relation.Contains(*c.shape), c.contains) << c.what;
    EXPECT_EQ(relation.Crosses(*c.shape), c.crosses) << c.what;
    EXPECT_EQ(relation.Overlaps(*c.shape), c.overlaps) << c.what;
  }
  EXPECT_FALSE(EnvelopeRelation(Envelope()).PointWithin(1, 1));
}

// Values written the fast way must read back exactly as OGR's own checked
// setters leave them: a Float32 attribute keeps its double, an Int16 one
// clamps what it cannot hold, a text written twice keeps the second.
TEST(HostRowBuffer, OgrFeatureBufferKeepsOgrSubtypeRules) {
  auto fields = std::make_shared<Fields>(FeatureClassRequiredFields());
  fields->AddField(MakeField("Small", HostFieldType::SmallInteger, 6));
  fields->AddField(MakeField("Single", HostFieldType::Single, 9));
  fields->AddField(MakeField("Label", HostFieldType::String, 12));
  OGRFeatureDefn* defn = fields->NewOgrFeatureDefn("layer");
  defn->Reference();
  ASSERT_EQ(defn->GetFieldDefn(0)->GetSubType(), OFSTInt16);
  ASSERT_EQ(defn->GetFieldDefn(1)->GetSubType(), OFSTFloat32);
  {
    OgrFeatureRowBuffer row(fields, *defn);
    OGRFeature feature(defn);
    row.Attach(&feature);
    row.SetSmallInteger(2, -32768);
    row.SetDouble(3, 1.1);
    row.SetString(4, "first");
    row.SetString(4, "second");
    EXPECT_EQ(feature.GetFieldAsInteger(0), -32768);
    EXPECT_EQ(feature.GetFieldAsDouble(1), 1.1);
    EXPECT_STREQ(feature.GetFieldAsString(2), "second");
    CPLPushErrorHandler(CPLQuietErrorHandler);
    row.SetInteger(2, 40000);
    CPLPopErrorHandler();
    EXPECT_EQ(feature.GetFieldAsInteger(0), 32767);
  }
  defn->Release();
}

TEST(HostUid, AcceptsBracedGuidsOnly) {
  Uid uid;
  uid.SetValue("{5c0f3e9a-7b1d-4f52-9a3e-2d6b8c41f7a0}");
  EXPECT_EQ(uid.Value(), "{5C0F3E9A-7B1D-4F52-9A3E-2D6B8C41F7A0}");
  EXPECT_THROW(uid.SetValue("5C0F3E9A-7B1D-4F52-9A3E-2D6B8C41F7A0"), std::invalid_argument);
  EXPECT_THROW(uid.SetValue("{5C0F3E9A-7B1D-4F52-9A3E-2D6B8C41F7AZ}"), std::invalid_argument);
}

}  // namespace
}  // namespace veldrane
