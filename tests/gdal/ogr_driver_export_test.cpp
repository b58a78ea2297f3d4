// Exporting survey files through the driver into other GDAL formats, and
// the report texts of the command-line tool built on the driver.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gdal/survey_export.h"
#include "gdal/survey_report.h"
#include "tests/gdal/ogr_driver_test_support.h"

namespace veldrane::ogr::test {
namespace {

std::vector<std::string> FolderEntries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class OgrDriverExport : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterDriversForTools();
    WriteFile(folder_ / "in" / "a.em", kSectionsSurvey);
    WriteFile(folder_ / "in" / "bad.em", kFaultySurvey);
    opened_ = OpenSurveys((folder_ / "in").string());
    ASSERT_TRUE(opened_.dataset);
  }

  ExportResult Export(const fs::path& output, const std::string& format = "GPKG", bool overwrite = false,
                      bool includeErrors = false) {
    ExportRequest request;
    request.output = output.is_absolute() ? output.string() : (folder_ / "out" / output).string();
    request.format = format;
    request.overwrite = overwrite;
    request.includeErrors = includeErrors;
    return ExportSurveys(*opened_.dataset, request);
  }

  ScratchFolder folder_;
  OpenedSurveys opened_;
};

// With the "Errors" layer on request. Layer and feature counts of a whole
// export read back by ogrinfo are tests/scripts/ogr_cli.sh's.
TEST_F(OgrDriverExport, GeoPackageHoldsEveryClassWithItsValuesAndShapes) {
  const ExportResult result = Export("survey.gpkg", "GPKG", false, true);
  ASSERT_TRUE(result.ok) << result.problem;
  EXPECT_EQ(result.layers, 6);
  EXPECT_EQ(result.features, 2 + 5 + 1 + 2 + 1 + 3);
  EXPECT_EQ(FolderEntries(folder_ / "out"), (std::vector<std::string>{"survey.gpkg"}));

  GDALDatasetUniquePtr written(
      GDALDataset::Open((folder_ / "out" / "survey.gpkg").string().c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  ASSERT_TRUE(written);
  EXPECT_EQ(LayerNames(*written),
            (std::vector<std::string>{"a.em CrossSections", "a.em CrossSectionPoints", "bad.em CrossSections",
                                      "bad.em CrossSectionPoints", "bad.em Benchmarks", "Errors"}));
  EXPECT_EQ(written->GetLayerByName("Errors")->GetFeatureCount(), 3);
  OGRLayer* points = written->GetLayerByName("a.em CrossSectionPoints");
  EXPECT_EQ(points->GetGeomType(), wkbPointZM);
  ASSERT_EQ(points->SetAttributeFilter("PointId = 2"), OGRERR_NONE);
  std::unique_ptr<OGRFeature> feature(points->GetNextFeature());
  ASSERT_TRUE(feature);
  EXPECT_EQ(std::string(feature->GetFieldAsString("Code")), "TOE");
  EXPECT_TRUE(feature->IsFieldNull(feature->GetFieldIndex("BaselineOffset")));
  const auto* shape = feature->GetGeometryRef()->toPoint();
  EXPECT_DOUBLE_EQ(shape->getX(), 3391030.0);
  EXPECT_DOUBLE_EQ(shape->getZ(), 9.5);
  EXPECT_NEAR(shape->getM(), 30.0, 1e-9);
  ASSERT_NE(points->GetSpatialRef(), nullptr);
  EXPECT_NE(std::string(points->GetSpatialRef()->GetName()).find("Louisiana South"), std::string::npos);
}

TEST_F(OgrDriverExport, AnExistingOutputIsKeptUnlessOverwriteIsAsked) {
  WriteFile(folder_ / "out" / "survey.gpkg", "precious\n");
  const ExportResult refused = Export("survey.gpkg");
  EXPECT_FALSE(refused.ok);
  EXPECT_NE(refused.problem.find("--overwrite"), std::string::npos) << refused.problem;
  EXPECT_EQ(ReadFile(folder_ / "out" / "survey.gpkg"), "precious\n");

  const ExportResult replaced = Export("survey.gpkg", "GPKG", true);
  ASSERT_TRUE(replaced.ok) << replaced.problem;
  EXPECT_NE(ReadFile(folder_ / "out" / "survey.gpkg"), "precious\n");
  EXPECT_EQ(FolderEntries(folder_ / "out"), (std::vector<std::string>{"survey.gpkg"}));
}

TEST_F(OgrDriverExport, OverwriteReplacesOnlyWhatTheExportWritesAndNeverItsInput) {
  const fs::path user = folder_ / "out" / "userdir";
  WriteFile(user / "thesis.docx", "thesis\n");
  WriteFile(user / "sub" / "notes.txt", "notes\n");
  WriteFile(user / "a.em CrossSections.shp", "old\n");
  const ExportResult merged = Export(user, "ESRI Shapefile", true);
  ASSERT_TRUE(merged.ok) << merged.problem;
  EXPECT_EQ(ReadFile(user / "thesis.docx"), "thesis\n");
  EXPECT_EQ(ReadFile(user / "sub" / "notes.txt"), "notes\n");
  EXPECT_NE(ReadFile(user / "a.em CrossSections.shp"), "old\n");
  EXPECT_TRUE(fs::exists(user / "bad.em Benchmarks.dbf"));

  // The input folder, a folder holding it, an input file; and a folder a
  // file output would replace.
  for (const auto& [output, format] : {std::pair{folder_ / "in", "GPKG"}, {folder_.path(), "ESRI Shapefile"},
                                       {folder_ / "in" / "a.em", "GPKG"}, {user, "GPKG"}}) {
    const ExportResult refused = Export(output, format, true);
    EXPECT_FALSE(refused.ok) << output;
    EXPECT_NE(refused.problem.find("not replaced"), std::string::npos) << refused.problem;
  }
  EXPECT_EQ(ReadFile(folder_ / "in" / "a.em"), kSectionsSurvey);
  EXPECT_EQ(ReadFile(user / "thesis.docx"), "thesis\n");
}

TEST_F(OgrDriverExport, AFailedExportLeavesNothingBehind) {
  CapturedMessages quiet;
  const ExportResult unknown = Export("survey.xyz", "NoSuchFormat");
  EXPECT_FALSE(unknown.ok);
  EXPECT_NE(unknown.problem.find("NoSuchFormat"), std::string::npos);
  // GeoJSON holds one layer only: the second layer fails half-way.
  const ExportResult partial = Export("survey.geojson", "GeoJSON");
  EXPECT_FALSE(partial.ok);
  EXPECT_TRUE(!fs::exists(folder_ / "out") || FolderEntries(folder_ / "out").empty());
}

TEST_F(OgrDriverExport, ShapefilesGoIntoAFolderOfTheirOwn) {
  const ExportResult result = Export("shapes", "ESRI Shapefile");
  ASSERT_TRUE(result.ok) << result.problem;
  const auto entries = FolderEntries(folder_ / "out" / "shapes");
  EXPECT_NE(std::find(entries.begin(), entries.end(), "a.em CrossSectionPoints.shp"), entries.end());
  EXPECT_EQ(FolderEntries(folder_ / "out"), (std::vector<std::string>{"shapes"}));
}

// ---------------------------------------------------------------------------
// Report texts

TEST(OgrDriverReportText, FailuresNameTheCauseFirstAndNoOptionOfOgr2ogr) {
  EXPECT_EQ(DescribeFailures({"ICreateFeature: Mismatched geometry type", "Unable to write feature 0.",
                              "Terminating translation prematurely after failed\ntranslation of layer x.em Areas "
                              "(use -skipfailures to skip errors)"}),
            "ICreateFeature: Mismatched geometry type; Unable to write feature 0.; Terminating translation "
            "prematurely after failed translation of layer x.em Areas");
  EXPECT_EQ(DescribeFailures({"trigger: no such table", "COMMIT failed: database or disk is full", "no table", "x"}),
            "COMMIT failed: database or disk is full; trigger: no such table; no table (and 1 more)");
  EXPECT_EQ(WithoutOptionHints("No DateTime. Misconversion can happen. -mapFieldType can be used to control it."),
            "No DateTime. Misconversion can happen.");
}

// Databases are written directly; their connection strings are shown without the password.
TEST_F(OgrDriverExport, DatabaseTargetsAndTheirShownNames) {
  EXPECT_TRUE(IsDatabaseTarget("PostgreSQL", "PG:dbname=survey"));
  EXPECT_TRUE(IsDatabaseTarget("PostgreSQL", "pg:dbname=survey"));
  EXPECT_FALSE(IsDatabaseTarget("PGDump", "survey.sql"));
  EXPECT_FALSE(IsDatabaseTarget("GPKG", "PG:dbname=survey"));
  EXPECT_FALSE(IsDatabaseTarget("PostgreSQL", "survey.gpkg"));
  EXPECT_EQ(WithoutPassword("PG:dbname=s password=secret user=u"), "PG:dbname=s password=*** user=u");
  EXPECT_EQ(WithoutPassword("PG:PASSWORD = 'a b\\' c' host=h"), "PG:PASSWORD = *** host=h");
  EXPECT_EQ(WithoutPassword("PG:dbname=s"), "PG:dbname=s");
}

// "no problems" and "N errors, 1 warning" are pinned by ogr_cli.sh.
TEST(OgrDriverReportText, ProblemCountsAndSummaries) {
  EXPECT_EQ(FormatProblemCounts({1, 0}), "1 error");
  EXPECT_EQ(FormatProblemCounts({0, 2}), "2 warnings");

  SurveyProblems problems;
  problems.total = {3, 1};
  problems.byFile["b.em"] = {2, 0};
  problems.byFile["a.em"] = {1, 1};
  EXPECT_EQ(FormatProblemSummary(problems), "3 errors, 1 warning in 2 files (a.em, b.em)");
  for (const char* name : {"f0.em", "f1.em", "f2.em", "f3.em", "f4.em", "f5.em"}) problems.byFile[name] = {1, 0};
  EXPECT_EQ(FormatProblemSummary(problems), "3 errors, 1 warning in 8 files");
}

// Geometry type texts are pinned by tests/scripts/ogr_cli.sh.
TEST(OgrDriverReportText, Coordinates) {
  EXPECT_EQ(FormatCoordinate(3394399.609), "3394399.609");
  EXPECT_EQ(FormatCoordinate(690000.0), "690000");
  EXPECT_EQ(FormatCoordinate(12.5004), "12.5");
  EXPECT_EQ(FormatCoordinate(-0.0001), "0");
}

TEST(OgrDriverReportText, CoordinateSystemsByNameAndEpsgCode) {
  EXPECT_EQ(CoordinateSystemText(nullptr), "unknown");
  OGRSpatialReference empty;
  EXPECT_EQ(CoordinateSystemText(&empty), "unknown");
  OGRSpatialReference louisiana;
  ASSERT_EQ(louisiana.importFromEPSG(3452), OGRERR_NONE);
  EXPECT_EQ(CoordinateSystemText(&louisiana), "NAD83 / Louisiana South (ftUS) (EPSG:3452)");
  // Without an authority the best match supplies the code.
  OGRSpatialReference bare;
  char* wkt = nullptr;
  louisiana.exportToWkt(&wkt);
  ASSERT_EQ(bare.importFromWkt(wkt), OGRERR_NONE);
  CPLFree(wkt);
  bare.StripVertical();
  EXPECT_NE(CoordinateSystemText(&bare).find("(EPSG:3452)"), std::string::npos);
}

}  // namespace
}  // namespace veldrane::ogr::test
