// The PRO (.pro) reader: shared header records, the free-format data
// section and the one profile it makes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/constants.h"
#include "readers/pro/pro_profile_centerline_iterator.h"
#include "readers/pro/pro_survey.h"
#include "tests/core/reader_test_support.h"
#include "tests/core/recording_monitor.h"

namespace veldrane {
namespace {

using test::Drain;
using test::Header;

class ProReaderTest : public test::ScratchFileTest {
 protected:
  std::shared_ptr<ProSurvey> Open(const std::vector<std::string>& lines, const std::string& eol = "\n") {
    return OpenRaw(test::JoinLines(lines, eol));
  }
  std::shared_ptr<ProSurvey> OpenRaw(const std::string& text) {
    auto survey = std::make_shared<ProSurvey>();
    survey->OpenSurvey(Write("profile.pro", text));
    return survey;
  }
  std::vector<std::shared_ptr<ISurveyPoint>> PointsOf(ProSurvey& survey) {
    std::vector<std::shared_ptr<ISurveyPoint>> out;
    auto profiles = survey.ProfileCenterlines();
    auto profile = profiles->GetNext();
    if (!profile) return out;
    auto points = profile->Points();
    while (auto p = points->GetNext()) out.push_back(p);
    return out;
  }
};

TEST_F(ProReaderTest, HeaderRecordsAreThoseOfTheFixedColumnFormat) {
  auto survey = Open({
      Header("T01", {{20, "LEVEE.PRO"}, {50, "3"}, {74, "NAD27"}}),
      Header("T02", {{20, "J-99"}, {50, "FEET"}, {74, "NGVD29"}}),
      Header("T03", {{20, "12/01/1999"}, {50, "1701"}, {74, "1987"}}),
      Header("T05", {{20, "Contractor Inc"}}),
      Header("T06", {{20, "Bayou Reach"}}),
      Header("T07", {{20, "Centerline profile"}}),
  });
  test::ExpectTexts<ISurvey>(*survey, {{&ISurvey::OriginalFileName, "LEVEE.PRO"}, {&ISurvey::SurveyOrder, "3"},
                                       {&ISurvey::HorizontalDatum, "NAD27"}, {&ISurvey::JobNumber, "J-99"},
                                       {&ISurvey::Units, "FEET"}, {&ISurvey::VerticalDatum, "NGVD29"},
                                       {&ISurvey::Projection, "1701"}, {&ISurvey::Epoch, "1987"},
                                       {&ISurvey::Contractor, "Contractor Inc"}, {&ISurvey::Location, "Bayou Reach"},
                                       {&ISurvey::Title, "Centerline profile"}});
  EXPECT_EQ(survey->SurveyDate().ToIso(), "1999-12-01T00:00:00");
  EXPECT_EQ(survey->SurveyEndDate().ToIso(), "1999-12-01T00:00:00");
  EXPECT_EQ(survey->CombinedScaleFactor(), kUndefinedNumber);
  EXPECT_EQ(survey->CrossSections()->Size(), 0);
  EXPECT_EQ(survey->VerticalControls()->Size(), 0);
  EXPECT_EQ(survey->Gages()->Size(), 0);
  EXPECT_TRUE(survey->Errors()->IsEmpty());
}

TEST_F(ProReaderTest, AFileWithoutDataHasNoProfile) {
  auto survey = Open({Header("T05", {{20, "C"}})});
  auto profiles = survey->ProfileCenterlines();
  EXPECT_EQ(profiles->Size(), 0);
  EXPECT_EQ(profiles->GetNext(), nullptr);
  EXPECT_EQ(profiles->GetItem(0), nullptr);
}

TEST_F(ProReaderTest, DataLinesBecomePointsOfTheOneProfile) {
  auto survey = Open({
      Header("T03", {{20, "12/01/1999"}, {74, "1987"}}),
      "1000.00 3456789.12 512345.67 12.5 TOE",
      "  1050.5   3456800   512350   13.25",
      "1100 3456810.5 512360.25 14 CL extra fields ignored",
  });
  auto profiles = survey->ProfileCenterlines();
  ASSERT_EQ(profiles->Size(), 1);
  auto profile = profiles->GetItem(7);  // every index names the one profile
  ASSERT_NE(profile, nullptr);
  EXPECT_EQ(profiles->GetNext(), profile);
  EXPECT_EQ(profiles->GetNext(), nullptr);
  profiles->Initialize();
  EXPECT_EQ(profiles->GetNext(), profile);
  EXPECT_EQ(profile->SurveyDate(), DateTime::Undefined());
  EXPECT_EQ(profile->WaterSurfaceTime(), DateTime::Undefined());
  EXPECT_EQ(profile->StartX(), 0);
  EXPECT_EQ(profile->Station(), 0);
  EXPECT_EQ(profile->WaterSurfaceElevation(), 0);
  EXPECT_EQ(profile->Benchmark(), nullptr);
  EXPECT_EQ(profile->Gage(), nullptr);
  EXPECT_EQ(profile->AltName(), "");

  const auto points = PointsOf(*survey);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0]->Id(), 0);
  EXPECT_EQ(points[0]->PointTag(), "0");
  EXPECT_EQ(points[0]->Station(), 1000.0);
  EXPECT_EQ(points[0]->X(), 3456789.12);
  EXPECT_EQ(points[0]->Y(), 512345.67);
  EXPECT_EQ(points[0]->Z(), 12.5);
  EXPECT_EQ(points[0]->Code(), "TOE");
  EXPECT_EQ(points[0]->LateralOffset(), 0);
  EXPECT_EQ(points[0]->BaselineOffset(), 0);
  EXPECT_EQ(points[0]->VerticalAdjustment(), 0);
  EXPECT_EQ(points[1]->Station(), 1050.5);
  EXPECT_EQ(points[1]->Code(), "");
  EXPECT_EQ(points[1]->CodeDescription(), "");
  EXPECT_EQ(points[2]->Id(), 2);
  EXPECT_EQ(points[2]->Code(), "CL");
  EXPECT_EQ(survey->CurrentPID(), 3);
  EXPECT_TRUE(survey->Errors()->IsEmpty());
}

TEST_F(ProReaderTest, RejectedLinesAreReportedAtTheirLineAndLeaveNoGapInIdentifiers) {
  auto survey = Open({
      Header("T01", {{20, "F"}, {74, "NAD83"}}),  // line 1
      "10 100 200",                               // line 2: three fields
      "20 1OO 200 5",                             // line 3: X is no number
      "",                                         // line 4
      "   ",                                      // line 5
      "30 300 400 6 RD",                          // line 6
      "40 500 600 ",                              // line 7: three fields
      "50 700 800 x7",                            // line 8: Z is no number
      "60 900 1000 8",                            // line 9
  });
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 4u);
  EXPECT_EQ(reports[0].line, 2);
  EXPECT_EQ(reports[0].severity, 1);
  EXPECT_EQ(reports[0].text,
            "Invalid Data Record. PRO data record must contain a station, easting, northing, elevation, and code "
            "values separated by spaces.");
  EXPECT_EQ(reports[1].line, 3);
  EXPECT_EQ(reports[1].text, "Invalid Numeric Value : 1OO");
  EXPECT_EQ(reports[2].line, 7);
  EXPECT_EQ(reports[3].line, 8);
  EXPECT_EQ(reports[3].text, "Invalid Numeric Value : x7");
  const auto points = PointsOf(*survey);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0]->Id(), 0);
  EXPECT_EQ(points[0]->Station(), 30);
  EXPECT_EQ(points[1]->Id(), 1);
  EXPECT_EQ(points[1]->Station(), 60);
}

TEST_F(ProReaderTest, AnEmptyNumericFieldNamesItsContext) {
  // Only an empty field can reach the parser with its context; a blank
  // split never yields one, so this goes through the profile directly.
  auto codes = std::make_shared<InternedCodeTable>([](const std::string&) { return std::string(); });
  auto profile = std::make_shared<ProProfileCenterline>(codes);
  test::RecordingMonitor monitor;
  bool added = true;
  profile->AddPointFromLine(monitor, 0, "1 2 3", added);
  EXPECT_FALSE(added);
  profile->AddPointFromLine(monitor, 0, "1 a b c", added);
  EXPECT_FALSE(added);
  ASSERT_EQ(monitor.messages.size(), 4u);
  EXPECT_EQ(monitor.messages[1], "Invalid Numeric Value : a");
  EXPECT_EQ(monitor.messages[3], "Invalid Numeric Value : c");
  profile->AddPointFromLine(monitor, 41, "1 2 3 4", added);
  EXPECT_TRUE(added);
  EXPECT_EQ(profile->PointCount(), 1u);
  EXPECT_EQ(profile->Points()->GetItem(0)->Id(), 41);
}

TEST_F(ProReaderTest, CodeDescriptionsComeFromTheFilesDictionaryFirst) {
  Write("CODES.DAT", "TOE;Toe of slope\r\nCL;a;Centerline\r\nX\r\n");
  auto survey = Open({"1 2 3 4 TOE", "2 3 4 5 CL", "3 4 5 6 toe"});
  EXPECT_EQ(survey->CodeDictionary().Size(), 2u);
  EXPECT_TRUE(survey->HasCustomCode("CL"));
  EXPECT_EQ(survey->GetCustomCode("CL"), "Centerline");
  const auto points = PointsOf(*survey);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0]->CodeDescription(), "Toe of slope");
  EXPECT_EQ(points[1]->CodeDescription(), "Centerline");
  EXPECT_EQ(points[2]->Code(), "toe");
}

TEST_F(ProReaderTest, CodesMissingFromTheDictionaryFallBackOnTheLookup) {
  int lookups = 0;
  InternedCodeTable table([&lookups](const std::string& code) {
    ++lookups;
    return code == "GRD" ? std::string("GROUND SHOT") : std::string();
  });
  table.Dictionary().Set("GRD", "Own ground");
  EXPECT_EQ(table.Intern("GRD")->description, "Own ground");
  EXPECT_EQ(table.Intern("XYZ")->description, "");
  EXPECT_EQ(lookups, 1);
  InternedCodeTable shared([&lookups](const std::string& code) {
    ++lookups;
    return code == "GRD" ? std::string("GROUND SHOT") : std::string();
  });
  const InternedCode* first = shared.Intern("GRD");
  EXPECT_EQ(first->description, "GROUND SHOT");
  shared.Intern("XYZ");
  // Each code is looked up once and shared afterwards.
  EXPECT_EQ(shared.Intern("GRD"), first);
  EXPECT_EQ(lookups, 3);
  EXPECT_EQ(shared.Size(), 2u);
}

TEST_F(ProReaderTest, TabsAreReportedOnceForTheWholeDataSection) {
  auto survey = Open({
      Header("T05", {{20, "C"}}),  // line 1
      "1 2 3 4",                   // line 2
      "2 3 4 5",                   // line 3
      "3\t4 5 6 7",                // line 4: first tab
      "4 5 6 7\t",                 // line 5
      "\t",                        // line 6
  });
  const auto reports = Drain(*survey->Errors());
  std::size_t tabReports = 0;
  for (const auto& r : reports)
    if (r.text == "PRO files may not tabs.") {
      ++tabReports;
      EXPECT_EQ(r.line, 4);
      EXPECT_EQ(r.severity, 1);
    }
  EXPECT_EQ(tabReports, 1u);
  // A tab is no separator: "3\t4" and "7\t" are fields that are no numbers,
  // and a lone tab is one field.
  ASSERT_EQ(reports.size(), 4u);
  EXPECT_EQ(reports[1].text, "Invalid Numeric Value : 3\t4");
  EXPECT_EQ(reports[1].line, 4);
  EXPECT_EQ(reports[2].text, "Invalid Numeric Value : 7\t");
  EXPECT_EQ(reports[2].line, 5);
  EXPECT_EQ(reports[3].line, 6);
  EXPECT_NE(reports[3].text.find("Invalid Data Record."), std::string::npos);
  EXPECT_EQ(PointsOf(*survey).size(), 2u);
}

TEST_F(ProReaderTest, ATabInAHeaderRecordIsReportedOnItsOwn) {
  auto survey = Open({Header("T05", {{20, "Con\ttractor"}}), "1 2 3 4", "2\t3 4 5 6"});
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[0].text, "PRO files may not tabs.");
  EXPECT_EQ(reports[0].line, 1);
  EXPECT_EQ(reports[1].text, "PRO files may not tabs.");
  EXPECT_EQ(reports[1].line, 3);
  EXPECT_EQ(survey->Contractor(), "Con\ttractor");
}

TEST_F(ProReaderTest, AShortT04IsReported) {
  // Trailing blanks do not count: the second record ends in column 50.
  auto survey = Open({Header("T04", {{20, "ABC"}}, 40), Header("T04", {{20, "ABC"}, {50, "x"}}, 60),
                      Header("T04", {{20, "ABC"}, {50, "xy"}})});
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].text, "Header record T04 must contain at least 50 characters");
  EXPECT_EQ(reports[0].line, 1);
  EXPECT_EQ(reports[0].severity, 1);
  EXPECT_EQ(reports[1].line, 2);
}

TEST_F(ProReaderTest, ShortCoordinateHeadersAreReportedAsInTheFixedColumnFormat) {
  auto survey = Open({Header("T02", {{20, "JOB"}}, 50)});
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].text,
            "Header record T02 is invalid. Job should start in column 20, units in column 50, and vertical datum in "
            "column 75.");
  EXPECT_EQ(survey->JobNumber(), "");
}

TEST_F(ProReaderTest, ATLineAfterTheFirstDataLineIsData) {
  auto survey = Open({"1 2 3 4", Header("T05", {{20, "Late contractor"}}), "T01 1 2 3"});
  EXPECT_EQ(survey->Contractor(), "");
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].line, 2);
  EXPECT_NE(reports[0].text.find("Invalid Data Record."), std::string::npos);
  EXPECT_EQ(reports[1].line, 3);
  EXPECT_EQ(reports[1].text, "Invalid Numeric Value : T01");
  EXPECT_EQ(PointsOf(*survey).size(), 1u);
}

TEST_F(ProReaderTest, AHeaderLineWithAnotherTagIsDataAndHeadersGoOn) {
  auto survey = Open({"TXX 1 2 3", "T 5 6 7 8", Header("T05", {{20, "Contractor"}}), "1 2 3 4"});
  // "T 5 6 7 8" has five fields: "T" is no station.
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].line, 1);
  EXPECT_EQ(reports[0].text, "Invalid Numeric Value : TXX");
  EXPECT_EQ(reports[1].line, 2);
  EXPECT_EQ(reports[1].text, "Invalid Numeric Value : T");
  EXPECT_EQ(survey->Contractor(), "Contractor");
  const auto points = PointsOf(*survey);
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0]->Id(), 0);
}

TEST_F(ProReaderTest, AMissingFileIsReportedAndGivesNoProfile) {
  auto survey = std::make_shared<ProSurvey>();
  survey->OpenSurvey((dir_ / "none.pro").string());
  EXPECT_EQ(survey->ProfileCenterlines()->Size(), 0);
  EXPECT_FALSE(survey->Errors()->IsEmpty());
}

}  // namespace
}  // namespace veldrane
