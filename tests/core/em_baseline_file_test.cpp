// Baseline files read as traverses: station notation of the baseline
// points, the members answered from the baseline file, and a survey that
// names its baseline file getting crossings and offsets from it.
#include <gtest/gtest.h>

#include "model/constants.h"
#include "readers/em/em_baseline.h"
#include "readers/em/em_baseline_point.h"
#include "readers/survey_factory.h"
#include "tests/core/em_test_support.h"

namespace veldrane::test {
namespace {

TEST(EMBaselinePointTest, StationNotation) {
  const auto notation = &EMBaselinePoint::StationNotation;
  EXPECT_EQ(notation(1250.5), "12+50.50");
  EXPECT_EQ(notation(1205), "12+05.00");
  EXPECT_EQ(notation(1000), "10+00.00");
  EXPECT_EQ(notation(0), "0+00.00");
  EXPECT_EQ(notation(5.25), "0+05.25");
  EXPECT_EQ(notation(123456.78), "1234+56.78");
  // Exact halves: 1249.5 rounds to 1250 (even), still 12 hundreds.
  EXPECT_EQ(notation(1249.5), "12+49.50");
  EXPECT_EQ(notation(1251.5), "12+51.50");
  // Just below a hundred: rounding the station would give 13 hundreds and a
  // negative remainder; the notation keeps the remainder in 00.00 .. 99.99.
  EXPECT_EQ(notation(1299.5), "12+99.50");
  EXPECT_EQ(notation(99.994), "0+99.99");
  EXPECT_EQ(notation(99.996), "1+00.00");
  EXPECT_EQ(notation(1299.999), "13+00.00");
  // Before the origin: the distance's notation with a minus sign.
  EXPECT_EQ(notation(-1250.5), "-12+50.50");
  EXPECT_EQ(notation(-5), "-0+05.00");
  EXPECT_EQ(notation(-0.001), "0+00.00");
}

using EMBaselineFileTest = EMFileTest;

TEST_F(EMBaselineFileTest, BaselineFileOpensAsTraverse) {
  const auto path = Write("levee.bl",
                              "#H05 J-77\r\n#H04 NAD83\r\n#H06 Feet\r\n#H07 1702\r\n#H02 03/04/2021\r\n#H10 FB 9\r\n"
                              "#H17 +-0.05\r\n#H21 Levee baseline\r\n#B01 1000,2000,1250.5,BL-1\r\n"
                              "#B02 1100 2000 1350.5 BL 2\r\n#B03 oops\r\n");
  auto traverse = OpenTraverseFile(path);
  ASSERT_NE(traverse, nullptr);
  EXPECT_EQ(traverse->JobNumber(), "J-77");
  EXPECT_EQ(traverse->HorizontalDatum(), "NAD83");
  EXPECT_EQ(traverse->Units(), "Feet");
  EXPECT_EQ(traverse->Projection(), "1702");
  EXPECT_EQ(traverse->FieldBook(), "FB 9");
  EXPECT_EQ(traverse->Title(), "Levee baseline");
  EXPECT_DOUBLE_EQ(traverse->HorizontalAccuracy(), 0.05);
  EXPECT_EQ(traverse->TraverseDate(), *DateTime::FromDate(2021, 3, 4));
  auto points = Collect(traverse->TraversePoints());
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0]->Easting(), 1000);
  EXPECT_EQ(points[0]->Northing(), 2000);
  EXPECT_EQ(points[0]->Station(), 1250.5);
  EXPECT_EQ(points[0]->StationName(), "12+50.50");
  EXPECT_EQ(points[0]->AltName(), "BL-1");
  EXPECT_EQ(points[1]->StationName(), "13+50.50");
  EXPECT_EQ(points[1]->AltName(), "BL 2");
  // The bad record is in the baseline's own queue.
  auto errors = Drain(*traverse->Errors());
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].text, "Invalid Baseline Point data record :oops");
  EXPECT_EQ(errors[0].line, 11);
}

TEST_F(EMBaselineFileTest, SurveyGetsCrossingsAndOffsetsFromItsBaselineFile) {
  // Baseline along y = 50 from station 1000; one range line across it at
  // x = 20, one parallel to it.
  Write("levee.bl", "#B01 0,50,1000,A\r\n#B02 100,50,1100,B\r\n#B03 bad\r\n");
  auto s = Read("#B00 levee.bl\n#X01 20 0 20 100 0 Across\n1 10 20 1\n2 70 20 1\n"
                "#X01 0 60 100 60 0 Along\n1 60 10 1\n2 60 20 1\n");
  ASSERT_EQ(errors_.size(), 1u);  // the baseline file's bad record is not here
  EXPECT_EQ(errors_[0].text, "Cross-section (Along) does not intersect baseline");
  EXPECT_EQ(errors_[0].line, -1);
  EXPECT_EQ(errors_[0].severity, kSeverityWarning);

  auto sections = Collect(s->CrossSections());
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_DOUBLE_EQ(sections[0]->BaselineIntersectX(), 20);
  EXPECT_DOUBLE_EQ(sections[0]->BaselineIntersectY(), 50);
  auto points = Collect(sections[0]->Points());
  ASSERT_EQ(points.size(), 2u);
  EXPECT_DOUBLE_EQ(points[0]->BaselineOffset(), -40);
  EXPECT_DOUBLE_EQ(points[1]->BaselineOffset(), 20);
  EXPECT_EQ(sections[1]->BaselineIntersectX(), kUndefinedNumber);

  auto baseline = s->Baseline();
  ASSERT_NE(baseline, nullptr);
  EXPECT_EQ(baseline->TraversePoints()->Size(), 2);
  auto baselineErrors = Drain(*baseline->Errors());
  ASSERT_EQ(baselineErrors.size(), 1u);
  EXPECT_EQ(baselineErrors[0].text, "Invalid Baseline Point data record :bad");
}

TEST_F(EMBaselineFileTest, EmptyBaselineFileLeavesSectionsUnmeasured) {
  Write("empty.bl", "#H05 nothing\r\n");
  auto s = Read("#B00 empty.bl\n#X01 20 0 20 100 0 Across\n1 10 20 1\n2 70 20 1\n");
  EXPECT_TRUE(errors_.empty());
  EXPECT_EQ(s->CrossSections()->GetItem(0)->BaselineIntersectX(), kUndefinedNumber);
  ASSERT_NE(s->Baseline(), nullptr);
  EXPECT_EQ(s->Baseline()->TraversePoints()->Size(), 0);
}

}  // namespace
}  // namespace veldrane::test
