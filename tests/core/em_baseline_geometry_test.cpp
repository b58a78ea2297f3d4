// Cross sections and profiles measured against a baseline.
#include <gtest/gtest.h>

#include "model/constants.h"
#include "tests/core/em_test_support.h"

namespace veldrane::test {
namespace {

// A baseline of stationed points, as a baseline file presents it.
class FakeBaselinePoint : public ITraversePoint {
 public:
  FakeBaselinePoint(double e, double n, double s) : e_(e), n_(n), s_(s) {}
  std::int32_t TraversePointId() override { return 0; }
  double AdjustedAngle() override { return 0; }
  double AdjustedDistance() override { return 0; }
  double BackGeodeticAzimuth() override { return 0; }
  double ScaleFactor() override { return 0; }
  double Convergence() override { return 0; }
  double Latitude() override { return 0; }
  double Longitude() override { return 0; }
  double Northing() override { return n_; }
  double Easting() override { return e_; }
  double Station() override { return s_; }
  std::string StationName() override { return ""; }
  std::string AltName() override { return ""; }
  double MeasuredAngle() override { return 0; }
  double MeasuredDistance() override { return 0; }
  double ForwardGeodeticAzimuth() override { return 0; }
  double PlaneDistance() override { return 0; }
  double PlaneAzimuth() override { return 0; }

 private:
  double e_, n_, s_;
};

class FakeBaseline : public ITraverse {
 public:
  void Add(double e, double n, double s) { points_.push_back(std::make_shared<FakeBaselinePoint>(e, n, s)); }
  std::string JobNumber() override { return ""; }
  std::string OriginalFileName() override { return ""; }
  std::string HorizontalDatum() override { return ""; }
  std::string HorizontalEpoch() override { return ""; }
  double HorizontalAccuracy() override { return kUndefinedNumber; }
  std::string HorizontalAccuracyClass() override { return ""; }
  DateTime TraverseDate() override { return DateTime::Undefined(); }
  std::string FieldBook() override { return ""; }
  std::string PageNumber() override { return ""; }
  std::string Title() override { return ""; }
  std::string Projection() override { return ""; }
  std::string Units() override { return ""; }
  std::shared_ptr<ITraversePointIterator> TraversePoints() override {
    return std::make_shared<ListIterator<ITraversePointIterator, ITraversePoint, 0>>(points_);
  }
  std::shared_ptr<ISurveyErrorQueue> Errors() override { return std::make_shared<GenericSurveyErrorQueue>(); }
  std::string Comments() override { return ""; }

 private:
  std::vector<std::shared_ptr<ITraversePoint>> points_;
};

using EMBaselineGeometryTest = EMFileTest;

TEST_F(EMBaselineGeometryTest, CrossSectionsGetTheirCrossingAndPointOffsets) {
  // A baseline along y = 50; one range line crossing it at x = 20, one
  // parallel to it.
  auto baseline = std::make_shared<FakeBaseline>();
  baseline->Add(0, 50, 1000);
  baseline->Add(100, 50, 1100);
  auto s = Read("#X01 20 0 20 100 0 Across\n1 10 20 1\n2 70 20 1\n#X01 0 60 100 60 0 Along\n1 60 10 1\n2 60 20 1\n");
  ASSERT_TRUE(errors_.empty());
  s->UpdateCrossSections(baseline);
  auto errors = DrainErrors(*s->Errors());
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].description, "Cross-section (Along) does not intersect baseline");
  EXPECT_EQ(errors[0].line, -1);
  EXPECT_EQ(errors[0].severity, 0);
  auto sections = Collect(s->CrossSections());
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_DOUBLE_EQ(sections[0]->BaselineIntersectX(), 20);
  EXPECT_DOUBLE_EQ(sections[0]->BaselineIntersectY(), 50);
  auto points = Collect(sections[0]->Points());
  ASSERT_EQ(points.size(), 2u);
  EXPECT_DOUBLE_EQ(points[0]->Station(), 10);
  EXPECT_DOUBLE_EQ(points[0]->BaselineOffset(), -40);
  EXPECT_DOUBLE_EQ(points[1]->BaselineOffset(), 20);
  EXPECT_EQ(sections[1]->BaselineIntersectX(), kUndefinedNumber);
  EXPECT_EQ(Collect(sections[1]->Points())[0]->BaselineOffset(), kUndefinedNumber);
}

TEST_F(EMBaselineGeometryTest, ProfileStationsWithoutABaselineRunAlongTheProfile) {
  auto s = Read("#P01 0 0 500 P\n1 0 0 1\n2 4 3 1\n3 4 13 1\n");
  auto points = Collect(s->ProfileCenterlines()->GetItem(0)->Points());
  ASSERT_EQ(points.size(), 3u);
  EXPECT_DOUBLE_EQ(points[0]->Station(), 500);
  EXPECT_DOUBLE_EQ(points[1]->Station(), 505);
  EXPECT_DOUBLE_EQ(points[2]->Station(), 515);
}

}  // namespace
}  // namespace veldrane::test
