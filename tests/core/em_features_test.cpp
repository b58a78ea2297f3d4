// Cross sections, profiles, miscellaneous shot points and the coordinate
// lines that fill them.
#include <gtest/gtest.h>

#include "model/constants.h"
#include "tests/core/em_test_support.h"

namespace veldrane::test {
namespace {

using EMCrossSectionTest = EMFileTest;

TEST_F(EMCrossSectionTest, DeclarationAndPointsOrderedAlongTheRangeLine) {
  auto s = Read(
      "#H02 3/1/2023\n#H10 FB\n#H11 12\n"
      "#X01 1000 2000 1100 2000 10+00 R-1 left\n"
      "1 2003 1050 5\n"     // 50 along, 3 to the left
      "2 1998 1010 6\n"     // 10 along, 2 to the right
      "3 2000 1100 7\n");   // at the end of the line
  EXPECT_TRUE(errors_.empty());
  auto sections = Collect(s->CrossSections());
  ASSERT_EQ(sections.size(), 1u);
  auto& cs = sections[0];
  EXPECT_EQ(cs->StartX(), 1000);
  EXPECT_EQ(cs->StartY(), 2000);
  EXPECT_EQ(cs->StopX(), 1100);
  EXPECT_EQ(cs->StopY(), 2000);
  EXPECT_EQ(cs->Station(), 1000);
  EXPECT_EQ(cs->AltName(), "R-1 left");
  EXPECT_EQ(cs->GridAzimuth(), 90);
  EXPECT_EQ(cs->GeodeticAzimuth(), kUndefinedNumber);
  EXPECT_EQ(cs->FieldBook(), "FB");
  EXPECT_EQ(cs->PageNumber(), "12");
  EXPECT_EQ(cs->SurveyDate(), Date(2023, 3, 1));
  EXPECT_EQ(cs->WaterSurfaceElevation(), kUndefinedNumber);
  EXPECT_EQ(cs->WaterSurfaceTime(), DateTime::Undefined());
  EXPECT_EQ(cs->Gage(), nullptr);
  auto points = Collect(cs->Points());
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0]->Id(), 2);
  EXPECT_DOUBLE_EQ(points[0]->Station(), 10);
  EXPECT_DOUBLE_EQ(points[0]->LateralOffset(), 2);
  EXPECT_EQ(points[1]->Id(), 1);
  EXPECT_DOUBLE_EQ(points[1]->Station(), 50);
  EXPECT_DOUBLE_EQ(points[1]->LateralOffset(), 3);
  EXPECT_EQ(points[2]->Id(), 3);
  EXPECT_DOUBLE_EQ(points[2]->Station(), 100);
  EXPECT_DOUBLE_EQ(points[2]->Z(), 7);
  // A second iterator hands out points with the same values.
  auto again = cs->Points()->GetItem(0);
  EXPECT_EQ(again->Id(), 2);
  EXPECT_DOUBLE_EQ(again->Station(), 10);
  EXPECT_DOUBLE_EQ(again->LateralOffset(), 2);
}

TEST_F(EMCrossSectionTest, ShortDeclarationLeavesNoSectionOpen) {
  auto s = Read("#X01 1000 2000 1100 2000\n1 2000 1010 5\n2 2000 1020 5\n#H05 x\n");
  ASSERT_EQ(errors_.size(), 3u);
  EXPECT_EQ(errors_[0].text,
            "Invalid #X01 data record. #X01 records must contain a StartX, StartY, StopX, StopY, Station, and Name "
            "separated by spaces.");
  EXPECT_EQ(errors_[0].line, 1);
  // With no feature open the coordinates are reported, once per line, at the
  // block's last line.
  EXPECT_EQ(errors_[1].text, "Unexpected error, no data record available in which to put surveyed point");
  EXPECT_EQ(errors_[1].line, 3);
  EXPECT_EQ(errors_[2].line, 3);
  EXPECT_EQ(s->CrossSections()->Size(), 0);
}

TEST_F(EMCrossSectionTest, RecordsOutOfOrderAndInvalidCodes) {
  Read("#X02 Range 5\n#X03 1030\n#X04 2.5\n#X5A\n#X05 ignored\n");
  ASSERT_EQ(errors_.size(), 4u);
  EXPECT_EQ(errors_[0].text,
            "Range Name (#X02) specified out of order. #X02 records must be recorded after #X01 records.");
  EXPECT_EQ(errors_[1].text,
            "Water Surface Time (#X03) specified out of order. #X03 records must be recorded after #X01 records.");
  EXPECT_EQ(errors_[2].text,
            "Water Surface Elevation (#X04) specified out of order. #X04 records must be recorded after #X01 "
            "records.");
  EXPECT_EQ(errors_[3].text, "Invalid survey code: #X5A");
  EXPECT_EQ(errors_[3].line, 4);
  EXPECT_EQ(errors_[3].severity, 1);
}

TEST_F(EMCrossSectionTest, DescriptionLinesAccumulateUntilTheFirstPoint) {
  auto s = Read(
      "#X12 Levee toe\n#X13 at station 5\n#X01 0 0 10 0 0 A\n1 0 1 1\n#X14 late note\n2 0 2 1\n");
  auto cs = s->CrossSections()->GetItem(0);
  ASSERT_NE(cs, nullptr);
  // The accumulator is emptied by the first point; a later note is only
  // given at the next point.
  EXPECT_EQ(cs->Description(), "late note");
  auto s2 = Read("#X01 0 0 10 0 0 A\n#X12 Levee toe\n#X13 at station 5\n1 0 1 1\n2 0 2 1\n");
  EXPECT_EQ(s2->CrossSections()->GetItem(0)->Description(), "Levee toe at station 5");
}

TEST_F(EMCrossSectionTest, OwnWaterSurfaceReplacesTheGage) {
  auto s = Read(
      "#H02 3/1/2023\n#G02 GA\n#G03 1.5\n#G04 0800\n"
      "#X01 0 0 10 0 0 A\n#X03 0930\n#X04 2.5\n1 0 1 1\n2 0 2 1\n"
      "#X01 0 0 10 0 0 B\n#X03 25:99\n1 0 1 1\n2 0 2 1\n"
      "#X01 0 0 10 0 0 C\n1 0 1 1\n2 0 2 1\n");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].text, "Invalid #X03 Water Surface Time: Invalid time string : 25:99");
  EXPECT_EQ(errors_[0].line, 11);
  auto sections = Collect(s->CrossSections());
  ASSERT_EQ(sections.size(), 3u);
  EXPECT_EQ(sections[0]->WaterSurfaceTime(), Date(2023, 3, 1, 9, 30));
  EXPECT_EQ(sections[0]->SurveyDate(), Date(2023, 3, 1, 9, 30));
  EXPECT_DOUBLE_EQ(sections[0]->WaterSurfaceElevation(), 2.5);
  EXPECT_EQ(sections[0]->Gage(), nullptr);
  // An unreadable time keeps the survey date itself.
  EXPECT_EQ(sections[1]->WaterSurfaceTime(), Date(2023, 3, 1));
  EXPECT_EQ(sections[1]->WaterSurfaceElevation(), kUndefinedNumber);
  EXPECT_EQ(sections[1]->Gage(), nullptr);
  ASSERT_NE(sections[2]->Gage(), nullptr);
  EXPECT_EQ(sections[2]->Gage()->Name(), "GA");
  EXPECT_DOUBLE_EQ(sections[2]->WaterSurfaceElevation(), 1.5);
  EXPECT_EQ(sections[2]->WaterSurfaceTime(), Date(2023, 3, 1, 8, 0));
}

TEST_F(EMCrossSectionTest, SectionsWithTooFewPointsAreRemoved) {
  auto s = Read("#X01 0 0 10 0 0 A\n1 0 1 1\n2 5000\n3 0 3 1\n#X01 0 0 10 0 0 B\n1 0 1 1\n2 0 2 1\n");
  ASSERT_EQ(errors_.size(), 2u);
  EXPECT_EQ(errors_[0].text, "Coordinate has less than the minimum # of attributes :2 5000");
  EXPECT_EQ(errors_[0].line, 4);
  EXPECT_EQ(errors_[1].text, "Prior Cross-section must have at least two points.");
  EXPECT_EQ(errors_[1].line, 5);
  auto sections = Collect(s->CrossSections());
  ASSERT_EQ(sections.size(), 1u);
  EXPECT_EQ(sections[0]->AltName(), "B");
}

TEST_F(EMCrossSectionTest, DegenerateRangeLineWarnsAndIsNotListed) {
  auto s = Read("#X01 5 5 5 5 0 A\n1 0 1 1\n2 0 2 1\n#X01 5 0 5 10 0 N\n1 0 1 1\n2 0 2 1\n");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].text, "Cross-section range line end points must have different coordinates");
  EXPECT_EQ(errors_[0].line, 1);
  auto sections = Collect(s->CrossSections());
  ASSERT_EQ(sections.size(), 1u);
  EXPECT_EQ(sections[0]->AltName(), "N");
  EXPECT_EQ(sections[0]->GridAzimuth(), kUndefinedNumber);  // due north
}

TEST_F(EMCrossSectionTest, PointsWithoutIdOrWithUndefinedCoordinatesAreDropped) {
  auto s = Read("#X01 0 0 10 0 0 A\n9999999 0 1 1\n1 0 2 1\n2 0.0001 3 1\n3 0 4 1\n");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].text, "Non-Numeric Value in Coordinate");
  auto points = Collect(s->CrossSections()->GetItem(0)->Points());
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0]->Id(), 1);
  EXPECT_EQ(points[1]->Id(), 3);
}

TEST_F(EMCrossSectionTest, CodesKeepTheirSeparatorAndTakeCustomDescriptions) {
  Write("CODES.DAT", "TOE;Toe of slope\r\nTOE,A;Toe A\r\n");
  auto s = Read("#M01 x\nP1,2000.0,5000.0,10.0,TOE,A\nP2 2000 5000 10 TOE   A\nP3 2000 5000 10 TOE\n"
                "P4 2000 5000 10\n");
  EXPECT_TRUE(errors_.empty());
  auto shots = Collect(s->MiscShotPoints());
  ASSERT_EQ(shots.size(), 4u);
  EXPECT_EQ(shots[0]->Point()->Code(), "TOE,A");
  EXPECT_EQ(shots[0]->Point()->CodeDescription(), "Toe A");
  EXPECT_EQ(shots[1]->Point()->Code(), "TOE A");
  EXPECT_EQ(shots[1]->Point()->CodeDescription(), "");
  EXPECT_EQ(shots[2]->Point()->Code(), "TOE");
  EXPECT_EQ(shots[2]->Point()->CodeDescription(), "Toe of slope");
  EXPECT_EQ(shots[3]->Point()->Code(), "");
  EXPECT_TRUE(s->HasCustomCode("TOE"));
  EXPECT_EQ(s->GetCustomCode("TOE"), "Toe of slope");
  EXPECT_FALSE(s->HasCustomCode("toe"));
}

TEST_F(EMCrossSectionTest, NonNumericFieldsAreCheckedInOrderAndEndTheBlock) {
  Read("#M01 x\nP1 2000 E 1\nP2 2000 1 1\n#M01 y\nP3 N E Z\n#M01 z\nP4 1 1 Z\nP5 1 1 1\n");
  ASSERT_EQ(errors_.size(), 3u);
  EXPECT_EQ(errors_[0].text, "Non-Numeric Easting Value in Coordinate:P1 2000 E 1");
  EXPECT_EQ(errors_[0].line, 3);
  EXPECT_EQ(errors_[1].text, "Non-Numeric Northing Value in Coordinate:P3 N E Z");
  EXPECT_EQ(errors_[2].text, "Non-Numeric Elevation Value in Coordinate:P4 1 1 Z");
  EXPECT_EQ(errors_[2].line, 8);
}

using EMProfileTest = EMFileTest;

TEST_F(EMProfileTest, DeclarationPointsAndRunningStations) {
  auto s = Read("#H02 3/1/2023\n#P01 1000 2000 100 Main channel\n#P12 channel note\n"
                "1 2000 1000 5\n2 2004 1003 6\n3 2010 1003 7\n");
  EXPECT_TRUE(errors_.empty());
  auto profiles = Collect(s->ProfileCenterlines());
  ASSERT_EQ(profiles.size(), 1u);
  auto& p = profiles[0];
  EXPECT_EQ(p->AltName(), "Main channel");
  EXPECT_EQ(p->StartX(), 1000);
  EXPECT_EQ(p->StartY(), 2000);
  EXPECT_EQ(p->Station(), 100);
  EXPECT_EQ(p->SurveyDate(), Date(2023, 3, 1));
  EXPECT_EQ(p->Description(), "channel note");
  auto points = Collect(p->Points());
  ASSERT_EQ(points.size(), 3u);
  EXPECT_DOUBLE_EQ(points[0]->Station(), 100);
  EXPECT_DOUBLE_EQ(points[1]->Station(), 105);
  EXPECT_DOUBLE_EQ(points[2]->Station(), 111);
}

TEST_F(EMProfileTest, BadDeclarationsAndShortProfiles) {
  auto s = Read("#P01 1000 2000\n#P03 0930\n#P04 1\n#PZZ\n#P02 ignored\n#P01 0 0 0 One\n1 0 0 1\n#M01 m\n");
  ASSERT_EQ(errors_.size(), 5u);
  EXPECT_EQ(errors_[0].text, "Invalid #P01 Profile Declaration '1000 2000'");
  EXPECT_EQ(errors_[1].text,
            "Water Surface Time (#P03) specified out of order. #P03 records must be recorded after #P01 records.");
  EXPECT_EQ(errors_[2].text,
            "Water Surface Elevation (#P04) specified out of order. #P04 records must be recorded after #P01 "
            "records.");
  EXPECT_EQ(errors_[3].text, "Invalid survey code: #PZZ");
  EXPECT_EQ(errors_[4].text, "Prior Profile must have at least two points.");
  EXPECT_EQ(errors_[4].line, 8);
  EXPECT_EQ(s->ProfileCenterlines()->Size(), 0);
}

TEST_F(EMProfileTest, UnreadableWaterSurfaceTimeKeepsTheSurveyDate) {
  auto s = Read("#H02 3/1/2023\n#P01 0 0 0 A\n#P03 99\n#P04 3.25\n1 0 0 1\n2 0 1 1\n");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].text, "Invalid #P03 Water Surface Time: Invalid time string : 99");
  auto p = s->ProfileCenterlines()->GetItem(0);
  EXPECT_EQ(p->WaterSurfaceTime(), Date(2023, 3, 1));
  EXPECT_DOUBLE_EQ(p->WaterSurfaceElevation(), 3.25);
  EXPECT_EQ(p->Gage(), nullptr);
}

using EMShotPointTest = EMFileTest;

TEST_F(EMShotPointTest, EachPointIsAShotPointWithTheDeclarationsDescription) {
  auto s = Read("#M01 Fence corner\n1 10 20 1\n2 11 21 2\n3 12 22 3\n#M01 Gate\n#M02 post\n4 13 23 4\n"
                "#M01 Well\n5 14 24 5\n");
  EXPECT_TRUE(errors_.empty());
  auto shots = Collect(s->MiscShotPoints());
  ASSERT_EQ(shots.size(), 5u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(shots[i]->Description(), "Fence corner");
    EXPECT_EQ(shots[i]->Point()->Id(), i + 1);
  }
  EXPECT_NE(shots[0].get(), shots[1].get());
  EXPECT_DOUBLE_EQ(shots[2]->Point()->X(), 22);
  EXPECT_DOUBLE_EQ(shots[2]->Point()->Y(), 12);
  EXPECT_EQ(shots[3]->Description(), "Gate post");
  EXPECT_EQ(shots[4]->Description(), "Well");
}

// Points share their code entries with the read that made them; handles to
// them, and copies of them, keep codes and adjustments after the survey and
// its features are gone.
TEST_F(EMShotPointTest, PointsKeepTheirCodesAfterTheSurveyIsGone) {
  auto s = Read("#V09 0.5\n#X01 0 0 10 0 0 X\n1 0 1 1 TOE\n2 0 2 1 TOE\n#V09 0.25\n"
                "#M01 shot\n3 10 20 10 TOE\n");
  ASSERT_TRUE(errors_.empty());
  auto handle = s->CrossSections()->GetItem(0)->Points()->GetItem(1);
  auto shot = s->MiscShotPoints()->GetItem(0)->Point();
  s.reset();
  EXPECT_EQ(handle->Code(), "TOE");
  EXPECT_DOUBLE_EQ(handle->VerticalAdjustment(), 0.5);
  EXPECT_DOUBLE_EQ(handle->Z(), 1.5);
  EXPECT_EQ(shot->Code(), "TOE");
  EXPECT_DOUBLE_EQ(shot->VerticalAdjustment(), 0.25);
  EXPECT_DOUBLE_EQ(shot->Z(), 10.25);
}

TEST_F(EMShotPointTest, FeaturesCarryTheCurrentBenchmarkGageAndAdjustment) {
  auto s = Read(
      "#H02 3/1/2023\n#H10 B1\n#V09 0.5\n#V01 A\n#G02 GA\n#G03 2.5\n#G04 1030\n"
      "#M01 shot\n1 10 20 10\n#V01 B\n#H10 B2\n#X01 0 0 10 0 0 X\n1 0 1 1\n2 0 2 1\n#P01 0 0 0 P\n1 0 1 1\n2 0 2 1\n");
  EXPECT_TRUE(errors_.empty());
  auto shot = s->MiscShotPoints()->GetItem(0);
  EXPECT_EQ(shot->Benchmark()->Name(), "A");
  EXPECT_EQ(shot->Gage()->Name(), "GA");
  EXPECT_DOUBLE_EQ(shot->WaterSurfaceElevation(), 2.5);
  EXPECT_EQ(shot->WaterSurfaceTime(), Date(2023, 3, 1, 10, 30));
  EXPECT_EQ(shot->FieldBook(), "B1");
  EXPECT_DOUBLE_EQ(shot->Point()->Z(), 10.5);
  EXPECT_DOUBLE_EQ(shot->Point()->VerticalAdjustment(), 0.5);
  auto cs = s->CrossSections()->GetItem(0);
  EXPECT_EQ(cs->Benchmark()->Name(), "B");
  EXPECT_EQ(cs->Gage()->Name(), "GA");
  EXPECT_EQ(cs->FieldBook(), "B2");
  auto p = s->ProfileCenterlines()->GetItem(0);
  EXPECT_EQ(p->Benchmark()->Name(), "B");
  EXPECT_DOUBLE_EQ(p->WaterSurfaceElevation(), 2.5);
}

}  // namespace
}  // namespace veldrane::test
