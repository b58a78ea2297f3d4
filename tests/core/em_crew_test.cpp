// Crew ("#C"), equipment ("#E", "#I") and weather ("#W") records.
#include <gtest/gtest.h>

#include "model/notifier.h"
#include "tests/core/capturing_notifier.h"
#include "tests/core/em_test_support.h"

namespace veldrane::test {
namespace {

using EMCrewTest = EMFileTest;

TEST_F(EMCrewTest, CrewMembersAreKeyedByNameInAnyCase) {
  auto s = Read("#C01 SMITH\n#C03 smith\n#C02 JONES\n#C07 LEE\n");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].text, "Duplicate crew member ignored: smith");
  EXPECT_EQ(errors_[0].severity, 0);
  EXPECT_EQ(errors_[0].line, 2);
  auto crew = s->CrewMembers();
  ASSERT_EQ(crew->Size(), 3);
  EXPECT_EQ(crew->GetItem(0)->Name(), "SMITH");
  EXPECT_EQ(crew->GetItem(0)->Assignment(), "Party Chief");
  EXPECT_EQ(crew->GetItem(1)->Assignment(), "Instrument Man");
  EXPECT_EQ(crew->GetItem(2)->Assignment(), "Other");
  EXPECT_EQ(crew->GetItem(3), nullptr);
}

TEST_F(EMCrewTest, EquipmentItemsCloseAtTheNextItemAndAtTheEnd) {
  auto s = Read(
      "#E02 123\n#E01 TOTAL STATION\n#E02 123\n#E03 ABC\n#E10 first note\n#E11 second note\n#E05 x\n#EXY z\n"
      "#I01 LEVEL\n#I02 9\n#E01 TOTAL STATION\n#E02 123\n#E03 ABC\n#E10 first note\n#E11 second note\n");
  ASSERT_EQ(errors_.size(), 4u);
  EXPECT_EQ(errors_[0].text, "No Equipment initializer record (#E01) found");
  EXPECT_EQ(errors_[0].severity, 1);
  EXPECT_EQ(errors_[1].text, "Unrecognized Equipment Record");
  EXPECT_EQ(errors_[1].severity, 0);
  EXPECT_EQ(errors_[2].text, "Invalid survey code: #EXY");
  EXPECT_EQ(errors_[2].severity, 1);
  // The repeated item is found equal when the read ends.
  EXPECT_EQ(errors_[3].text, "Duplicate equipment ignored");
  EXPECT_EQ(errors_[3].line, 15);
  auto items = s->Equipment();
  ASSERT_EQ(items->Size(), 2);
  EXPECT_EQ(items->GetItem(0)->Instrument(), "TOTAL STATION");
  EXPECT_EQ(items->GetItem(0)->SerialNumber(), "123");
  EXPECT_EQ(items->GetItem(0)->Model(), "ABC");
  EXPECT_EQ(items->GetItem(0)->Description(), "first note second note ");
  EXPECT_EQ(items->GetItem(1)->Instrument(), "LEVEL");
  EXPECT_EQ(items->GetItem(1)->Description(), "");
}

TEST_F(EMCrewTest, WeatherObservationsCloseAtEachNewSurveyDate) {
  auto s = Read(
      "#H02 3/1/2023\n#W01 75\n#W05 10 MPH\n#H02 3/1/2023\n#W01 75\n#W05 10 MPH\n#H02 3/2/2023\n#W01 76\n");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].text, "Duplicate weather observation from line 6 ignored.");
  EXPECT_EQ(errors_[0].line, 7);
  EXPECT_EQ(errors_[0].severity, 0);
  auto weather = s->Weather();
  ASSERT_EQ(weather->Size(), 2);
  EXPECT_EQ(weather->GetItem(0)->Temperature(), "75");
  EXPECT_EQ(weather->GetItem(0)->WindSpeed(), "10 MPH");
  EXPECT_EQ(weather->GetItem(0)->TimeStamp(), Date(2023, 3, 1));
  EXPECT_EQ(weather->GetItem(1)->Temperature(), "76");
  EXPECT_EQ(weather->GetItem(1)->TimeStamp(), Date(2023, 3, 2));
}

TEST_F(EMCrewTest, UndefinedObservationStaysOpenUntilTheEnd) {
  auto s = Read("#H02 3/1/2023\n#H10 FB\n#W09 something\n#H02 3/2/2023\n#W03 80%\n");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].text, "Unrecognized Record");
  EXPECT_EQ(errors_[0].severity, 0);
  auto weather = s->Weather();
  ASSERT_EQ(weather->Size(), 1);
  EXPECT_EQ(weather->GetItem(0)->Humidity(), "80%");
  EXPECT_EQ(weather->GetItem(0)->FieldBook(), "FB");
  // Stamped again with the last survey date when the read ends.
  EXPECT_EQ(weather->GetItem(0)->TimeStamp(), Date(2023, 3, 2));
}

TEST(EMValueEqualityTest, EqualsComparesTheDocumentedValuesOnly) {
  EMWeather a, b;
  a.SetTemperature("70");
  b.SetTemperature("70");
  b.SetFieldBook("other");
  EXPECT_TRUE(a.Equals(&b));
  b.SetTimeStamp(DateTime::Zero());
  EXPECT_FALSE(a.Equals(&b));

  EMEquipment e1, e2;
  e1.SetInstrument("X");
  e2.SetInstrument("x");
  EXPECT_FALSE(e1.Equals(&e2));
  CapturingNotifier notifier;
  ScopedNotifier scope(&notifier);
  EXPECT_FALSE(e1.Equals(&a));
  ASSERT_EQ(notifier.texts.size(), 1u);
  EXPECT_EQ(notifier.texts[0], "Not type of Equipment");

  EMCrewMember c1, c2;
  c1.SetName("A");
  c2.SetName("A");
  c2.SetAssignment("Rodman");
  EXPECT_FALSE(c1.Equals(&c2));
  c1.SetAssignment("Rodman");
  EXPECT_TRUE(c1.Equals(&c2));
  EXPECT_FALSE(c1.Equals(&a));
}

}  // namespace
}  // namespace veldrane::test
