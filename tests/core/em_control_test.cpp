// Benchmarks ("#V", "#T") and gage readings ("#G").
#include <gtest/gtest.h>

#include "model/constants.h"
#include "tests/core/em_test_support.h"

namespace veldrane::test {
namespace {

using EMBenchmarkTest = EMFileTest;

TEST_F(EMBenchmarkTest, PermanentBenchmarkRecords) {
  auto s = Read(
      "#H02 3/1/2023\n#H10 FB\n#H11 9\n#V04 NAVD88\n#V02 10.5\n#V01 A\n#V02 1.0\n#V02 2.0\n#V03 2004\n#V05 Good\n"
      "#V06 1.1\n#V07 5000.5, 2000.25\n#V08 AB1234\n#V10 0.3\n#V11 -0.4\n#V12 1983-2001\n#V15 ignored\n"
      "#V20 first note\n#V21 second\n#V05 Bad\n#V07 1 2\n");
  ASSERT_EQ(errors_.size(), 4u);
  EXPECT_EQ(errors_[0].text, "Permanent benchmark record must be preceded by #V01 record : 10.5");
  EXPECT_EQ(errors_[0].severity, 1);
  EXPECT_EQ(errors_[0].line, 5);
  EXPECT_EQ(errors_[1].text, "Duplicate #V02 record ignored for A");
  EXPECT_EQ(errors_[1].severity, 0);
  EXPECT_EQ(errors_[1].line, 8);
  EXPECT_EQ(errors_[2].text, "Duplicate #V05 record ignored for A");
  EXPECT_EQ(errors_[3].text, "Duplicate #V07 record ignored for A");
  EXPECT_EQ(s->VerticalDatum(), "NAVD88");
  EXPECT_EQ(s->Epoch(), "2004");
  auto bms = Collect(s->VerticalControls());
  ASSERT_EQ(bms.size(), 1u);
  auto& a = bms[0];
  EXPECT_EQ(a->Name(), "A");
  EXPECT_TRUE(a->IsPermanent());
  EXPECT_EQ(a->DocumentedElevation(), 1.0);
  EXPECT_EQ(a->Epoch(), "2004");
  EXPECT_EQ(a->VerticalDatum(), "");  // "#V04" came before the benchmark
  EXPECT_EQ(a->Condition(), "Good");
  EXPECT_EQ(a->MeasuredElevation(), 1.1);
  EXPECT_EQ(a->Northing(), 5000.5);
  EXPECT_EQ(a->Easting(), 2000.25);
  EXPECT_EQ(a->PID(), "AB1234");
  EXPECT_EQ(a->LocalMeanSeaLevelRelationship(), 0.3);
  EXPECT_EQ(a->MeanLowerLowWaterRelationship(), -0.4);
  EXPECT_EQ(a->NationalTidalDatumEpoch(), "1983-2001");
  EXPECT_EQ(a->Description(), " first note second");
  EXPECT_EQ(a->FieldBook(), "FB");
  EXPECT_EQ(a->PageNumber(), "9");
  EXPECT_EQ(a->SurveyDate(), Date(2023, 3, 1));
  EXPECT_EQ(a->Adjustment(), 0);
}

TEST_F(EMBenchmarkTest, BadValuesLeaveTheFieldOpenForALaterRecord) {
  auto s = Read("#V01 A\n#V02 abc\n#V02 2.0\n#V07 5000\n#V07 5000  2000\n");
  ASSERT_EQ(errors_.size(), 2u);
  EXPECT_EQ(errors_[0].text, "Invalid Numeric Value : abc");
  EXPECT_EQ(errors_[0].line, 2);
  EXPECT_EQ(errors_[1].text, "Invalid Benchmark Coordinate : 5000");
  auto a = s->VerticalControls()->GetItem(1);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->DocumentedElevation(), 2.0);
  EXPECT_EQ(a->Northing(), 5000);
  EXPECT_EQ(a->Easting(), 2000);
}

TEST_F(EMBenchmarkTest, TemporaryAndPermanentShareOneTable) {
  auto s = Read(
      "#H10 FB1\n#T01 A\n#T02 3.5\n#T09 7\n#T15 note\n#H10 FB2\n#V01 A\n#V09 0.12\n#V01 B\n#T01 B\n#T06 1\n#T06 2\n"
      "#T07 9\n#T07 1,2\n#T07 3,4\n");
  auto bms = Collect(s->VerticalControls());
  ASSERT_EQ(bms.size(), 2u);
  EXPECT_EQ(bms[0]->Name(), "A");
  EXPECT_TRUE(bms[0]->IsPermanent());
  EXPECT_EQ(bms[0]->FieldBook(), "FB2");
  EXPECT_EQ(bms[0]->DocumentedElevation(), 3.5);
  EXPECT_EQ(bms[0]->Description(), " note");
  EXPECT_EQ(bms[0]->Adjustment(), 0.12);  // the "#V09" applied to the current benchmark
  EXPECT_EQ(bms[1]->Name(), "B");
  EXPECT_TRUE(bms[1]->IsPermanent());  // "#T01 B" only selects it again
  EXPECT_EQ(bms[1]->Adjustment(), 0.12);
  EXPECT_EQ(bms[1]->MeasuredElevation(), 1);
  EXPECT_EQ(bms[1]->Northing(), 1);
  EXPECT_EQ(bms[1]->Easting(), 2);
  ASSERT_EQ(errors_.size(), 3u);
  EXPECT_EQ(errors_[0].text, "Duplicate #T06 record ignored forB");
  EXPECT_EQ(errors_[1].text, "Invalid Benchmark Coordinate for B : 9");
  EXPECT_EQ(errors_[2].text, "Duplicate #T07 record ignored forB");
  // One-based GetItem; index 0 is outside.
  auto it = s->VerticalControls();
  EXPECT_EQ(it->GetItem(0), nullptr);
  EXPECT_EQ(it->GetItem(2)->Name(), "B");
  EXPECT_EQ(it->GetItem(3), nullptr);
}

TEST_F(EMBenchmarkTest, TemporaryRecordWithoutBenchmark) {
  Read("#T02 1\n#V09 x\n");
  ASSERT_EQ(errors_.size(), 2u);
  EXPECT_EQ(errors_[0].text, "Temporary benchmark record must be preceded by #T01 record : 1");
  EXPECT_EQ(errors_[1].text, "Invalid Numeric Value : x");
}

using EMGageTest = EMFileTest;

TEST_F(EMGageTest, CompleteReadingIsRegistered) {
  auto s = Read("#H02 3/1/2023\n#H10 FB\n#V01 BM\n#G01 TIDE\n#G02 A\n#G03 2.5\n#G05 0.5\n#G06 1.5\n#G07 100 200\n"
                "#G15 some text\n#G08 x\n#G04 1030\n");
  EXPECT_TRUE(errors_.empty());
  auto gages = Collect(s->Gages());
  ASSERT_EQ(gages.size(), 1u);
  auto& g = gages[0];
  EXPECT_EQ(g->Name(), "A");
  EXPECT_EQ(g->Code(), "TIDE");
  EXPECT_EQ(g->WaterSurfaceElevation(), 2.5);
  EXPECT_EQ(g->MeasurementDate(), Date(2023, 3, 1, 10, 30));
  EXPECT_EQ(g->LocalMeanSeaLevelReference(), 0.5);
  EXPECT_EQ(g->MeanLowerLowWaterReference(), 1.5);
  EXPECT_EQ(g->Northing(), 100);
  EXPECT_EQ(g->Easting(), 200);
  EXPECT_EQ(g->Description(), "some text ");
  EXPECT_EQ(g->FieldBook(), "FB");
  EXPECT_EQ(g->Benchmark()->Name(), "BM");
  EXPECT_EQ(s->Gages()->GetItem(1).get(), g.get());
  EXPECT_EQ(s->Gages()->GetItem(0), nullptr);
}

TEST_F(EMGageTest, RecordsBeforeAnyReading) {
  Read("#G03 2.5\n#G01 TIDE\n#X01 0 0 10 0 0 A\n1 0 1 1\n2 0 2 1\n");
  // The incomplete reading is reported at the declaration and again when the
  // read ends.
  ASSERT_EQ(errors_.size(), 3u);
  EXPECT_EQ(errors_[0].text, "No previously defined #G02 record for gage record");
  EXPECT_EQ(errors_[0].line, 1);
  EXPECT_EQ(errors_[1].text,
            "Invalid gage record: a gage must define its water surface elevation (#G03) and its time (#G04) "
            "before the declaration of a feature record (#X01, #P01, #M01 or #A01).");
  EXPECT_EQ(errors_[1].line, 3);
  EXPECT_EQ(errors_[2].text, errors_[1].text);
  EXPECT_EQ(errors_[2].line, 5);
}

TEST_F(EMGageTest, DuplicatesAndTheTableKey) {
  auto s = Read(
      "#H02 3/1/2023\n#G02 A\n#G03 2.5\n#G04 1030\n#G04 1100\n#G03 9\n#G05 x\n#G05 1\n#G05 2\n"
      "#G02 A\n#G03 2.5\n#G04 10:30\n#M01 shot\n1 1 1 1\n"
      "#G02 A\n#G03 2.6\n#G04 1030\n");
  ASSERT_EQ(errors_.size(), 5u);
  EXPECT_EQ(errors_[0].text,
            "Duplicate measurement date/time (#G04) record ignored for A. (Make sure a separate #G02 record exists "
            "for each gage reading) This value will be ignored :1100");
  EXPECT_EQ(errors_[0].severity, 0);
  EXPECT_EQ(errors_[1].text,
            "Duplicate water surface elevation (#G03) record ignored for A. (Make sure a separate #G02 record "
            "exists for each gage reading) This value will be ignored :9");
  EXPECT_EQ(errors_[2].text, "Invalid Numeric Value : x");
  EXPECT_EQ(errors_[3].text, "Duplicate LMSL (#G05) record ignored for A");
  EXPECT_EQ(errors_[3].line, 9);
  EXPECT_EQ(errors_[4].text, "Duplicate gage (name/time/water surface elevation) entry");
  EXPECT_EQ(errors_[4].line, 12);
  auto gages = Collect(s->Gages());
  ASSERT_EQ(gages.size(), 2u);
  EXPECT_EQ(gages[0]->WaterSurfaceElevation(), 2.5);  // the repeated "#G03" changed nothing
  EXPECT_EQ(gages[0]->MeasurementDate(), Date(2023, 3, 1, 10, 30));
  EXPECT_EQ(gages[0]->LocalMeanSeaLevelReference(), 1);
  EXPECT_EQ(gages[1]->WaterSurfaceElevation(), 2.6);
  // The shot point carries the second reading, not the registered first one.
  auto shot = s->MiscShotPoints()->GetItem(0);
  ASSERT_NE(shot->Gage(), nullptr);
  EXPECT_NE(shot->Gage().get(), gages[0].get());
  EXPECT_EQ(shot->Gage()->LocalMeanSeaLevelReference(), kUndefinedNumber);
}

TEST_F(EMGageTest, UnreadableTimeRegistersAnUndatedReading) {
  auto s = Read("#H02 3/1/2023\n#G02 A\n#G03 1\n#G04 25:99\n#M01 x\n");
  ASSERT_EQ(errors_.size(), 3u);
  EXPECT_EQ(errors_[0].text, "Invalid Gage date/time #G04: Invalid time string : 25:99");
  EXPECT_EQ(errors_[1].line, 5);
  EXPECT_EQ(errors_[1].text.rfind("Invalid gage record", 0), 0u);
  auto gages = Collect(s->Gages());
  ASSERT_EQ(gages.size(), 1u);
  EXPECT_EQ(gages[0]->MeasurementDate(), DateTime::Undefined());
}

TEST_F(EMGageTest, FeaturesDeclaredBeforeTheTimeKeepTheirReading) {
  auto s = Read("#H02 3/1/2023\n#G02 A\n#G03 1\n#M01 x\n1 1 1 1\n#G04 0800\n#M01 y\n2 2 2 2\n");
  ASSERT_EQ(errors_.size(), 1u);  // the first "#M01" found the reading incomplete
  EXPECT_EQ(errors_[0].line, 4);
  auto shots = Collect(s->MiscShotPoints());
  ASSERT_EQ(shots.size(), 2u);
  // "#G04" dates the reading the first shot point holds, then continues
  // with a copy of it: both carry the time, through different objects.
  EXPECT_EQ(shots[0]->WaterSurfaceTime(), Date(2023, 3, 1, 8, 0));
  EXPECT_EQ(shots[1]->WaterSurfaceTime(), Date(2023, 3, 1, 8, 0));
  EXPECT_NE(shots[0]->Gage().get(), shots[1]->Gage().get());
  EXPECT_EQ(s->Gages()->GetItem(1).get(), shots[1]->Gage().get());
}

TEST_F(EMGageTest, ElevationAfterTheTimeStillBelongsToTheReading) {
  auto s = Read("#H02 3/1/2023\n#G02 A\n#G04 1030\n#G03 2.5\n#M01 x\n1 1 1 1\n");
  EXPECT_TRUE(errors_.empty());
  auto gages = Collect(s->Gages());
  ASSERT_EQ(gages.size(), 1u);
  EXPECT_EQ(gages[0]->WaterSurfaceElevation(), 2.5);
  EXPECT_EQ(gages[0]->MeasurementDate(), Date(2023, 3, 1, 10, 30));
  EXPECT_EQ(s->MiscShotPoints()->GetItem(0)->Gage().get(), gages[0].get());
}

}  // namespace
}  // namespace veldrane::test
