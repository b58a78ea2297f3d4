// The "Veldrane" OGR driver as GDAL sees it: registration, which paths it
// claims, the layers it makes of a folder or a file (names, order, schemas,
// geometry types, coordinate systems, extents), the read-only rule, and
// folders that hold more or stranger things than survey files.
#include <dlfcn.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "config/coordinate_system_domain.h"
#include "config/settings_paths.h"
#include "config/value_domain.h"
#include "tests/gdal/ogr_driver_test_support.h"

namespace veldrane::ogr::test {
namespace {

// ---------------------------------------------------------------------------
// Registration and identification

// Its names and read-only vector kind, as `ogrinfo --formats` lists them,
// are pinned by tests/scripts/ogr_gdal_tools.sh.
TEST(OgrDriverRegistration, RegistersOnce) {
  RegisterDriver();
  RegisterDriver();
  int count = 0;
  for (int i = 0; i < GetGDALDriverManager()->GetDriverCount(); ++i)
    if (EQUAL(GetGDALDriverManager()->GetDriver(i)->GetDescription(), "Veldrane")) ++count;
  EXPECT_EQ(count, 1);
}

bool Identifies(const std::string& path) {
  RegisterDriver();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("Veldrane");
  GDALOpenInfo info(path.c_str(), GA_ReadOnly);
  return driver->pfnIdentify(&info) != 0;
}

// A shapefile "pts.shp" (with its .shx and .dbf) of one point.
void WriteShapefile(const fs::path& folder) {
  GDALAllRegister();
  GDALDriver* shapes = GetGDALDriverManager()->GetDriverByName("ESRI Shapefile");
  GDALDatasetUniquePtr dataset(shapes->Create((folder / "pts.shp").string().c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  OGRLayer* layer = dataset->CreateLayer("pts", nullptr, wkbPoint);
  OGRFeature feature(layer->GetLayerDefn());
  feature.SetGeometryDirectly(new OGRPoint(1, 2));
  ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
}

std::string Junk() {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919) % 256);
  return junk;
}

// Claimed by content: a file whose first record is one of its format, a
// folder holding such a file (GDAL's virtual file systems: the VSI tests).
TEST(OgrDriverIdentify, ClaimsSurveyContentOnly) {
  ScratchFolder folder;
  WriteFile(folder / "survey" / "a.em", kSectionsSurvey);
  WriteFile(folder / "survey" / "notes.txt", "field notes\n");
  WriteFile(folder / "other" / "notes.txt", "field notes\n");
  WriteFile(folder / "other" / "a.em.xml", "<metadata/>\n");
  WriteFile(folder / "strangers" / "image.em", Junk());
  WriteFile(folder / "strangers" / "empty.27", "");
  WriteFile(folder / "strangers" / "app.pro", "TEMPLATE = app\nSOURCES += main.cpp\n");
  WriteFile(folder / "strangers" / "a.csv", "x,y\n1,2\n");
  fs::copy_file(fs::path(VELDRANE_SOURCE_DIR) / "samples" / "control.83", folder / "control.83");
  fs::create_directories(folder / "empty");
  const std::pair<fs::path, bool> cases[] = {
      {folder / "survey", true},         {folder / "survey" / "a.em", true}, {folder / "control.83", true},
      {folder / "survey" / "notes.txt", false},
      {folder / "other", false},         {folder / "strangers", false},      {folder / "strangers" / "image.em", false},
      {folder / "strangers" / "empty.27", false}, {folder / "strangers" / "app.pro", false},
      {folder / "empty", false},         {folder / "missing.em", false}};
  for (const auto& [path, claimed] : cases) EXPECT_EQ(Identifies(path.string()), claimed) << path;
}

// A folder that holds no survey data goes to the drivers of what it holds;
// one that does is ours, and its other data is still there for a client
// that asks other drivers.
TEST(OgrDriverIdentify, OtherDataInAFolderStaysVisible) {
  RegisterDriver();  // first, as GDAL asks plugins first
  ScratchFolder folder;
  WriteShapefile(folder.path());
  WriteFile(folder / "app.pro", "TEMPLATE = app\n");
  GDALDatasetUniquePtr shapes(GDALDataset::Open(folder.str().c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  ASSERT_TRUE(shapes);
  EXPECT_STREQ(shapes->GetDriver()->GetDescription(), "ESRI Shapefile");
  shapes.reset();

  WriteFile(folder / "a.em", kSectionsSurvey);
  GDALDatasetUniquePtr surveys(GDALDataset::Open(folder.str().c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  ASSERT_TRUE(surveys);
  EXPECT_STREQ(surveys->GetDriver()->GetDescription(), "Veldrane");
  EXPECT_EQ(LayerNames(*surveys), (std::vector<std::string>{"a.em CrossSections", "a.em CrossSectionPoints"}));
  const char* const onlyShapes[] = {"ESRI Shapefile", nullptr};
  shapes.reset(GDALDataset::Open(folder.str().c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, onlyShapes));
  ASSERT_TRUE(shapes);
  EXPECT_EQ(LayerNames(*shapes), std::vector<std::string>{"pts"});
}

// The configuration tables are loaded once per process, not per open: a
// table with a repeated key is reported by every load.
TEST(OgrDriverTables, FiveHundredOpensOfAFolderLoadTheTablesOnce) {
  ScratchFolder tables, surveys;
  const fs::path shipped = fs::path(VELDRANE_SOURCE_DIR) / "config";
  const std::string domains = ReadFile(shipped / "DOMAINS.csv");
  const std::size_t firstEntry = domains.find('\n') + 1;
  WriteFile(tables / "DOMAINS.csv", domains + domains.substr(firstEntry, domains.find('\n', firstEntry) + 1 - firstEntry));
  fs::copy_file(shipped / "COORDSYS.csv", tables / "COORDSYS.csv");
  WriteFile(surveys / "b.em", kBenchmarkSurvey);
  SetLibraryFolderForTesting(tables.path());
  ResetSettingsPathsCache();
  ResetSharedValueDomain();
  ResetSharedCoordinateSystemDomain();
  CapturedMessages messages;
  for (int i = 0; i < 500; ++i) ASSERT_TRUE(OpenWithDriver(surveys.str()));
  SetLibraryFolderForTesting(std::nullopt);
  ResetSettingsPathsCache();
  const auto warnings = messages.Of(CE_Warning);
  EXPECT_EQ(std::count_if(warnings.begin(), warnings.end(),
                          [](const std::string& text) { return text.find("already associated") != std::string::npos; }),
            1);
}

// ---------------------------------------------------------------------------
// Layers of a folder and of a file

TEST(OgrDriverLayers, OneLayerPerClassOfEverySurveyFileInNameOrder) {
  ScratchFolder folder;
  WriteFile(folder / "b.em", kBenchmarkSurvey);
  WriteFile(folder / "a.em", kSectionsSurvey);
  WriteFile(folder / "readme.txt", "not a survey\n");
  fs::copy_file(fs::path(VELDRANE_SOURCE_DIR) / "samples" / "control.83", folder / "control.83");
  auto dataset = OpenWithDriver(folder.str());
  ASSERT_TRUE(dataset);
  EXPECT_EQ(LayerNames(*dataset),
            (std::vector<std::string>{"a.em CrossSections", "a.em CrossSectionPoints", "b.em Benchmarks",
                                      "control.83 Traverses", "control.83 TraversePoints"}));
  OGRLayer* points = dataset->GetLayerByName("a.em CrossSectionPoints");
  ASSERT_NE(points, nullptr);
  EXPECT_STREQ(points->GetMetadataItem(kSurveyFileItem), "a.em");
  EXPECT_STREQ(points->GetMetadataItem(kClassKindItem), "CrossSectionPoints");

  const CPLStringList files(dataset->GetFileList(), TRUE);
  ASSERT_EQ(files.size(), 3);
  EXPECT_EQ(fs::path(files[0]).filename(), "a.em");
  EXPECT_EQ(fs::path(files[1]).filename(), "b.em");
  EXPECT_EQ(fs::path(files[2]).filename(), "control.83");
  // A single file gives its own classes only.
  auto single = OpenWithDriver((folder / "b.em").string());
  ASSERT_TRUE(single);
  EXPECT_EQ(LayerNames(*single), (std::vector<std::string>{"b.em Benchmarks"}));
}

// The field lists themselves are pinned at the data-source level; here only
// that each host type reaches OGR as its type and subtype, without a width
// (the data source's sizes are nominal), that the object ID becomes the FID,
// and that each layer declares the ordinates its features carry.
TEST(OgrDriverLayers, LayerSchemasCarryTheOgrTypesAndGeometryOfTheClass) {
  ScratchFolder folder;
  WriteFile(folder / "a.em", kSectionsSurvey);
  WriteFile(folder / "b.em", kBenchmarkSurvey);
  auto dataset = OpenWithDriver(folder.str());
  ASSERT_TRUE(dataset);
  OGRFeatureDefn* points = dataset->GetLayerByName("a.em CrossSectionPoints")->GetLayerDefn();
  OGRFeatureDefn* sections = dataset->GetLayerByName("a.em CrossSections")->GetLayerDefn();
  const std::tuple<OGRFeatureDefn*, const char*, OGRFieldType, OGRFieldSubType> cases[] = {
      {points, "CrossSectionOID", OFTInteger, OFSTInt16}, {points, "PointId", OFTInteger, OFSTNone},
      {points, "PointTag", OFTString, OFSTNone},          {points, "Elevation", OFTReal, OFSTFloat32},
      {sections, "Station", OFTReal, OFSTNone},           {sections, "SurveyDate", OFTDateTime, OFSTNone},
      {sections, "Description", OFTString, OFSTNone}};
  for (const auto& [defn, name, type, subtype] : cases) {
    const int index = defn->GetFieldIndex(name);
    ASSERT_GE(index, 0) << name;
    const OGRFieldDefn* field = defn->GetFieldDefn(index);
    EXPECT_EQ(field->GetType(), type) << name;
    EXPECT_EQ(field->GetSubType(), subtype) << name;
    EXPECT_EQ(field->GetWidth(), 0) << name;
    EXPECT_EQ(field->GetPrecision(), 0) << name;
  }
  EXPECT_EQ(points->GetFieldCount(), 10);
  EXPECT_EQ(points->GetFieldIndex("OBJECTID"), -1);
  ASSERT_EQ(points->GetGeomFieldCount(), 1);
  EXPECT_STREQ(points->GetGeomFieldDefn(0)->GetNameRef(), "SHAPE");
  // Cross sections and their points (3D, measured) are in tests/scripts/ogr_cli.sh.
  EXPECT_EQ(dataset->GetLayerByName("b.em Benchmarks")->GetGeomType(), wkbPoint);
}

// The survey's metadata document, filled from the file, is GDAL's "xml:FGDC"
// domain of a dataset of one file and of every layer (a folder has none).
TEST(OgrDriverLayers, TheMetadataDocumentIsTheFgdcDomain) {
  ScratchFolder folder;
  WriteFile(folder / "a.em", kSectionsSurvey);
  auto file = OpenWithDriver((folder / "a.em").string());
  auto all = OpenWithDriver(folder.str());
  ASSERT_TRUE(file && all);
  for (GDALMajorObject* object : {static_cast<GDALMajorObject*>(file.get()),
                                  static_cast<GDALMajorObject*>(file->GetLayer(1)),
                                  static_cast<GDALMajorObject*>(all->GetLayer(0))}) {
    const CPLStringList domains(object->GetMetadataDomainList(), TRUE);
    EXPECT_GE(domains.FindString("xml:FGDC"), 0) << object->GetDescription();
    const CSLConstList xml = object->GetMetadata("xml:FGDC");
    ASSERT_EQ(CSLCount(xml), 1) << object->GetDescription();
    EXPECT_NE(std::string(xml[0]).find("<title>A.EM</title>"), std::string::npos) << xml[0];
  }
  EXPECT_EQ(all->GetMetadata("xml:FGDC"), nullptr);
}

// A system the tables do not know ("b.em") gives no spatial reference.
TEST(OgrDriverLayers, SpatialReferenceOfTheSurveyCoordinateSystemInEastingNorthingOrder) {
  ScratchFolder folder;
  WriteFile(folder / "a.em", kSectionsSurvey);
  std::string nowhere = kSectionsSurvey;
  WriteFile(folder / "b.em", nowhere.replace(nowhere.find("LA SOUTH"), 8, "NOWHERE"));
  auto dataset = OpenWithDriver(folder.str());
  ASSERT_TRUE(dataset);
  EXPECT_EQ(dataset->GetLayerByName("b.em CrossSections")->GetSpatialRef(), nullptr);
  const OGRSpatialReference* srs = dataset->GetLayer(0)->GetSpatialRef();
  ASSERT_NE(srs, nullptr);
  EXPECT_NE(std::string(srs->GetName()).find("Louisiana South"), std::string::npos) << srs->GetName();
  EXPECT_NEAR(srs->GetLinearUnits(), 1200.0 / 3937.0, 1e-12);  // US survey foot
  EXPECT_EQ(srs->GetDataAxisToSRSAxisMapping(), (std::vector<int>{1, 2}));
}

// ---------------------------------------------------------------------------
// Read-only

// Declined quietly, as GDAL's read-only drivers do: clients that try update
// first (QGIS, ogrinfo -sql) fall back to read-only without an error.
TEST(OgrDriverReadOnly, AnUpdateOpenIsDeclinedQuietly) {
  ScratchFolder folder;
  WriteFile(folder / "a.em", kSectionsSurvey);
  CapturedMessages messages;
  EXPECT_FALSE(OpenWithDriver(folder.str(), false, GDAL_OF_UPDATE));
  EXPECT_FALSE(OpenWithDriver((folder / "a.em").string(), false, GDAL_OF_UPDATE));
  EXPECT_TRUE(messages.All().empty()) << messages.All().front().second;
}

TEST(OgrDriverReadOnly, NothingIsWritable) {
  ScratchFolder folder;
  WriteFile(folder / "a.em", kSectionsSurvey);
  auto dataset = OpenWithDriver(folder.str());
  ASSERT_TRUE(dataset);
  for (const char* capability : {ODsCCreateLayer, ODsCDeleteLayer})
    EXPECT_FALSE(dataset->TestCapability(capability)) << capability;
  OGRLayer* layer = dataset->GetLayer(0);
  for (const char* capability : {OLCSequentialWrite, OLCRandomWrite, OLCCreateField, OLCDeleteFeature})
    EXPECT_FALSE(layer->TestCapability(capability)) << capability;
  CapturedMessages messages;
  OGRFeature feature(layer->GetLayerDefn());
  EXPECT_NE(layer->CreateFeature(&feature), OGRERR_NONE);
  EXPECT_NE(layer->SetFeature(&feature), OGRERR_NONE);
  EXPECT_NE(layer->DeleteFeature(0), OGRERR_NONE);
  OGRFieldDefn field("Extra", OFTString);
  EXPECT_NE(layer->CreateField(&field), OGRERR_NONE);
  EXPECT_EQ(dataset->CreateLayer("new"), nullptr);
  const auto failures = messages.Of(CE_Failure);
  ASSERT_EQ(failures.size(), 5u);
  for (const std::string& text : failures) EXPECT_NE(text.find("survey files are read-only"), std::string::npos) << text;
  EXPECT_EQ(layer->GetFeatureCount(), 2);
}

// ---------------------------------------------------------------------------
// Folders with strange content

TEST(OgrDriverRobustness, StrangeNamesAndBrokenFilesCostOnlyThemselves) {
  ScratchFolder folder;
  WriteFile(folder / "name with spaces.em", kSectionsSurvey);
  WriteFile(folder / "dots.in.name.em", kBenchmarkSurvey);
  WriteFile(folder / "..em", kBenchmarkSurvey);
  WriteFile(folder / "empty.em", "");
  WriteFile(folder / "only cr.em", "#H00 EM09\r#H02 3/14/2011\r#V01 BM CR\r#V02 1.5\r");
  for (const char* name : {"junk.pro", "junk.830", "junk.83"}) WriteFile(folder / name, Junk());
  WriteFile(folder / "truncated.em", kSectionsSurvey.substr(0, kSectionsSurvey.size() / 2));
  fs::create_directories(folder / "folder.em");
  fs::create_symlink(folder / "gone.em", folder / "dangling.em");
  WriteFile(folder / "a.em.xml", "<metadata/>\n");

  CapturedMessages messages;
  auto dataset = OpenWithDriver((folder.path() / ".." / folder.path().filename()).string(), true);
  ASSERT_TRUE(dataset);
  const auto names = LayerNames(*dataset);
  auto has = [&names](const std::string& name) { return std::find(names.begin(), names.end(), name) != names.end(); };
  EXPECT_TRUE(has("name with spaces.em CrossSections"));
  EXPECT_TRUE(has("name with spaces.em CrossSectionPoints"));
  EXPECT_TRUE(has("dots.in.name.em Benchmarks"));
  EXPECT_TRUE(has("..em Benchmarks"));
  EXPECT_TRUE(has("only cr.em Benchmarks"));
  EXPECT_TRUE(has("Errors"));
  // Every layer can be read to its end.
  for (int i = 0; i < dataset->GetLayerCount(); ++i) {
    OGRLayer* layer = dataset->GetLayer(i);
    GIntBig read = 0;
    for (auto& feature : *layer) ++read, (void)feature;
    EXPECT_EQ(read, layer->GetFeatureCount()) << layer->GetName();
  }
  EXPECT_EQ(dataset->GetLayerByName("name with spaces.em CrossSectionPoints")->GetFeatureCount(), 5);
  for (const auto& [type, text] : messages.All()) EXPECT_LT(type, CE_Failure) << text;
}

TEST(OgrDriverRobustness, AFolderOfAThousandFilesOpensWithALayerForEach) {
  ScratchFolder folder;
  for (int i = 0; i < 1000; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "bm%04d.em", i);
    WriteFile(folder / name, kBenchmarkSurvey);
  }
  auto dataset = OpenWithDriver(folder.str());
  ASSERT_TRUE(dataset);
  ASSERT_EQ(dataset->GetLayerCount(), 1000);
  EXPECT_STREQ(dataset->GetLayer(0)->GetName(), "bm0000.em Benchmarks");
  EXPECT_STREQ(dataset->GetLayer(999)->GetName(), "bm0999.em Benchmarks");
  GIntBig total = 0;
  for (int i = 0; i < dataset->GetLayerCount(); ++i) total += dataset->GetLayer(i)->GetFeatureCount();
  EXPECT_EQ(total, 2000);
}

TEST(OgrDriverRobustness, MissingPathsOpenNothingQuietly) {
  ScratchFolder folder;
  CapturedMessages messages;
  EXPECT_FALSE(OpenWithDriver((folder / "missing").string()));
  EXPECT_FALSE(OpenWithDriver((folder / "missing.em").string()));
  EXPECT_FALSE(OpenWithDriver(""));
  EXPECT_TRUE(messages.Of(CE_Warning).empty());
}

// ---------------------------------------------------------------------------
// The plugin module

TEST(OgrDriverPlugin, ExportsOnlyTheGdalEntryPoints) {
  const std::string module = std::string(VELDRANE_STAGE_DIR) + "/ogr_Veldrane.so";
  if (!fs::exists(module)) GTEST_SKIP() << "plugin not built";
  void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << ::dlerror();
  EXPECT_NE(::dlsym(handle, "GDALRegister_Veldrane"), nullptr);
  EXPECT_NE(::dlsym(handle, "GDALRegisterMe"), nullptr);
  // The driver and the data source inside stay private to the module.
  EXPECT_EQ(::dlsym(handle, "RegisterOGRVeldrane"), nullptr);
  EXPECT_EQ(::dlsym(handle, "_ZN8veldrane8ErrorLogEv"), nullptr);  // veldrane::ErrorLog()
  ::dlclose(handle);
}

}  // namespace
}  // namespace veldrane::ogr::test
