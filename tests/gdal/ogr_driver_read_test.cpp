// Reading features through the "Veldrane" OGR driver: attribute values and
// shapes, FIDs that stay the records' positions under every filter, spatial
// and attribute filters with OGR's meaning, random reads, counts, nulls and
// UTF-8 text. Ignored fields and geometry are left out of every sample
// layer's sequential reads by GDAL's test_ogrsf (ogr_conformance.sh), and a
// spatial filter still applies to ignored geometry (OgrDriverReadAhead).
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "gdal/utf8_row_buffer.h"
#include "tests/gdal/ogr_driver_test_support.h"

namespace veldrane::ogr::test {
namespace {

class OgrDriverRead : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(folder_ / "a.em", kSectionsSurvey);
    WriteFile(folder_ / "b.em", kBenchmarkSurvey);
    dataset_ = OpenWithDriver(folder_.str());
    ASSERT_TRUE(dataset_);
    sections_ = dataset_->GetLayerByName("a.em CrossSections");
    points_ = dataset_->GetLayerByName("a.em CrossSectionPoints");
    benchmarks_ = dataset_->GetLayerByName("b.em Benchmarks");
    ASSERT_TRUE(sections_ && points_ && benchmarks_);
  }

  ScratchFolder folder_;
  GDALDatasetUniquePtr dataset_;
  OGRLayer* sections_ = nullptr;
  OGRLayer* points_ = nullptr;
  OGRLayer* benchmarks_ = nullptr;
};

TEST_F(OgrDriverRead, PointShapesHoldEastingNorthingElevationAndStation) {
  points_->ResetReading();
  std::unique_ptr<OGRFeature> first(points_->GetNextFeature());
  std::unique_ptr<OGRFeature> second(points_->GetNextFeature());
  ASSERT_TRUE(first && second);
  const auto* shape = second->GetGeometryRef()->toPoint();
  EXPECT_EQ(shape->getGeometryType(), wkbPointZM);
  EXPECT_DOUBLE_EQ(shape->getX(), 3391030.0);
  EXPECT_DOUBLE_EQ(shape->getY(), 690000.0);
  EXPECT_DOUBLE_EQ(shape->getZ(), 9.5);
  EXPECT_NEAR(shape->getM(), 30.0, 1e-9);
  EXPECT_EQ(std::string(second->GetFieldAsString("Code")), "TOE");
  EXPECT_DOUBLE_EQ(second->GetFieldAsDouble("Elevation"), 9.5);
  EXPECT_NEAR(second->GetFieldAsDouble("RangeStartOffset"), 30.0, 1e-4);
}

TEST_F(OgrDriverRead, SectionShapesAreLinesThroughTheirPoints) {
  std::unique_ptr<OGRFeature> b(sections_->GetFeature(1));
  ASSERT_TRUE(b);
  EXPECT_EQ(std::string(b->GetFieldAsString("AltName")), "XS B");
  EXPECT_DOUBLE_EQ(b->GetFieldAsDouble("Station"), 100.0);
  const auto* line = b->GetGeometryRef()->toLineString();
  ASSERT_EQ(line->getNumPoints(), 2);
  EXPECT_DOUBLE_EQ(line->getX(0), 3391010.0);
  EXPECT_DOUBLE_EQ(line->getY(0), 690100.0);
  EXPECT_DOUBLE_EQ(line->getZ(0), 7.25);
  EXPECT_NEAR(line->getM(0), 10.0, 1e-9);
  EXPECT_DOUBLE_EQ(line->getX(1), 3391050.0);
  EXPECT_NEAR(line->getM(1), 50.0, 1e-9);
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, tz = 0;
  float second = 0;
  ASSERT_TRUE(b->GetFieldAsDateTime(b->GetFieldIndex("SurveyDate"), &year, &month, &day, &hour, &minute, &second,
                                    &tz));
  EXPECT_EQ(year * 10000 + month * 100 + day, 20110314);
}

TEST_F(OgrDriverRead, UndefinedValuesAreNulls) {
  std::unique_ptr<OGRFeature> a(sections_->GetFeature(0));
  ASSERT_TRUE(a);
  // No baseline, no geodetic azimuth, no water surface in the file.
  for (const char* name : {"BaselineX", "BaselineY", "GeodeticAzimuth", "WaterSurfaceElevation", "WaterSurfaceTime"})
    EXPECT_TRUE(a->IsFieldNull(a->GetFieldIndex(name))) << name;
  EXPECT_FALSE(a->IsFieldNull(a->GetFieldIndex("GridAzimuth")));
  std::unique_ptr<OGRFeature> point(points_->GetFeature(0));
  ASSERT_TRUE(point);
  EXPECT_TRUE(point->IsFieldNull(point->GetFieldIndex("BaselineOffset")));
}

TEST_F(OgrDriverRead, ABenchmarkWithoutLocationHasNoGeometry) {
  std::vector<std::string> names;
  std::vector<bool> located;
  for (auto& feature : *benchmarks_) {
    names.emplace_back(feature->GetFieldAsString("Name"));
    located.push_back(feature->GetGeometryRef() != nullptr);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"BM ONE", "BM TWO"}));
  EXPECT_EQ(located, (std::vector<bool>{true, false}));
  std::unique_ptr<OGRFeature> one(benchmarks_->GetFeature(0));
  const auto* shape = one->GetGeometryRef()->toPoint();
  EXPECT_DOUBLE_EQ(shape->getX(), 3391020.25);
  EXPECT_DOUBLE_EQ(shape->getY(), 690050.5);
  // No elevation in the shape, not even a NaN one: the layer is wkbPoint
  // (OgrDriverLayers), and OgrDriverSamples holds every feature to that.
  EXPECT_TRUE(one->IsFieldNull(one->GetFieldIndex("MeasuredElevation")));
  EXPECT_NEAR(one->GetFieldAsDouble("DocumentedElevation"), 25.51, 1e-5);
  EXPECT_STREQ(one->GetFieldAsString("Permanent"), "Y");
}

// ---------------------------------------------------------------------------
// Filters

// OGR's meaning: only features that meet the filter (the data source hands
// out its first record untested), shapes on the filter's boundary meet it,
// a filter that is not a rectangle is tested exactly, attribute and
// spatial filters combine; the features keep their full-file FIDs.
TEST_F(OgrDriverRead, FiltersSelectByShapeAndValueKeepingFullFileFids) {
  // A triangle whose bounding box holds points 3 and 5, but whose area
  // holds only point 3 (3391060, 690000): at x 3391050 its slanted side is
  // at y 690022.5, below point 5.
  OGRPolygon triangle;
  OGRLinearRing ring;
  for (const auto& [x, y] : {std::pair{3391045, 689995}, {3391065, 689995}, {3391065, 690105}, {3391045, 689995}})
    ring.addPoint(x, y);
  triangle.addRing(&ring);
  struct Case {
    const char* what;
    OGRLayer* layer;
    std::vector<double> box;  // min x, min y, max x, max y; none when empty
    const char* where;
    std::vector<GIntBig> fids;
    OGRGeometry* shape = nullptr;  // instead of the box
  } cases[] = {
      {"points 3 and 5", points_, {3391040, 689990, 3391070, 690110}, nullptr, {2, 4}},
      {"first record missed", points_, {3391005, 690050, 3391100, 690150}, nullptr, {3, 4}},
      {"nowhere", points_, {5000000, 5000000, 5000001, 5000001}, nullptr, {}},
      // Corners (3391030, 690000) and (3391050, 690100) are points 2 and 5.
      {"points on the corners", points_, {3391030, 690000, 3391050, 690100}, nullptr, {1, 4}},
      // Section "XS A" ends at (3391060, 690000), on the filter's left edge.
      {"section on the edge", sections_, {3391060, 689900, 3391200, 690050}, nullptr, {0}},
      {"triangle", points_, {}, nullptr, {2}, &triangle},
      {"one id", points_, {}, "PointId = 4", {3}},
      {"codes", points_, {}, "Code IN ('TOE', 'WE')", {1, 4}},
      {"null and less", points_, {}, "BaselineOffset IS NULL AND Elevation < 9", {2, 3, 4}},
      {"section A and high", points_, {3391000, 689990, 3391070, 690010}, "Elevation >= 9.5", {0, 1}},
  };
  for (const Case& c : cases) {
    if (c.box.empty()) c.layer->SetSpatialFilter(c.shape);
    else c.layer->SetSpatialFilterRect(c.box[0], c.box[1], c.box[2], c.box[3]);
    ASSERT_EQ(c.layer->SetAttributeFilter(c.where), OGRERR_NONE) << c.what;
    EXPECT_EQ(Fids(*c.layer), c.fids) << c.what;
    EXPECT_EQ(c.layer->GetFeatureCount(), static_cast<GIntBig>(c.fids.size())) << c.what;
    EXPECT_FALSE(c.layer->TestCapability(OLCFastFeatureCount)) << c.what;
  }
  points_->SetSpatialFilter(nullptr);
  ASSERT_EQ(points_->SetAttributeFilter(nullptr), OGRERR_NONE);
  EXPECT_EQ(Fids(*points_), (std::vector<GIntBig>{0, 1, 2, 3, 4}));
  EXPECT_EQ(points_->GetFeatureCount(), 5);
  EXPECT_TRUE(points_->TestCapability(OLCFastFeatureCount));
}

// ---------------------------------------------------------------------------
// Random reads and counts

// In the middle of a sequential pass, which goes on undisturbed; each point
// names its section by the section's OID. File order and FIDs 0..n-1 of a
// whole pass are OgrDriverSamples' and tests/scripts/ogr_gdal_tools.sh's.
TEST_F(OgrDriverRead, GetFeatureReadsAnyRecordInAnyOrder) {
  points_->ResetReading();
  std::unique_ptr<OGRFeature> first(points_->GetNextFeature());
  for (const GIntBig fid : {3, 1, 4, 0, 2, 2}) {
    std::unique_ptr<OGRFeature> feature(points_->GetFeature(fid));
    ASSERT_TRUE(feature) << fid;
    EXPECT_EQ(feature->GetFID(), fid);
    EXPECT_EQ(feature->GetFieldAsInteger("PointId"), fid + 1);
    EXPECT_EQ(feature->GetFieldAsInteger("CrossSectionOID"), fid < 3 ? 0 : 1);
  }
  CapturedMessages messages;
  EXPECT_EQ(points_->GetFeature(5), nullptr);
  EXPECT_EQ(points_->GetFeature(-1), nullptr);
  EXPECT_EQ(points_->GetFeature(1LL << 40), nullptr);
  EXPECT_TRUE(messages.All().empty());
  std::unique_ptr<OGRFeature> second(points_->GetNextFeature());
  ASSERT_TRUE(first && second);
  EXPECT_EQ(second->GetFID(), 1);
}

// test_ogrsf checks that ignored fields and geometry are left out of
// sequential reads only; a random read must leave the geometry out too.
TEST_F(OgrDriverRead, ARandomReadLeavesIgnoredGeometryOut) {
  const char* ignored[] = {"OGR_GEOMETRY", nullptr};
  ASSERT_EQ(points_->SetIgnoredFields(ignored), OGRERR_NONE);
  std::unique_ptr<OGRFeature> feature(points_->GetFeature(1));
  ASSERT_TRUE(feature);
  EXPECT_EQ(feature->GetGeometryRef(), nullptr);
}

// Counts and extents are fast once walked; Z and M as each layer's type
// says; container points skip whole containers under a spatial filter.
TEST_F(OgrDriverRead, CountsAndCapabilities) {
  EXPECT_FALSE(points_->TestCapability(OLCFastFeatureCount));
  EXPECT_FALSE(points_->TestCapability(OLCFastGetExtent));
  EXPECT_EQ(points_->GetFeatureCount(), 5);
  OGREnvelope extent;
  ASSERT_EQ(points_->GetExtent(&extent), OGRERR_NONE);
  const std::tuple<OGRLayer*, const char*, bool> cases[] = {
      {points_, OLCRandomRead, true},          {points_, OLCFastFeatureCount, true},
      {points_, OLCFastGetExtent, true},       {points_, OLCStringsAsUTF8, true},
      {points_, OLCZGeometries, true},         {points_, OLCMeasuredGeometries, true},
      {points_, OLCFastSpatialFilter, true},   {sections_, OLCFastSpatialFilter, false},
      {sections_, OLCFastGetExtent, false},    {benchmarks_, OLCZGeometries, false},
      {benchmarks_, OLCMeasuredGeometries, false}, {points_, OLCSequentialWrite, false}};
  for (const auto& [layer, capability, expected] : cases)
    EXPECT_EQ(layer->TestCapability(capability) != 0, expected) << layer->GetName() << " " << capability;
  EXPECT_TRUE(dataset_->TestCapability(ODsCZGeometries));
  EXPECT_TRUE(dataset_->TestCapability(ODsCMeasuredGeometries));
  ASSERT_EQ(points_->SetAttributeFilter("PointId > 2"), OGRERR_NONE);
  EXPECT_FALSE(points_->TestCapability(OLCFastFeatureCount));
  EXPECT_EQ(points_->GetFeatureCount(), 3);
}

// ---------------------------------------------------------------------------
// Text

TEST(OgrDriverText, SurveyTextInAWindowsCodePageComesOutAsUtf8) {
  ScratchFolder folder;
  std::string survey = kSectionsSurvey;
  survey.insert(survey.find("#X02 R-A"), "#X12 Pipe at 45\xB0 bend\n");
  WriteFile(folder / "a.em", survey);
  auto dataset = OpenWithDriver(folder.str());
  ASSERT_TRUE(dataset);
  std::unique_ptr<OGRFeature> a(dataset->GetLayerByName("a.em CrossSections")->GetFeature(0));
  ASSERT_TRUE(a);
  EXPECT_EQ(std::string(a->GetFieldAsString("Description")), "Pipe at 45\xC2\xB0 bend");
}

// The check reads eight bytes at a time: a high byte must be found in every
// position of a word and in the tail after the last whole word.
TEST(OgrDriverText, Utf8CheckFindsAHighByteAnywhere) {
  const struct {
    std::string_view text;
    bool utf8;
  } cases[] = {
      {"", true},           {"abcdefg", true},        {"abcdefgh", true},       {"abcdefghijklmnopq", true},
      {"\xB0", false},      {"abcdefg\xB0", false},   {"abcdefgh\xB0", false},  {"abcdefghijklmno\xB0x", false},
      {"\xC3", false},      {"caf\xC3\xA9 au lait", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsUtf8(c.text), c.utf8) << c.text;
}

}  // namespace
}  // namespace veldrane::ogr::test
