// The dataset helper's classes, their schemas, bounds and its failures.
#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "tests/gdal/dataset_fixture.h"

namespace veldrane {
namespace {

using test::MakePoint;
using test::SectionAlongX;
using test::SurveyDataset;

std::vector<std::string> ClassNames(SvyDatasetHelper& helper) {
  std::vector<std::string> names;
  for (std::int32_t i = 0; i < helper.ClassCount(); ++i) names.push_back(helper.ClassName(i));
  return names;
}

// One item in every collection.
void FillEveryKind(test::FakeSurvey& survey) {
  survey.crossSections = {SectionAlongX({1, 2})};
  auto profile = std::make_shared<test::FakeProfile>();
  profile->points = {MakePoint(1, 1, 1)};
  survey.profiles = {profile};
  auto area = std::make_shared<test::FakeArea>();
  area->ring->points = {MakePoint(1, 1, 1)};
  survey.areas = {area};
  survey.shots = {std::make_shared<test::FakeShot>()};
  survey.benchmarks = {std::make_shared<test::FakeBenchmark>()};
  survey.gages = {std::make_shared<test::FakeGage>()};
}

// The classes follow the survey's non-empty collections in a fixed order,
// read once (a survey that could not be read is not tried again).
TEST(DatasetClasses, FollowTheNonEmptyCollectionsInFixedOrder) {
  struct Case {
    const char* what;
    std::function<void(SurveyDataset&)> fill;
    std::vector<std::string> names;
  } cases[] = {
      {"every kind", [](SurveyDataset& d) { FillEveryKind(*d.survey); },
       {"a.em CrossSections", "a.em CrossSectionPoints", "a.em Profiles", "a.em ProfilePoints", "a.em Areas",
        "a.em AreaPoints", "a.em MiscellaneousShotPoints", "a.em Benchmarks", "a.em Gages"}},
      {"some kinds",
       [](SurveyDataset& d) {
         d.survey->gages = {std::make_shared<test::FakeGage>()};
         d.survey->benchmarks = {std::make_shared<test::FakeBenchmark>()};
         auto profile = std::make_shared<test::FakeProfile>();
         profile->points = {MakePoint(1, 1, 1)};
         d.survey->profiles = {profile};
       },
       {"a.em Profiles", "a.em ProfilePoints", "a.em Benchmarks", "a.em Gages"}},
      {"gages only", [](SurveyDataset& d) { d.survey->gages = {std::make_shared<test::FakeGage>()}; }, {"a.em Gages"}},
      {"empty", [](SurveyDataset&) {}, {}},
      {"unreadable", [](SurveyDataset& d) { d.survey = nullptr; }, {}},
  };
  for (const Case& c : cases) {
    SurveyDataset data;
    c.fill(data);
    EXPECT_EQ(ClassNames(data.helper), c.names) << c.what;
    EXPECT_EQ(data.helper.ClassName(static_cast<std::int32_t>(c.names.size())), "") << c.what;
    EXPECT_EQ(data.helper.ClassName(-1), "") << c.what;
    if (!c.names.empty()) {
      EXPECT_EQ(data.helper.ClassIndex(c.names.back()), static_cast<std::int32_t>(c.names.size()) - 1);
    }
    EXPECT_EQ(data.reads, 1) << c.what;
  }
  // A name without the file's, or no class's name at all.
  SurveyDataset gages;
  gages.survey->gages = {std::make_shared<test::FakeGage>()};
  EXPECT_EQ(gages.helper.ClassIndex("Gages"), 0);
  EXPECT_EQ(gages.helper.ClassIndex("nothing"), 0);
}

// A read that fails is reported; the class maps stay empty, but the next
// need reads again. The coordinate-system code is computed once, even by a
// read that failed. Here the first two reads fail.
TEST(DatasetClasses, AReadThatFailsIsReportedAndTriedAgainOnTheNextNeed) {
  int attempts = 0;
  auto survey = std::make_shared<test::FakeSurvey>();
  SvyDatasetHelper helper(SurveySource{[&](const std::string&) -> std::shared_ptr<ISurvey> {
                                         if (++attempts > 2) return survey;
                                         throw RaisedError(-200003, "Ordane.EMSurvey.Update", "Line Number : 3 bad");
                                       },
                                       nullptr, [](auto&&...) { return 26915; }});
  helper.SetDatasetName("a.em");
  helper.SetWorkspacePath("/nowhere");
  test::RecordingNotifier notes;
  EXPECT_EQ(helper.ClassCount(), 0);
  EXPECT_TRUE(notes.AnyContains("Line Number : 3 bad"));
  EXPECT_TRUE(notes.AnyContains("GetSurvey"));
  EXPECT_EQ(helper.ClassCount(), 0);
  EXPECT_EQ(attempts, 1);
  EXPECT_EQ(helper.CoordinateSystemCode(), 0);
  EXPECT_EQ(attempts, 2);
  EXPECT_EQ(helper.Survey(), survey);
  EXPECT_EQ(attempts, 3);
  EXPECT_EQ(helper.CoordinateSystemCode(), 0);
}

// --- schemas -----------------------------------------------------------------

TEST(DatasetSchemas, FieldCountsAndGeometryOfEverySurveyClass) {
  SurveyDataset data;
  FillEveryKind(*data.survey);
  const std::vector<std::int32_t> counts = {21, 12, 14, 10, 11, 9, 16, 18, 12};
  const std::vector<HostGeometryType> types = {
      HostGeometryType::Polyline, HostGeometryType::Point, HostGeometryType::Polyline,
      HostGeometryType::Point,    HostGeometryType::Polygon, HostGeometryType::Point,
      HostGeometryType::Point,    HostGeometryType::Point, HostGeometryType::Point};
  for (std::int32_t i = 0; i < 9; ++i) {
    const auto fields = data.helper.GetFields(i);
    ASSERT_NE(fields, nullptr);
    EXPECT_EQ(fields->FieldCount(), counts[static_cast<std::size_t>(i)]) << data.helper.ClassName(i);
    EXPECT_EQ(fields->GetField(1).GeometryDefinition()->GeometryType(), types[static_cast<std::size_t>(i)]);
    // Without a coordinate system the spatial reference is the unknown one.
    EXPECT_TRUE(fields->GetField(1).GeometryDefinition()->SpatialReference()->IsEmpty());
  }
}

// --- bounds ------------------------------------------------------------------

// The envelope unites every class's shapes (a benchmark without coordinates
// adds nothing); its minimum starts at 9999999, so coordinates all beyond it
// leave the minimum there.
TEST(DatasetBounds, UniteTheShapesOfEveryClass) {
  SurveyDataset placed, far;
  placed.survey->crossSections = {SectionAlongX({1, 2, 3}, 5)};
  auto benchmark = std::make_shared<test::FakeBenchmark>();
  benchmark->easting = -4;
  benchmark->northing = 40;
  placed.survey->benchmarks = {benchmark, std::make_shared<test::FakeBenchmark>()};
  far.survey->crossSections = {SectionAlongX({20000000, 20000001}, 30000000)};
  const struct {
    SurveyDataset& data;
    std::array<double, 4> expected;  // x min, y min, x max, y max
  } cases[] = {{placed, {-4, 5, 3, 40}}, {far, {9999999, 9999999, 20000001, 30000000}}};
  for (const auto& c : cases) {
    const auto bounds = c.data.helper.Bounds();
    ASSERT_NE(bounds, nullptr);
    EXPECT_EQ((std::array{bounds->XMin(), bounds->YMin(), bounds->XMax(), bounds->YMax()}), c.expected);
  }
}

}  // namespace
}  // namespace veldrane
