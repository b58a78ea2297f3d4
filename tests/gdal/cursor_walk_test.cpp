// Record numbering, envelope filters and positioning of the cursors, driven
// through fetches as a host does.
#include <gtest/gtest.h>

#include "plugin/container_point_cursor.h"
#include "plugin/object_cursor.h"
#include "tests/gdal/dataset_fixture.h"

namespace veldrane {
namespace {

using test::MakePoint;
using test::SectionAlongX;
using test::SurveyDataset;

constexpr std::int32_t kSections = 0;
constexpr std::int32_t kSectionPoints = 1;

// A filtered walk skips the containers whose box misses the envelope, yet
// counts their points in the OIDs (the first record is handed out
// untested). The boxes are measured once, by the first filtered fetch or
// by a full walk before it: the far section's points are never walked
// again, not even to position on a record after them.
TEST(CursorWalk, ContainersMissingTheEnvelopeAreSkippedButCountTheirPoints) {
  for (const bool walkedFirst : {false, true}) {
    SCOPED_TRACE(walkedFirst ? "after a full walk" : "measured by the filtered fetch");
    SurveyDataset data;
    auto far = SectionAlongX({100, 101, 102}, 0, 4);
    auto near = SectionAlongX({10, 11}, 0, 7);
    data.survey->crossSections = {SectionAlongX({0, 1, 2}), far, near, SectionAlongX({50}, 5, 9),
                                  SectionAlongX({10.5}, 0, 10)};
    auto row = data.Row(kSectionPoints);
    const std::int32_t idPos = data.Pos(kSectionPoints, "PointId");
    if (walkedFirst) {
      EXPECT_EQ(test::CollectOids(*data.All(kSectionPoints), *row).size(), 10u);
    }
    const auto cursor = data.In(kSectionPoints, Envelope(9.5, -1, 11.5, 1));
    std::vector<std::int32_t> oids, ids;
    while (!cursor->IsFinished()) {
      oids.push_back(cursor->QueryValues(*row));
      ids.push_back(row->Value(idPos).integer);
      try {
        cursor->NextRecord();
      } catch (const RaisedError&) {
      }
    }
    EXPECT_EQ(oids, (std::vector<std::int32_t>{0, 6, 7, 9}));
    EXPECT_EQ(ids, (std::vector<std::int32_t>{1, 7, 8, 10}));
    EXPECT_EQ(near->pointsRequests, 2);
    const auto positioned = data.helper.FetchByID(kSectionPoints, 7, data.AllOf(kSectionPoints));
    EXPECT_EQ(positioned->QueryValues(*row), 7);
    EXPECT_EQ(row->Value(idPos).integer, 8);
    EXPECT_EQ(far->pointsRequests, 1);
  }
}

TEST(CursorWalk, FetchByIdPositionsAndOidRewindsButNotBeyondTheEnd) {
  SurveyDataset data;
  data.survey->crossSections = {SectionAlongX({1, 2, 3}), SectionAlongX({4, 5}, 0, 4)};
  auto row = data.Row(kSectionPoints);
  const std::int32_t idPos = data.Pos(kSectionPoints, "PointId");
  auto cursor = data.helper.FetchByID(kSectionPoints, 4, data.AllOf(kSectionPoints));
  EXPECT_EQ(cursor->QueryValues(*row), 4);
  EXPECT_EQ(row->Value(idPos).integer, 5);

  auto& positioned = dynamic_cast<SvyCursorBase&>(*cursor);
  positioned.SetOID(2);
  EXPECT_EQ(cursor->QueryValues(*row), 2);
  EXPECT_EQ(row->Value(idPos).integer, 3);
  EXPECT_EQ(row->Value(data.Pos(kSectionPoints, "CrossSectionOID")).integer, 0);
  positioned.SetOID(3);
  EXPECT_EQ(row->Value(idPos).integer, 3);  // untouched until the next QueryValues
  EXPECT_EQ(cursor->QueryValues(*row), 3);
  EXPECT_EQ(row->Value(idPos).integer, 4);
  // Beyond the last record: the end, reported.
  test::RecordingNotifier notes;
  EXPECT_TRUE(data.helper.FetchByID(kSectionPoints, 9, data.AllOf(kSectionPoints))->IsFinished());
  EXPECT_TRUE(notes.AnyContains("No next record"));
}

TEST(CursorWalk, ShotPointsBenchmarksAndGagesFilterByTheirCoordinates) {
  SurveyDataset data;
  for (double x : {1.0, 20.0, 5.0}) {
    auto shot = std::make_shared<test::FakeShot>();
    shot->point = MakePoint(x, 1, 0);
    data.survey->shots.push_back(shot);
  }
  auto unplaced = std::make_shared<test::FakeBenchmark>();
  unplaced->easting = 5;  // northing undefined: no shape, never within
  auto placed = std::make_shared<test::FakeBenchmark>();
  placed->easting = 5;
  placed->northing = 1;
  data.survey->benchmarks = {placed, unplaced, placed};
  // Shots are class 0 and benchmarks class 1, in the order DatasetClasses pins.
  const Envelope box(2, 0, 10, 2);
  auto shotRow = data.Row(0);
  EXPECT_EQ(test::CollectOids(*data.In(0, box), *shotRow), (std::vector<std::int32_t>{0, 2}));
  auto benchmarkRow = data.Row(1);
  EXPECT_EQ(test::CollectOids(*data.In(1, box), *benchmarkRow), (std::vector<std::int32_t>{0, 2}));
}

TEST(CursorWalk, EmptyContainersHoldNoRecords) {
  SurveyDataset data;
  auto area = std::make_shared<test::FakeArea>();
  area->ring->points = {MakePoint(0, 0, 1, 0, 1), MakePoint(4, 0, 1, 0, 2)};
  auto emptyHole = std::make_shared<test::FakeRing>();
  auto hole = std::make_shared<test::FakeRing>();
  hole->points = {MakePoint(1, 1, 1, 0, 3)};
  area->ring->inner = {emptyHole, hole};
  data.survey->areas = {area};
  auto row = data.Row(1);
  EXPECT_EQ(test::CollectOids(*data.All(1), *row), (std::vector<std::int32_t>{0, 1, 2}));
}

}  // namespace
}  // namespace veldrane
