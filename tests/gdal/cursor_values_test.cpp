// What the cursors write into row buffers and shapes: values, nulls for
// undefined values, untouched fields, field maps, polylines, polygons and
// the traverse classes.
#include <cmath>
#include <optional>

#include <gtest/gtest.h>
#include <ogr_geometry.h>

#include "plugin/traverse_line_cursor.h"
#include "tests/gdal/dataset_fixture.h"

namespace veldrane {
namespace {

using Kind = RowValue::Kind;
using test::MakePoint;
using test::SectionAlongX;
using test::SurveyDataset;

const RowValue& ValueOf(SurveyDataset& data, RowBuffer& row, std::int32_t classIndex, const std::string& name) {
  return row.Value(data.Pos(classIndex, name));
}

TEST(CursorValues, CrossSectionUndefinedValuesBecomeNullsAndAbsentLinksStayUntouched) {
  SurveyDataset data;
  auto section = SectionAlongX({1, 2});
  section->station = 1500;
  section->altName = "R-12";
  section->gridAzimuth = 90;
  section->fieldBook = "FB 7";
  data.survey->crossSections = {section};
  auto row = data.Row(0);
  row->SetString(data.Pos(0, "Benchmark"), "left over");
  const auto cursor = data.All(0);
  EXPECT_EQ(cursor->QueryValues(*row), 0);

  EXPECT_EQ(ValueOf(data, *row, 0, "Station").number, 1500);
  EXPECT_EQ(ValueOf(data, *row, 0, "AltName").text, "R-12");
  EXPECT_EQ(ValueOf(data, *row, 0, "StartX").number, -1000);
  EXPECT_EQ(ValueOf(data, *row, 0, "GridAzimuth").number, 90);
  EXPECT_EQ(ValueOf(data, *row, 0, "FieldBook").text, "FB 7");
  for (const char* name : {"BaselineX", "GeodeticAzimuth", "SurveyDate", "WaterSurfaceElevation", "WaterSurfaceTime"})
    EXPECT_EQ(ValueOf(data, *row, 0, name).kind, Kind::Null) << name;
  // No benchmark, no gage: those fields are not written at all.
  EXPECT_EQ(ValueOf(data, *row, 0, "Benchmark").text, "left over");
  EXPECT_EQ(ValueOf(data, *row, 0, "Gage").kind, Kind::Unset);
  EXPECT_EQ(row->Value(0).kind, Kind::Unset);  // the object ID is the host's

  // Linked, the benchmark and gage write their names; a defined date is written.
  auto benchmark = std::make_shared<test::FakeBenchmark>();
  auto gage = std::make_shared<test::FakeGage>();
  benchmark->name = "BM-4";
  gage->name = "Morgan City";
  section->benchmark = benchmark;
  section->gage = gage;
  section->surveyDate = *DateTime::FromDate(2019, 7, 2);
  cursor->QueryValues(*row);
  EXPECT_EQ(ValueOf(data, *row, 0, "Benchmark").text, "BM-4");
  EXPECT_EQ(ValueOf(data, *row, 0, "Gage").text, "Morgan City");
  EXPECT_EQ(ValueOf(data, *row, 0, "SurveyDate").date, *DateTime::FromDate(2019, 7, 2));
}

TEST(CursorValues, GageWithoutBenchmarkWritesANull) {
  SurveyDataset data;
  auto gage = std::make_shared<test::FakeGage>();
  gage->code = "G1";
  gage->name = "Berwick";
  gage->waterSurfaceElevation = kUndefinedNumber;  // written as it is
  data.survey->gages = {gage};
  auto row = data.Row(0);
  data.All(0)->QueryValues(*row);
  EXPECT_EQ(ValueOf(data, *row, 0, "GageCode").text, "G1");
  EXPECT_EQ(ValueOf(data, *row, 0, "Name").text, "Berwick");
  for (const char* name : {"Benchmark", "SurveyDate", "LocalMeanSeaLevelReference"})
    EXPECT_EQ(ValueOf(data, *row, 0, name).kind, Kind::Null) << name;
  EXPECT_EQ(ValueOf(data, *row, 0, "WaterSurfaceElevation").number, kUndefinedNumber);
}

TEST(CursorValues, ProfilePointStationIsSkippedWhenUndefined) {
  SurveyDataset data;
  auto profile = std::make_shared<test::FakeProfile>();
  profile->points = {MakePoint(1, 2, 3, kUndefinedNumber, 7), MakePoint(2, 2, 3, 12.5, 8)};
  data.survey->profiles = {profile};
  auto row = data.Row(1);
  const auto cursor = data.All(1);
  cursor->QueryValues(*row);
  EXPECT_EQ(ValueOf(data, *row, 1, "Station").kind, Kind::Unset);
  EXPECT_EQ(ValueOf(data, *row, 1, "PointId").integer, 7);
  EXPECT_EQ(ValueOf(data, *row, 1, "ProfileOID").kind, Kind::Integer);
  cursor->NextRecord();
  cursor->QueryValues(*row);
  EXPECT_EQ(ValueOf(data, *row, 1, "Station").number, 12.5);
}

TEST(CursorValues, FieldMapOfTheWrongSizeIsReportedAndFillsNothing) {
  SurveyDataset data;
  data.survey->crossSections = {SectionAlongX({1, 2})};
  auto row = data.Row(1);
  ASSERT_EQ(row->FieldSet()->FieldCount(), 12);
  test::RecordingNotifier notes;
  const auto cursor = data.helper.FetchAll(1, "", FieldMap(std::vector<std::int32_t>{0, 1, 2}));
  EXPECT_EQ(cursor->QueryValues(*row), 0);
  EXPECT_TRUE(notes.AnyContains("Number of elements in Fieldmap does not match number of fields"));
  EXPECT_TRUE(notes.AnyContains("QueryValues SvyCrossSectionPointCursorHelper"));
  EXPECT_EQ(ValueOf(data, *row, 1, "PointId").kind, Kind::Unset);
}

// The point's ordinates with a defined station are pinned through the
// driver (OgrDriverRead.PointShapesHoldEastingNorthingElevationAndStation).
TEST(CursorShapes, CrossSectionPointsCarryStationAsMeasureWhenDefined) {
  SurveyDataset data;
  auto section = SectionAlongX({1, 2});
  static_cast<test::FakePoint&>(*section->points[1]).station = kUndefinedNumber;
  data.survey->crossSections = {section};
  const auto cursor = data.All(1);
  OGRPoint shape;
  cursor->QueryShape(shape);
  EXPECT_EQ(shape.getM(), 1001);
  cursor->NextRecord();
  cursor->QueryShape(shape);
  EXPECT_EQ(shape.getX(), 2);
  EXPECT_TRUE(shape.IsMeasured());
  EXPECT_TRUE(std::isnan(shape.getM()));
}

std::shared_ptr<test::FakeArea> SquareArea(double closingGap) {
  auto area = std::make_shared<test::FakeArea>();
  area->ring->points = {MakePoint(0, 0, 1), MakePoint(10, 0, 2), MakePoint(10, 10, 3), MakePoint(0, 10, 4),
                        MakePoint(closingGap, 0, 5)};
  return area;
}

// A ring's last point closer to its first than the survey's horizontal
// accuracy is the closing point: it is dropped, and the ring closed on the
// first; otherwise it is a corner of its own.
TEST(CursorShapes, RingLastPointCloserThanTheAccuracyIsDropped) {
  const struct {
    std::optional<double> accuracy;
    int points;  // with the closing copy of the first
  } cases[] = {{0.1, 5}, {std::nullopt, 6}, {0.01, 6}};
  for (const auto& c : cases) {
    SurveyDataset data;
    data.survey->areas = {SquareArea(0.05)};
    if (c.accuracy) data.survey->horizontalAccuracy = *c.accuracy;
    OGRPolygon polygon;
    data.All(0)->QueryShape(polygon);
    const OGRLinearRing* ring = polygon.getExteriorRing();
    ASSERT_NE(ring, nullptr);
    ASSERT_EQ(ring->getNumPoints(), c.points) << c.accuracy.value_or(-1);
    EXPECT_EQ(ring->getX(c.points - 1), 0);
    EXPECT_EQ(ring->getZ(c.points - 1), 1);
    EXPECT_TRUE(polygon.Is3D());
  }
}

TEST(CursorShapes, AreaRingsComeOuterFirstThenHolesEachFollowedByItsIslands) {
  SurveyDataset data;
  auto area = SquareArea(0);
  auto hole = std::make_shared<test::FakeRing>();
  hole->points = {MakePoint(2, 2, 0, 0, 20), MakePoint(8, 2, 0, 0, 21), MakePoint(8, 8, 0, 0, 22)};
  auto island = std::make_shared<test::FakeRing>();
  island->points = {MakePoint(4, 4, 0, 0, 30), MakePoint(5, 4, 0, 0, 31), MakePoint(5, 5, 0, 0, 32)};
  hole->inner = {island};
  area->ring->inner = {hole};
  data.survey->areas = {area};

  OGRPolygon polygon;
  data.All(0)->QueryShape(polygon);
  ASSERT_EQ(polygon.getNumInteriorRings(), 2);
  EXPECT_EQ(polygon.getInteriorRing(0)->getX(0), 2);
  EXPECT_EQ(polygon.getInteriorRing(1)->getX(0), 4);
  EXPECT_EQ(polygon.getInteriorRing(1)->getNumPoints(), 4);  // closed

  auto row = data.Row(1);
  const auto points = data.All(1);
  std::vector<std::int32_t> ids;
  while (!points->IsFinished()) {
    points->QueryValues(*row);
    ids.push_back(ValueOf(data, *row, 1, "PointId").integer);
    try {
      points->NextRecord();
    } catch (const RaisedError&) {
    }
  }
  EXPECT_EQ(ids, (std::vector<std::int32_t>{1, 1, 1, 1, 1, 20, 21, 22, 30, 31, 32}));
}

// --- traverse classes --------------------------------------------------------

std::unique_ptr<SurveyDataset> TraverseDataset(std::size_t stations) {
  auto holder = std::make_unique<SurveyDataset>("t.27");
  SurveyDataset& data = *holder;
  data.helper.SetSurveyType(kSurveyTypeTraverse);
  data.traverse = std::make_shared<test::FakeTraverse>();
  for (std::size_t i = 0; i < stations; ++i) {
    auto point = std::make_shared<test::FakeTraversePoint>();
    point->easting = 100.0 + static_cast<double>(i);
    point->northing = 200;
    point->station = 1000.0 * static_cast<double>(i);
    point->stationName = std::string(1, 'S').append(std::to_string(i));  // not "S" + ..., which GCC 12 warns about
    data.traverse->points.push_back(point);
  }
  return holder;
}

// The traverse is one record, measured by station; its stations are
// records of their own that name it by its OID, zero.
TEST(TraverseCursors, TheTraverseIsOneRecordAndItsStationsAreRecordsWithTraverseOidZero) {
  auto holder = TraverseDataset(3);
  SurveyDataset& data = *holder;
  auto row = data.Row(0);
  EXPECT_EQ(test::CollectOids(*data.All(0), *row), (std::vector<std::int32_t>{0}));
  const auto cursor = data.All(0);
  cursor->QueryValues(*row);
  EXPECT_EQ(ValueOf(data, *row, 0, "JobNumber").text, "J-1");
  EXPECT_EQ(ValueOf(data, *row, 0, "Zone").text, "1702");
  EXPECT_EQ(ValueOf(data, *row, 0, "HorizontalAccuracy").kind, Kind::Null);
  EXPECT_EQ(ValueOf(data, *row, 0, "TravDate").kind, Kind::Date);
  OGRLineString line;
  cursor->QueryShape(line);
  ASSERT_EQ(line.getNumPoints(), 3);
  EXPECT_EQ(line.getX(2), 102);
  EXPECT_EQ(line.getM(1), 1000);
  EXPECT_TRUE(line.IsMeasured());

  auto stationRow = data.Row(1);
  EXPECT_EQ(test::CollectOids(*data.All(1), *stationRow), (std::vector<std::int32_t>{0, 1, 2}));
  EXPECT_EQ(ValueOf(data, *stationRow, 1, "TraverseOID").kind, Kind::SmallInteger);
  EXPECT_EQ(ValueOf(data, *stationRow, 1, "TraverseOID").integer, 0);
  EXPECT_EQ(ValueOf(data, *stationRow, 1, "StatName").text, "S2");
  EXPECT_EQ(ValueOf(data, *stationRow, 1, "Latitude").kind, Kind::Unset);
}

}  // namespace
}  // namespace veldrane
