// Problems a reader finds only while computing what is read (the benchmarks
// an .830 file repeats for every range, collected when the benchmarks are
// read) reach the user like those found when the file was opened.
#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "config/error_log.h"
#include "tests/gdal/ogr_driver_test_support.h"

namespace veldrane::ogr::test {
namespace {

const std::string kRoute = std::string(VELDRANE_SOURCE_DIR) + "/samples/old_route.830";

std::vector<std::string> Descriptions(OGRLayer& errors) {
  std::vector<std::string> texts;
  errors.ResetReading();
  for (auto& feature : errors) texts.emplace_back(feature->GetFieldAsString("Description"));
  return texts;
}

TEST(OgrDriverLateErrors, ReadingTheBenchmarksAddsTheirDuplicatesAsWarningsAndRecords) {
  CapturedMessages messages;
  GDALDatasetUniquePtr dataset = OpenWithDriver(kRoute, /*errorLayer=*/true);
  ASSERT_TRUE(dataset);
  OGRLayer* errors = dataset->GetLayerByName("Errors");
  OGRLayer* benchmarks = dataset->GetLayerByName("old_route.830 Benchmarks");
  ASSERT_TRUE(errors && benchmarks);
  const std::string duplicate = "Duplicate benchmark ignored: BM AMITE 3";
  const auto before = Descriptions(*errors);
  EXPECT_EQ(std::count(before.begin(), before.end(), duplicate), 0);

  for (int pass = 0; pass < 2; ++pass) {
    GIntBig read = 0;
    benchmarks->ResetReading();
    for (auto& feature : *benchmarks) ++read, (void)feature;
    EXPECT_EQ(read, 3);
  }
  // Listed once however often the benchmarks are read.
  const auto after = Descriptions(*errors);
  EXPECT_EQ(std::count(after.begin(), after.end(), duplicate), 1);
  EXPECT_EQ(errors->GetFeatureCount(), static_cast<GIntBig>(after.size()));
  const auto warnings = messages.Of(CE_Warning);
  EXPECT_EQ(std::count(warnings.begin(), warnings.end(), kRoute + ":43: warning: " + duplicate), 1);
}

// The dataset owns what reading finds, whatever thread reads it: each
// problem reaches its "Errors" layer once, and no reading thread's own log
// collects it.
TEST(OgrDriverLateErrors, ADatasetReadOnOtherThreadsKeepsItsProblemsToItself) {
  CapturedMessages quiet;
  GDALDatasetUniquePtr dataset = OpenWithDriver(kRoute, /*errorLayer=*/true);
  ASSERT_TRUE(dataset);
  OGRLayer* errors = dataset->GetLayerByName("Errors");
  OGRLayer* benchmarks = dataset->GetLayerByName("old_route.830 Benchmarks");
  ASSERT_TRUE(errors && benchmarks);
  std::size_t warnings[2] = {};
  for (std::size_t& told : warnings) {
    std::thread([&] {
      CapturedMessages messages;
      benchmarks->ResetReading();
      for (auto& feature : *benchmarks) (void)feature;
      EXPECT_EQ(ErrorLog().ErrorCount(), 0u);
      told = messages.Of(CE_Warning).size();
    }).join();
  }
  EXPECT_GT(warnings[0], 0u);
  EXPECT_EQ(warnings[1], 0u);
  const auto found = Descriptions(*errors);
  EXPECT_EQ(std::count(found.begin(), found.end(), "Duplicate benchmark ignored: BM AMITE 3"), 1);
}

}  // namespace
}  // namespace veldrane::ogr::test
