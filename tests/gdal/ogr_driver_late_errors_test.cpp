// Problems the readers find while computing what is asked for (the
// benchmarks an .830 file repeats for every range, collected with the class
// list) are reported with the open, once, and belong to the dataset: no
// thread that opens or reads it collects them in its own log, and reading
// again, on any thread, reports nothing new.
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

TEST(OgrDriverLateErrors, ProblemsFoundWhileComputingAreTheDatasetsOnceWhateverThreadReads) {
  CapturedMessages messages;
  GDALDatasetUniquePtr dataset = OpenWithDriver(kRoute, /*errorLayer=*/true);
  ASSERT_TRUE(dataset);
  EXPECT_EQ(ErrorLog().ErrorCount(), 0u);
  const std::string duplicate = "Duplicate benchmark ignored: BM AMITE 3";
  const auto warnings = messages.Of(CE_Warning);
  EXPECT_EQ(std::count(warnings.begin(), warnings.end(), kRoute + ":43: warning: " + duplicate), 1);
  OGRLayer* errors = dataset->GetLayerByName("Errors");
  OGRLayer* benchmarks = dataset->GetLayerByName("old_route.830 Benchmarks");
  ASSERT_TRUE(errors && benchmarks);
  const auto atOpen = Descriptions(*errors);
  EXPECT_EQ(std::count(atOpen.begin(), atOpen.end(), duplicate), 1);

  for (int reader = 0; reader < 2; ++reader) {
    std::thread([&] {
      CapturedMessages later;
      GIntBig read = 0;
      benchmarks->ResetReading();
      for (auto& feature : *benchmarks) ++read, (void)feature;
      EXPECT_EQ(read, 3);
      EXPECT_EQ(ErrorLog().ErrorCount(), 0u);
      EXPECT_TRUE(later.All().empty());
    }).join();
  }
  EXPECT_EQ(Descriptions(*errors), atOpen);
  EXPECT_EQ(errors->GetFeatureCount(), static_cast<GIntBig>(atOpen.size()));
}

}  // namespace
}  // namespace veldrane::ogr::test
