// Baseline records and the baseline file name, blocks handed over as text,
// very long features and long lists.
#include <gtest/gtest.h>

#include "model/constants.h"
#include "tests/core/em_test_support.h"

namespace veldrane::test {
namespace {

using EMBaselineRecordTest = EMFileTest;

TEST_F(EMBaselineRecordTest, BaselinePointsAndTheirValidation) {
  auto s = Read("#B01 1000,2000,1250.5,BL-1\n#B02 1100 2100 1400 BL 2\n#B03 1 2\n#B04 a,b,c\n#B05 1, 2, 3\n");
  ASSERT_EQ(errors_.size(), 2u);
  EXPECT_EQ(errors_[0].text, "Invalid Baseline Point data record :1 2");
  EXPECT_EQ(errors_[0].line, 3);
  EXPECT_EQ(errors_[1].text, "Invalid Baseline Point data record :a,b,c");
  const auto& points = s->BaselinePoints();
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].easting, 1000);
  EXPECT_EQ(points[0].northing, 2000);
  EXPECT_EQ(points[0].station, 1250.5);
  EXPECT_EQ(points[0].name, "BL-1");
  EXPECT_EQ(points[1].name, "BL 2");
  EXPECT_EQ(points[1].station, 1400);
  EXPECT_EQ(points[2].station, 3);
  EXPECT_EQ(points[2].name, "");
  EXPECT_EQ(s->BaselineFileName(), "");
  EXPECT_EQ(s->Baseline(), nullptr);
}

TEST_F(EMBaselineRecordTest, MissingBaselineFileIsReportedWhenTheReadEnds) {
  auto s = Read("#B00 levee.bl\n#H05 x\n");
  const std::string expected = (dir_ / "levee.bl").string();
  EXPECT_EQ(s->BaselineFileName(), expected);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].text, "Baseline File Not Found : " + expected);
  EXPECT_EQ(errors_[0].line, 2);
  EXPECT_EQ(s->Baseline(), nullptr);
  EXPECT_EQ(Drain(*s->Errors()).size(), 1u);  // reported again on every read of Baseline
}

TEST_F(EMBaselineRecordTest, BaselineNamingTheSurveyItselfIsRefused) {
  auto s = Read("#B00 X.EM\n", "\r\n", "x.em");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].text,
            "Invalid baseline filename. #B00 record can not be the same as the survey file name.");
  EXPECT_EQ(s->Baseline(), nullptr);
  auto again = Drain(*s->Errors());
  ASSERT_EQ(again.size(), 1u);
  EXPECT_EQ(again[0].text, errors_[0].text);
}

TEST(EMDispatchTest, BlocksHandedOverAsText) {
  EMSurvey s;
  s.SetLineNumber(7);
  s.DispatchRecord("#M01 posts");
  s.DispatchRecord("1 2000 1010 5\r\n; note\r\n2,2001,1011,6,FNC\r\n3 x 1 1\r\n4 2002 1012 7\r\n");
  auto shots = s.MiscShotPoints();
  ASSERT_EQ(shots->Size(), 2);
  EXPECT_EQ(shots->GetItem(1)->Point()->Code(), "FNC");
  auto errors = Drain(*s.Errors());
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].text, "Non-Numeric Northing Value in Coordinate:3 x 1 1");
  EXPECT_EQ(errors[0].line, 7);
}

using EMLargeInputTest = EMFileTest;

TEST_F(EMLargeInputTest, LongFeaturesKeepEveryPointInOrder) {
  std::string text = "#P01 0 0 0 Long\n";
  for (int i = 0; i < 9000; ++i) text += std::to_string(i + 1) + " 0 " + std::to_string(i) + " 1\n";
  text += "#X01 0 0 10000 0 0 Wide\n";
  for (int i = 9999; i >= 0; --i) text += std::to_string(i) + " 1 " + std::to_string(i) + ".5 1\n";
  auto s = Read(text);
  EXPECT_TRUE(errors_.empty());
  auto profile = Collect(s->ProfileCenterlines()->GetItem(0)->Points());
  ASSERT_EQ(profile.size(), 9000u);
  for (std::size_t i = 0; i < profile.size(); ++i) {
    ASSERT_EQ(profile[i]->Id(), static_cast<int>(i + 1));
    ASSERT_DOUBLE_EQ(profile[i]->Station(), static_cast<double>(i));
  }
  auto section = Collect(s->CrossSections()->GetItem(0)->Points());
  ASSERT_EQ(section.size(), 10000u);
  for (std::size_t i = 0; i < section.size(); ++i) {
    ASSERT_EQ(section[i]->Id(), static_cast<int>(i));
    ASSERT_DOUBLE_EQ(section[i]->Station(), i + 0.5);
    ASSERT_DOUBLE_EQ(section[i]->LateralOffset(), 1);
  }
}

TEST_F(EMLargeInputTest, ManyWeatherObservationsAndEquipmentItems) {
  std::string text = "#H02 3/1/2023\n";
  for (int i = 0; i < 30000; ++i) {
    text += "#W01 " + std::to_string(i % 20000) + "\n#H02 3/1/2023\n";
    text += "#E01 Level " + std::to_string(i % 25000) + "\n";
  }
  auto s = Read(text);
  EXPECT_EQ(s->Weather()->Size(), 20000);
  EXPECT_EQ(s->Equipment()->Size(), 25000);
  ASSERT_EQ(errors_.size(), 15000u);
  EXPECT_EQ(errors_[0].text, "Duplicate weather observation from line 60002 ignored.");
  EXPECT_EQ(errors_[0].line, 60003);
}

TEST(EMEqualityKeyTest, KeysAgreeWithEquals) {
  EMWeather a, b;
  a.SetTemperature("ab");
  a.SetPressure("c");
  b.SetTemperature("a");
  b.SetPressure("bc");
  EXPECT_FALSE(a.Equals(&b));
  EXPECT_NE(a.EqualityKey(), b.EqualityKey());
  b.SetTemperature("ab");
  b.SetPressure("c");
  b.SetFieldBook("not compared");
  EXPECT_TRUE(a.Equals(&b));
  EXPECT_EQ(a.EqualityKey(), b.EqualityKey());
  b.SetTimeStamp(DateTime::Zero());
  EXPECT_NE(a.EqualityKey(), b.EqualityKey());

  EMEquipment e, f;
  e.SetInstrument("x");
  e.SetModel("1");
  f.SetInstrument("x1");
  EXPECT_FALSE(e.Equals(&f));
  EXPECT_NE(e.EqualityKey(), f.EqualityKey());
}

}  // namespace
}  // namespace veldrane::test
