// A long pass over a point class is read ahead on a second thread. The
// features must be exactly those read on the caller's thread, in the same
// order, under filters too, and the rest of the dataset must stay usable
// while a pass is read ahead.
#include <memory>
#include <string>
#include <vector>

#include <cpl_conv.h>
#include <gtest/gtest.h>

#include "tests/gdal/ogr_driver_test_support.h"

namespace veldrane::ogr::test {
namespace {

constexpr int kSections = 60;
constexpr int kPointsPerSection = 150;  // 9,000 points: well past the read-ahead start

std::string LongSurvey() {
  std::string text = "#H00 EM09\n#H02 3/14/2011\n#H04 NAD83\n#H06 US SURVEY FEET\n#H07 LA SOUTH\n";
  int id = 1;
  for (int s = 0; s < kSections; ++s) {
    const std::string x = std::to_string(690000 + s * 100);
    text += "#X01 3391000 " + x + " 3391500 " + x + " " + std::to_string(s) + "+00 XS " + std::to_string(s) + "\n";
    for (int p = 0; p < kPointsPerSection; ++p, ++id) {
      // Every seventh point lies off the range line, so offsets vary too.
      const std::string easting = p % 7 == 0 ? x + ".75" : x;
      text += std::to_string(id) + "," + easting + "," + std::to_string(3391000 + p * 3) + ".5," +
              std::to_string(p % 13) + ".25," + (p % 2 == 0 ? "GND" : "TOE") + "\n";
    }
  }
  return text;
}

std::vector<std::string> ReadAll(OGRLayer& layer) {
  std::vector<std::string> features;
  layer.ResetReading();
  while (OGRFeature* feature = layer.GetNextFeature()) {
    features.push_back(Describe(*feature));
    OGRFeature::DestroyFeature(feature);
  }
  return features;
}

class OgrDriverReadAhead : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(folder_ / "long.em", LongSurvey());
    dataset_ = OpenWithDriver((folder_ / "long.em").string());
    ASSERT_TRUE(dataset_);
    points_ = dataset_->GetLayerByName("long.em CrossSectionPoints");
    sections_ = dataset_->GetLayerByName("long.em CrossSections");
    ASSERT_TRUE(points_ && sections_);
  }

  // The layer's features read with every read on this thread.
  std::vector<std::string> ReadInPlace(OGRLayer& layer) {
    CPLConfigOptionSetter inPlace("VELDRANE_READ_AHEAD", "NO", true);
    return ReadAll(layer);
  }

  ScratchFolder folder_;
  GDALDatasetUniquePtr dataset_;
  OGRLayer* points_ = nullptr;
  OGRLayer* sections_ = nullptr;
};

TEST_F(OgrDriverReadAhead, ReadAheadYieldsTheFeaturesReadInPlace) {
  const std::vector<std::string> inPlace = ReadInPlace(*points_);
  ASSERT_EQ(inPlace.size(), static_cast<std::size_t>(kSections * kPointsPerSection));
  EXPECT_EQ(ReadAll(*points_), inPlace);
  // A second pass reads ahead again.
  EXPECT_EQ(ReadAll(*points_), inPlace);
}

TEST_F(OgrDriverReadAhead, FiltersAndIgnoredFieldsApplyToFeaturesReadAhead) {
  // A spatial filter over the second half of the sections and an attribute
  // filter that drops half the points.
  points_->SetSpatialFilterRect(3391000, 690000 + 30 * 100 - 1, 3391500, 690000 + kSections * 100);
  ASSERT_EQ(points_->SetAttributeFilter("Code = 'GND'"), OGRERR_NONE);
  const char* ignored[] = {"PointTag", "OGR_GEOMETRY", nullptr};
  ASSERT_EQ(points_->SetIgnoredFields(ignored), OGRERR_NONE);
  const std::vector<std::string> inPlace = ReadInPlace(*points_);
  EXPECT_EQ(inPlace.size(), static_cast<std::size_t>(30 * kPointsPerSection / 2));
  EXPECT_EQ(ReadAll(*points_), inPlace);
}

TEST_F(OgrDriverReadAhead, APassReadAheadLeavesTheDatasetUsableAndCanBeRestartedOrClosed) {
  const std::vector<std::string> all = ReadInPlace(*points_);
  const std::vector<std::string> sections = ReadInPlace(*sections_);
  points_->ResetReading();
  std::vector<std::string> pass;
  for (int i = 0; i < 6000; ++i) {
    std::unique_ptr<OGRFeature> feature(points_->GetNextFeature());
    ASSERT_TRUE(feature);
    pass.push_back(Describe(*feature));
  }
  // Random reads, counts, extents and the file's other classes in between.
  std::unique_ptr<OGRFeature> tenth(points_->GetFeature(10));
  ASSERT_TRUE(tenth);
  EXPECT_EQ(Describe(*tenth), all[10]);
  EXPECT_EQ(points_->GetFeatureCount(), static_cast<GIntBig>(all.size()));
  OGREnvelope extent;
  EXPECT_EQ(points_->GetExtent(&extent), OGRERR_NONE);
  EXPECT_EQ(ReadAll(*sections_), sections);
  while (OGRFeature* feature = points_->GetNextFeature()) {
    pass.push_back(Describe(*feature));
    OGRFeature::DestroyFeature(feature);
  }
  EXPECT_EQ(pass, all);

  // A pass left half way can be restarted, or closed with the dataset.
  points_->ResetReading();
  for (int i = 0; i < 5000; ++i) OGRFeature::DestroyFeature(points_->GetNextFeature());
  points_->ResetReading();
  std::unique_ptr<OGRFeature> first(points_->GetNextFeature());
  ASSERT_TRUE(first);
  EXPECT_EQ(Describe(*first), all.front());
  for (int i = 0; i < 5000; ++i) OGRFeature::DestroyFeature(points_->GetNextFeature());
  dataset_.reset();
}

}  // namespace
}  // namespace veldrane::ogr::test
