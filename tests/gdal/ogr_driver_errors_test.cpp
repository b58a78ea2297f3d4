// What the "Veldrane" OGR driver tells about the problems found in survey
// files (GDAL warnings and the "Errors" layer), and its file operations
// (delete, rename, copy), which move a survey file's metadata file with it.
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "tests/gdal/ogr_driver_test_support.h"

namespace veldrane::ogr::test {
namespace {

// The records of an "Errors" layer in the form of "veldrane check" (and of
// the GDAL warnings): "file:line: severity: description", without ":line"
// where the line number is null.
std::vector<std::string> Records(OGRLayer& errors) {
  std::vector<std::string> records;
  errors.ResetReading();
  for (auto& feature : errors) {
    const int line = feature->GetFieldIndex("LineNumber");
    records.push_back(std::string(feature->GetFieldAsString("Filename")) +
                      (feature->IsFieldNull(line) ? "" : ":" + std::to_string(feature->GetFieldAsInteger(line))) +
                      ": " + feature->GetFieldAsString("Severity") + ": " + feature->GetFieldAsString("Description"));
  }
  return records;
}

class OgrDriverErrors : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(folder_ / "a.em", kSectionsSurvey);
    WriteFile(folder_ / "bad.em", kFaultySurvey);
    bad_ = (folder_ / "bad.em").string();
  }
  std::vector<std::string> Expected() const {
    return {bad_ + ":1: error: Invalid File Format Version : EM08",
            bad_ + ":9: warning: Duplicate #V02 record ignored for BM ONE",
            bad_ + ":13: error: Non-Numeric Elevation Value in Coordinate:6,690200,3391060,8.O,CL"};
  }

  ScratchFolder folder_;
  std::string bad_;
};

TEST_F(OgrDriverErrors, ErrorLayerListsEveryRecordOfTheFilesRead) {
  auto dataset = OpenWithDriver(folder_.str(), true);
  ASSERT_TRUE(dataset);
  OGRLayer* errors = dataset->GetLayerByName("Errors");
  ASSERT_NE(errors, nullptr);
  EXPECT_EQ(dataset->GetLayer(dataset->GetLayerCount() - 1), errors);
  EXPECT_EQ(errors->GetGeomType(), wkbNone);
  // Records() reads the four fields by name.
  OGRFeatureDefn* defn = errors->GetLayerDefn();
  EXPECT_EQ(defn->GetFieldCount(), 4);
  EXPECT_EQ(defn->GetFieldDefn(defn->GetFieldIndex("LineNumber"))->GetType(), OFTInteger);
  EXPECT_EQ(Records(*errors), Expected());
  EXPECT_EQ(Fids(*errors), (std::vector<GIntBig>{0, 1, 2}));
  std::unique_ptr<OGRFeature> second(errors->GetFeature(1));
  ASSERT_TRUE(second);
  EXPECT_EQ(second->GetFieldAsInteger("LineNumber"), 9);
  EXPECT_EQ(errors->GetFeature(3), nullptr);
  ASSERT_EQ(errors->SetAttributeFilter("Severity = 'error'"), OGRERR_NONE);
  EXPECT_EQ(Fids(*errors), (std::vector<GIntBig>{0, 2}));
  // The file with problems is still read: the section keeps its 2 good points.
  EXPECT_EQ(dataset->GetLayerByName("bad.em CrossSectionPoints")->GetFeatureCount(), 2);
}

// A file's problems arrive as GDAL warnings in the form of "veldrane
// check"; a folder's as one summary per file, so as not to drown a client's
// message log. Every open reports them again: the folder's open reads the
// file the first open read.
TEST_F(OgrDriverErrors, ProblemsArriveAsWarningsOneByOneForAFileSummedUpForAFolder) {
  const std::vector<std::string> summary = {
      bad_ + ": 3 problems (2 errors, 1 warning); the Errors layer (open option ERROR_LAYER=YES) and "
             "\"veldrane check\" list them"};
  for (const auto& [path, expected] : {std::pair{bad_, Expected()}, std::pair{folder_.str(), summary}}) {
    CapturedMessages messages;
    auto dataset = OpenWithDriver(path);
    ASSERT_TRUE(dataset);
    EXPECT_EQ(dataset->GetLayerByName("Errors"), nullptr);
    EXPECT_EQ(messages.Of(CE_Warning), expected) << path;
    EXPECT_TRUE(messages.Of(CE_Failure).empty());
  }
}

TEST_F(OgrDriverErrors, ARecordWithoutLineHasANullLineNumberAndNoLineInTheWarning) {
  ScratchFolder other;
  std::string survey = kSectionsSurvey;
  survey.replace(survey.find("LA SOUTH"), 8, "NOWHERE");
  WriteFile(other / "a.em", survey);
  CapturedMessages messages;
  auto dataset = OpenWithDriver((other / "a.em").string(), true);
  ASSERT_TRUE(dataset);
  const auto records = Records(*dataset->GetLayerByName("Errors"));
  ASSERT_FALSE(records.empty());
  for (const std::string& record : records) EXPECT_EQ(record.rfind((other / "a.em").string() + ": ", 0), 0u) << record;
  EXPECT_EQ(messages.Of(CE_Warning), records);
}

// ---------------------------------------------------------------------------
// File operations

GDALDriver& Driver() {
  RegisterDriver();
  return *GetGDALDriverManager()->GetDriverByName("Veldrane");
}

// A survey file goes with its metadata; a folder is not deleted.
TEST(OgrDriverFiles, DeleteRemovesTheSurveyFileAndItsMetadataButNoFolder) {
  ScratchFolder folder;
  WriteFile(folder / "a.em", kSectionsSurvey);
  WriteFile(folder / "a.em.xml", "<metadata/>\n");
  WriteFile(folder / "b.em", kBenchmarkSurvey);
  EXPECT_EQ(Driver().Delete((folder / "a.em").string().c_str()), CE_None);
  EXPECT_FALSE(fs::exists(folder / "a.em"));
  EXPECT_FALSE(fs::exists(folder / "a.em.xml"));
  CapturedMessages messages;
  EXPECT_EQ(Driver().Delete(folder.str().c_str()), CE_Failure);
  EXPECT_TRUE(fs::exists(folder / "b.em"));
  EXPECT_FALSE(messages.Of(CE_Failure).empty());
}

TEST(OgrDriverFiles, RenameMovesTheMetadataAlong) {
  ScratchFolder folder;
  WriteFile(folder / "a.em", kSectionsSurvey);
  WriteFile(folder / "a.em.xml", "<metadata/>\n");
  EXPECT_EQ(Driver().Rename((folder / "renamed.em").string().c_str(), (folder / "a.em").string().c_str()), CE_None);
  EXPECT_FALSE(fs::exists(folder / "a.em"));
  EXPECT_EQ(ReadFile(folder / "renamed.em"), kSectionsSurvey);
  EXPECT_EQ(ReadFile(folder / "renamed.em.xml"), "<metadata/>\n");
  auto dataset = OpenWithDriver(folder.str());
  ASSERT_TRUE(dataset);
  EXPECT_STREQ(dataset->GetLayer(0)->GetName(), "renamed.em CrossSections");
}

// Refused, with nothing moved: another folder, a taken name, or a taken
// name for the metadata file that would have to go along.
TEST(OgrDriverFiles, RenameRefusesOtherFoldersAndTakenNames) {
  ScratchFolder folder;
  WriteFile(folder / "a.em", kSectionsSurvey);
  WriteFile(folder / "a.em.xml", "<metadata/>\n");
  WriteFile(folder / "b.em", kBenchmarkSurvey);
  WriteFile(folder / "c.em.xml", "<other/>\n");
  fs::create_directories(folder / "elsewhere");
  CapturedMessages messages;
  for (const fs::path& target : {folder / "elsewhere" / "a.em", folder / "b.em", folder / "c.em"})
    EXPECT_EQ(Driver().Rename(target.string().c_str(), (folder / "a.em").string().c_str()), CE_Failure) << target;
  EXPECT_EQ(ReadFile(folder / "a.em"), kSectionsSurvey);
  EXPECT_EQ(ReadFile(folder / "a.em.xml"), "<metadata/>\n");
  EXPECT_EQ(ReadFile(folder / "b.em"), kBenchmarkSurvey);
  EXPECT_FALSE(fs::exists(folder / "c.em"));
  EXPECT_EQ(messages.Of(CE_Failure).size(), 3u);
}

// GDAL's CopyFiles writes exactly the name asked for, in any folder, with
// the metadata file beside it, replacing what was there (as GDAL's own copy
// does); a copy without metadata leaves no stale metadata file behind.
TEST(OgrDriverFiles, CopyFilesWritesExactlyTheRequestedName) {
  ScratchFolder folder;
  WriteFile(folder / "a.em", kSectionsSurvey);
  WriteFile(folder / "a.em.xml", "<metadata/>\n");
  WriteFile(folder / "bare.em", kBenchmarkSurvey);
  WriteFile(folder / "copies" / "a.em", kBenchmarkSurvey);
  WriteFile(folder / "copies" / "b.em.xml", "<stale/>\n");
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"a.em", "copies/a.em", "<metadata/>\n"},
      {"a.em", "copies/other name.em", "<metadata/>\n"},
      {"a.em", "b.em", "<metadata/>\n"},
      {"bare.em", "copies/b.em", nullptr}};
  for (const auto& [from, to, metadata] : cases) {
    CapturedMessages messages;
    EXPECT_EQ(Driver().CopyFiles((folder / to).string().c_str(), (folder / from).string().c_str()), CE_None) << to;
    EXPECT_EQ(ReadFile(folder / to), ReadFile(folder / from)) << to;
    EXPECT_EQ(fs::exists(folder / (std::string(to) + ".xml")), metadata != nullptr) << to;
    if (metadata != nullptr) {
      EXPECT_EQ(ReadFile(folder / (std::string(to) + ".xml")), metadata) << to;
    }
    EXPECT_TRUE(messages.All().empty()) << to;
  }
  EXPECT_FALSE(fs::exists(folder / "copies" / "aCopy.em"));
  CapturedMessages messages;
  EXPECT_EQ(Driver().CopyFiles((folder / "a.em").string().c_str(), (folder / "a.em").string().c_str()), CE_Failure);
  EXPECT_EQ(Driver().CopyFiles((folder / "nowhere" / "a.em").string().c_str(), (folder / "a.em").string().c_str()),
            CE_Failure);
  EXPECT_EQ(messages.Of(CE_Failure).size(), 2u);
  EXPECT_EQ(ReadFile(folder / "a.em"), kSectionsSurvey);
}

}  // namespace
}  // namespace veldrane::ogr::test
