// The fixed-column (.830) reader: header records, cross-section blocks,
// points, benchmarks and gage readings, and the reports it queues.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/constants.h"
#include "readers/fixedcolumn/corvid830_survey.h"
#include "tests/core/reader_test_support.h"

namespace veldrane {
namespace {

using test::Columns;
using test::Drain;
using test::ExpectTexts;
using test::Header;

struct Row {
  std::string offset{}, elevation{}, code{}, easting{}, northing{};
};

std::string RangeLine(std::string_view azimuth, std::string_view station, std::string_view name, double x1,
                      double y1, double x2, double y2) {
  auto num = [](double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return std::string(buf);
  };
  return Columns()
      .At(1, "XS")
      .At(9, "A01")
      .At(36, azimuth)
      .Right(45, 56, station)
      .At(64, name)
      .Right(81, 92, num(x1))
      .Right(93, 104, num(y1))
      .Right(105, 116, num(x2))
      .Right(117, 128, num(y2))
      .Str();
}

std::string DataLine(const std::vector<Row>& rows) {
  Columns c;
  c.At(9, "D01");
  for (std::size_t k = 0; k < rows.size(); ++k) {
    c.Right(13 + 17 * k, 19 + 17 * k, rows[k].offset);
    if (!rows[k].elevation.empty()) c.Right(20 + 17 * k, 26 + 17 * k, rows[k].elevation);
    if (!rows[k].code.empty()) c.At(27 + 17 * k, rows[k].code);
  }
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (!rows[k].easting.empty()) c.Right(81 + 24 * k, 92 + 24 * k, rows[k].easting);
    if (!rows[k].northing.empty()) c.Right(93 + 24 * k, 104 + 24 * k, rows[k].northing);
  }
  return c.PadTo(81).Str();
}

struct ControlFields {
  std::string marker = "", benchmark = "", measured = "", gage = "", wse = "", date = "", time = "";
};

std::string ControlLine(const ControlFields& f) {
  Columns c;
  c.At(1, "XS").At(9, "A02");
  if (!f.marker.empty()) c.At(12, f.marker);
  if (!f.benchmark.empty()) c.At(18, f.benchmark);
  if (!f.measured.empty()) c.Right(54, 59, f.measured);
  if (!f.gage.empty()) c.At(71, f.gage);
  if (!f.wse.empty()) c.Right(86, 92, f.wse);
  if (!f.date.empty()) c.At(101, f.date);
  if (!f.time.empty()) c.At(120, f.time);
  return c.Str();
}

class Corvid830ReaderTest : public test::ScratchFileTest {
 protected:
  std::string Write(const std::vector<std::string>& lines, const std::string& eol = "\r\n",
                    const std::string& name = "survey.830") {
    return WriteRaw(test::JoinLines(lines, eol), name);
  }
  std::string WriteRaw(const std::string& text, const std::string& name = "survey.830") {
    return ScratchFileTest::Write(name, text);
  }
  std::shared_ptr<Corvid830Survey> Open(const std::string& path) {
    auto survey = std::make_shared<Corvid830Survey>();
    survey->OpenSurvey(path);
    return survey;
  }
};

std::vector<std::string> StandardHeaders() {
  return {
      Header("T01", {{20, "LEVEE830.DAT"}, {50, "2"}, {74, "NAD83"}}),
      Header("T02", {{20, "J-4711"}, {50, "FEET"}, {74, "NAVD88"}}),
      Header("T03", {{20, "03/15/2021"}, {50, "1702"}, {74, "2004.65"}}),
      Header("T04", {{20, "ABC"}, {50, "not used"}}),
      Header("T05", {{20, "Gulf Survey Co."}}),
      Header("T06", {{20, "Mile 12 to Mile 14"}}),
      Header("T07", {{20, "Levee enlargement, reach 3"}}),
  };
}

TEST_F(Corvid830ReaderTest, HeaderRecordsFillTheSurveyFromTheirColumns) {
  auto survey = Open(Write(StandardHeaders()));
  ExpectTexts<ISurvey>(*survey, {{&ISurvey::OriginalFileName, "LEVEE830.DAT"}, {&ISurvey::SurveyOrder, "2"},
                        {&ISurvey::HorizontalDatum, "NAD83"}, {&ISurvey::JobNumber, "J-4711"},
                        {&ISurvey::Units, "FEET"}, {&ISurvey::VerticalDatum, "NAVD88"},
                        {&ISurvey::Projection, "1702"}, {&ISurvey::Epoch, "2004.65"},
                        {&ISurvey::Contractor, "Gulf Survey Co."}, {&ISurvey::Location, "Mile 12 to Mile 14"},
                        {&ISurvey::Title, "Levee enlargement, reach 3"}, {&ISurvey::Comments, ""},
                        {&ISurvey::FieldBook, ""}});
  EXPECT_EQ(survey->SurveyDate().ToIso(), "2021-03-15T00:00:00");
  EXPECT_EQ(survey->SurveyStartDate(), survey->SurveyDate());
  EXPECT_EQ(survey->SurveyEndDate(), survey->SurveyDate());
  EXPECT_EQ(survey->CombinedScaleFactor(), kUndefinedNumber);
  EXPECT_EQ(survey->HorizontalAccuracy(), 0);
  EXPECT_EQ(survey->VerticalAccuracy(), 0);
  EXPECT_EQ(survey->Baseline(), nullptr);
  for (const std::int32_t size : {survey->CrossSections()->Size(), survey->ProfileCenterlines()->Size(),
                                  survey->Areas()->Size(), survey->MiscShotPoints()->Size(),
                                  survey->CrewMembers()->Size()})
    EXPECT_EQ(size, 0);
  EXPECT_TRUE(survey->Errors()->IsEmpty());
}

TEST_F(Corvid830ReaderTest, FieldsAreCutAtTheirExactColumns) {
  // A character in the column just outside a field must not leak into it.
  auto survey = Open(Write({Header("T01", {{19, "x"}, {20, "ABCDEFGHIJKLMNOPQRSTU"}, {41, "y"}, {49, "9"},
                                           {50, "1"}, {51, "8"}, {73, "z"}, {74, "NAD27X"}, {80, "w"}}),
                            Header("T02", {{20, "12345678"}, {28, "9"}, {50, "METERS"}, {56, "q"}, {74, "NGVD1929"},
                                           {82, "r"}})}));
  ExpectTexts<ISurvey>(*survey, {{&ISurvey::OriginalFileName, "ABCDEFGHIJKLMNOPQRSTU"}, {&ISurvey::SurveyOrder, "1"},
                        {&ISurvey::HorizontalDatum, "NAD27X"}, {&ISurvey::JobNumber, "12345678"},
                        {&ISurvey::Units, "METERS"}, {&ISurvey::VerticalDatum, "NGVD1929"}});
}

TEST_F(Corvid830ReaderTest, ShortHeaderRecordsAreReportedOrIgnored) {
  auto survey = Open(Write({
      Header("T01", {{20, "NAME"}}, 60),
      Header("T02", {{20, "JOB"}}, 72),
      Header("T03", {{20, "01/02/2020"}}, 40),
      Header("T04", {{20, "A"}}, 30),
      Header("T05", {}, 20),
      Header("T06", {{20, "X"}}, 20),  // 20 characters: ignored even with text in column 20
  }));
  ExpectTexts<ISurvey>(*survey, {{&ISurvey::OriginalFileName, ""}, {&ISurvey::JobNumber, ""},
                        {&ISurvey::Contractor, ""}, {&ISurvey::Location, ""}});
  // No T03 was accepted: the date-time value 0.
  EXPECT_EQ(survey->SurveyDate(), DateTime::Zero());
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[0].line, 1);
  EXPECT_EQ(reports[0].severity, 1);
  EXPECT_EQ(reports[0].text,
            "Header record T01 is invalid. Filename should start in column 20, order in column 50, and hoziontal "
            "datum in column 75.");
  EXPECT_EQ(reports[1].line, 2);
  EXPECT_EQ(reports[1].text,
            "Header record T02 is invalid. Job should start in column 20, units in column 50, and vertical datum in "
            "column 75.");
  EXPECT_EQ(reports[2].line, 3);
  EXPECT_EQ(reports[2].text,
            "Header record T03 is invalid. Survey date should start in column 20, zone in column 50, epoch in column "
            "75.");
}

TEST_F(Corvid830ReaderTest, TrailingBlanksDoNotCountTowardsTheHeaderLength) {
  std::string t01 = Header("T01", {{20, "NAME"}}, 60) + std::string(30, ' ');
  auto survey = Open(Write({t01, Header("T03", {{20, "13/45/2020"}, {74, "2010"}}, 80)}));
  EXPECT_EQ(survey->OriginalFileName(), "");
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_NE(reports[0].text.find("Header record T01 is invalid."), std::string::npos);
  EXPECT_EQ(reports[1].line, 2);
  EXPECT_EQ(reports[1].text, "Invalid Date String: Invalid Date Value : 13/45/2020");
  EXPECT_EQ(survey->SurveyDate(), DateTime::Undefined());
}

std::vector<std::string> OneSection() {
  return {
      RangeLine("1234530.5", "1250.00", "RANGE 12", 0, 0, 100, 0),
      ControlLine({"PBM:", "BM ALPHA", "12.345", "G1", "3.25", "04/05/2021", "930"}),
      DataLine({{"-10.0", "5.1", "TOE", "-10.0", "0.0"},
                {"0.0", "7.2", "CL", "0.0", "3.0"},
                {"15.5", "6.3", "", "15.5", "-4.0"},
                {"30", "5.5", "ROD", "30.0", "0.0"}}),
      DataLine({{"45.0", "4.0", "TOE", "45.0", "2.0"}, {"9999999", "", "", "", ""}}),
  };
}

TEST_F(Corvid830ReaderTest, RangeLineGivesTheSectionGeometry) {
  auto lines = StandardHeaders();
  for (const auto& l : OneSection()) lines.push_back(l);
  auto survey = Open(Write(lines));
  auto sections = survey->CrossSections();
  ASSERT_EQ(sections->Size(), 1);
  auto section = sections->GetItem(0);
  EXPECT_EQ(section->Station(), 1250.0);
  EXPECT_EQ(section->AltName(), "RANGE 12");
  EXPECT_EQ(section->StartX(), 0.0);
  EXPECT_EQ(section->StopX(), 100.0);
  // 123 + 45/60 + 30.5/3600 = 123.7584722..., kept to three decimals.
  EXPECT_DOUBLE_EQ(section->GeodeticAzimuth(), 123.758);
  EXPECT_DOUBLE_EQ(section->GridAzimuth(), 90.0);
  EXPECT_EQ(section->RangeName(), "");
  EXPECT_EQ(section->FieldBook(), "");
  EXPECT_EQ(section->Description(), "");
  EXPECT_EQ(section->BaselineIntersectX(), kUndefinedNumber);
  EXPECT_EQ(section->BaselineIntersectY(), kUndefinedNumber);
  EXPECT_TRUE(survey->Errors()->IsEmpty());
}

TEST_F(Corvid830ReaderTest, GridAzimuthIsComputedFromTheRangeLineUnrounded) {
  auto lines = StandardHeaders();
  const double stops[][4] = {{0, 0, 10, 10}, {0, 0, -10, 0}, {5, 0, 5, 10}, {0, 0, 10, 3}};
  for (const auto& s : stops) {
    lines.push_back(RangeLine("0000000", "0", "R", s[0], s[1], s[2], s[3]));
    lines.push_back(DataLine({{"1", "1", "", "1", "1"}, {"9999999"}}));
  }
  auto survey = Open(Write(lines));
  auto sections = survey->CrossSections();
  ASSERT_EQ(sections->Size(), 4);
  // The survey constant pi = 3.14159265 leaves 45 a few 1e-8 off.
  EXPECT_NEAR(sections->GetItem(0)->GridAzimuth(), 45.0, 1e-6);
  EXPECT_EQ(sections->GetItem(1)->GridAzimuth(), 270.0);
  EXPECT_EQ(sections->GetItem(2)->GridAzimuth(), kUndefinedNumber);
  // 90 - atan(0.3) in degrees = 73.30075576600639 (with pi = 3.14159265): not rounded to 3 places.
  EXPECT_NEAR(sections->GetItem(3)->GridAzimuth(), 73.300755766, 1e-6);
  EXPECT_NE(sections->GetItem(3)->GridAzimuth(), 73.301);
}

TEST_F(Corvid830ReaderTest, DataLinesGiveFourPointsWithCoordinatesAndOffsets) {
  auto lines = StandardHeaders();
  for (const auto& l : OneSection()) lines.push_back(l);
  auto survey = Open(Write(lines));
  auto points = survey->CrossSections()->GetItem(0)->Points();
  ASSERT_EQ(points->Size(), 5);
  auto p0 = points->GetItem(0);
  EXPECT_EQ(p0->Id(), 0);
  EXPECT_EQ(p0->PointTag(), "0");
  EXPECT_EQ(p0->X(), -10.0);
  EXPECT_EQ(p0->Y(), 0.0);
  EXPECT_EQ(p0->Z(), 5.1);
  EXPECT_EQ(p0->Code(), "TOE");
  EXPECT_EQ(p0->Station(), -10.0);
  EXPECT_EQ(p0->BaselineOffset(), -10.0);
  EXPECT_EQ(p0->VerticalAdjustment(), 0.0);
  auto p1 = points->GetItem(1);
  EXPECT_EQ(p1->Code(), "CL");
  EXPECT_EQ(p1->LateralOffset(), 3.0);
  auto p2 = points->GetItem(2);
  EXPECT_EQ(p2->Code(), "");
  EXPECT_EQ(p2->Station(), 15.5);
  EXPECT_EQ(p2->LateralOffset(), 4.0);  // never negative
  EXPECT_EQ(points->GetItem(3)->Id(), 3);
  EXPECT_EQ(points->GetItem(3)->Z(), 5.5);
  auto p4 = points->GetItem(4);
  EXPECT_EQ(p4->Id(), 4);
  EXPECT_EQ(p4->PointTag(), "4");
  EXPECT_EQ(p4->X(), 45.0);
  EXPECT_EQ(p4->Y(), 2.0);
  EXPECT_EQ(p4->LateralOffset(), 2.0);
  EXPECT_EQ(survey->CurrentPID(), 5);
  // Iterator protocol: GetNext walks, stops, and Initialize rewinds.
  EXPECT_EQ(points->GetNext()->Id(), 0);
  for (int i = 0; i < 4; ++i) points->GetNext();
  EXPECT_EQ(points->GetNext(), nullptr);
  EXPECT_EQ(points->GetNext(), nullptr);
  points->Initialize();
  EXPECT_EQ(points->GetNext()->Id(), 0);
  EXPECT_EQ(points->GetItem(5), nullptr);
}

TEST_F(Corvid830ReaderTest, LateralOffsetIsTheDistanceFromTheRangeLine) {
  EXPECT_DOUBLE_EQ(Corvid830CrossSection::LateralOffset(5, 5, 0, 0, 10, 0), 5.0);
  EXPECT_DOUBLE_EQ(Corvid830CrossSection::LateralOffset(5, -5, 0, 0, 10, 0), 5.0);
  // Off the end of the segment the perpendicular foot is on the line's extension.
  EXPECT_DOUBLE_EQ(Corvid830CrossSection::LateralOffset(20, 3, 0, 0, 10, 0), 3.0);
  // Diagonal range line: (0,10) lies 10/sqrt(2) from the line y = x.
  EXPECT_NEAR(Corvid830CrossSection::LateralOffset(0, 10, 0, 0, 10, 10), 7.0710678118654755, 1e-12);
  // Start and stop coincide: the distance from that point.
  EXPECT_DOUBLE_EQ(Corvid830CrossSection::LateralOffset(3, 4, 0, 0, 0, 0), 5.0);
}

TEST_F(Corvid830ReaderTest, AnOffsetOf9999999EndsTheLinesPoints) {
  auto survey = Open(Write({
      RangeLine("0000000", "0", "R", 0, 0, 10, 0),
      DataLine({{"1", "1", "A", "1", "0"}, {"2", "2", "B", "2", "0"}, {"9999999", "", "", "", ""},
                {"4", "4", "D", "4", "0"}}),
      RangeLine("0000000", "0", "S", 0, 0, 10, 0),
      DataLine({{"9999999", "3", "C", "3", "0"}, {"5", "5", "E", "5", "0"}}),
      RangeLine("0000000", "0", "T", 0, 0, 10, 0),
      DataLine({{"6", "6", "F", "6", "0"}, {"9999999"}}),
  }));
  ASSERT_EQ(survey->AllCrossSections().size(), 3u);
  // The second block ends at its first line holding 9999999, which adds no
  // point, so that section is not listed.
  EXPECT_EQ(survey->AllCrossSections()[1]->PointCount(), 0u);
  auto sections = survey->CrossSections();
  ASSERT_EQ(sections->Size(), 2);
  EXPECT_EQ(sections->GetItem(0)->Points()->Size(), 2);
  EXPECT_EQ(sections->GetItem(1)->AltName(), "T");
  EXPECT_EQ(sections->GetItem(1)->Points()->Size(), 1);
  EXPECT_EQ(sections->GetItem(1)->Points()->GetItem(0)->Code(), "F");
  EXPECT_EQ(sections->GetItem(1)->Points()->GetItem(0)->Id(), 2);
  EXPECT_TRUE(survey->Errors()->IsEmpty());
}

TEST_F(Corvid830ReaderTest, TheBlockEndsAtTheFirstLineHoldingTheMarkerAnywhere) {
  // The A02 line carries 9999999 in its benchmark name: the block ends there
  // and the following data line opens the next block.
  auto survey = Open(Write({
      RangeLine("0000000", "0", "R1", 0, 0, 10, 0),
      ControlLine({"", "BM 9999999", "", "", "", "", ""}),
      RangeLine("0000000", "0", "R2", 0, 0, 10, 0),
      DataLine({{"1", "1", "A", "1", "0"}, {"9999999"}}),
  }));
  auto all = survey->AllCrossSections();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0]->AltName(), "R1");
  EXPECT_EQ(all[0]->PointCount(), 0u);
  ASSERT_NE(all[0]->Benchmark(), nullptr);
  EXPECT_EQ(all[0]->Benchmark()->Name(), "BM 9999999");
  EXPECT_EQ(all[1]->AltName(), "R2");
  EXPECT_EQ(all[1]->PointCount(), 1u);
  EXPECT_EQ(survey->CrossSections()->Size(), 1);
}

TEST_F(Corvid830ReaderTest, TheOpeningLineOfABlockDoesNotCloseIt) {
  // A range line that happens to hold 9999999 (here as its station) still
  // opens a block that runs to the next line with the marker.
  auto survey = Open(Write({
      RangeLine("0000000", "9999999", "R1", 0, 0, 10, 0),
      DataLine({{"1", "1", "A", "1", "0"}, {"2", "2", "B", "2", "0"}, {"3", "3", "C", "3", "0"},
                {"4", "4", "D", "4", "0"}}),
      DataLine({{"5", "5", "E", "5", "0"}, {"9999999"}}),
  }));
  auto sections = survey->CrossSections();
  ASSERT_EQ(sections->Size(), 1);
  EXPECT_EQ(sections->GetItem(0)->Station(), 9999999.0);
  EXPECT_EQ(sections->GetItem(0)->Points()->Size(), 5);
  EXPECT_TRUE(survey->Errors()->IsEmpty());
}

TEST_F(Corvid830ReaderTest, ReportsNameTheLineOfHeadersAndOfBlockLines) {
  auto survey = Open(Write({
      Header("T01", {{20, "F"}}, 50),                                      // line 1: too short
      Header("T05", {{20, "Contractor"}}),                                 // line 2
      RangeLine("0000000", "0", "R1", 0, 0, 10, 0),                        // line 3
      DataLine({{"1", "1", "", "1", "0"}, {"9999999"}}),                   // line 4
      RangeLine("0000000", "abc", "R2", 0, 0, 10, 0),                      // line 5: bad station
      ControlLine({"", "BM", "", "", "", "", ""}),                         // line 6
      DataLine({{"1", "x1", "", "1", "0"}, {"2", "2", "", "2", "0"}, {"3", "3", "", "3", "0"},
                {"4", "4", "", "4", "0"}}),                                // line 7: bad elevation
      DataLine({{"1", "1", "", "1", "zz"}, {"9999999"}}),                  // line 8: bad northing
      Header("T06", {{20, "Location"}}),                                   // line 9
      Header("T02", {{20, "J"}}, 10),                                      // line 10: too short
  }));
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 5u);
  EXPECT_EQ(reports[0].line, 1);
  EXPECT_EQ(reports[1].line, 5);
  EXPECT_EQ(reports[1].text, "Invalid Numeric Value : abc");
  EXPECT_EQ(reports[2].line, 7);
  EXPECT_EQ(reports[2].text, "Invalid Numeric Value : x1");
  EXPECT_EQ(reports[3].line, 8);
  EXPECT_EQ(reports[3].text, "Invalid Numeric Value : zz");
  EXPECT_EQ(reports[4].line, 10);
  EXPECT_EQ(survey->Location(), "Location");
  // A failed station reads as the undefined number.
  EXPECT_EQ(survey->AllCrossSections()[1]->Station(), kUndefinedNumber);
}

TEST_F(Corvid830ReaderTest, MessagesOfADataLineComeGroupsFirstThenCoordinates) {
  auto survey = Open(Write({
      RangeLine("0000000", "0", "R1", 0, 0, 10, 0),
      DataLine({{"1", "", "", "", "1"}, {"9999999"}}),
  }));
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 4u);
  EXPECT_EQ(reports[0].text, "Elevation Parse Error: No value specified for numeric attribute.");
  EXPECT_EQ(reports[1].text, "Invalid Numeric Value : ");
  EXPECT_EQ(reports[2].text, "Easting Parse Error: No value specified for numeric attribute.");
  EXPECT_EQ(reports[3].text, "Invalid Numeric Value : ");
  // The point is still made, with the undefined values.
  auto point = survey->CrossSections()->GetItem(0)->Points()->GetItem(0);
  EXPECT_EQ(point->Z(), kUndefinedNumber);
  EXPECT_EQ(point->X(), kUndefinedNumber);
  EXPECT_EQ(point->Y(), 1.0);
}

TEST_F(Corvid830ReaderTest, ShortDataLinesAreSkippedWithoutReport) {
  auto survey = Open(Write({
      RangeLine("0000000", "0", "R1", 0, 0, 10, 0),
      ControlLine({"PBM:", "BM1", "", "", "", "", ""}),
      "        D01    1.0    2.0",
      "        D01    1.0    2.0                                        9999999",  // 73 characters
  }));
  EXPECT_TRUE(survey->Errors()->IsEmpty());
  EXPECT_EQ(survey->CrossSections()->Size(), 0);
  ASSERT_EQ(survey->AllCrossSections().size(), 1u);
  // The section without points is not listed, but its benchmark is.
  EXPECT_EQ(survey->VerticalControls()->Size(), 1);
  EXPECT_EQ(survey->CurrentPID(), 0);
}

TEST_F(Corvid830ReaderTest, ControlLineGivesBenchmarkGageWaterSurfaceAndDate) {
  auto lines = StandardHeaders();
  for (const auto& l : OneSection()) lines.push_back(l);
  auto survey = Open(Write(lines));
  auto section = survey->CrossSections()->GetItem(0);
  auto benchmark = section->Benchmark();
  ASSERT_NE(benchmark, nullptr);
  EXPECT_EQ(benchmark->Name(), "BM ALPHA");
  EXPECT_EQ(benchmark->MeasuredElevation(), 12.345);
  EXPECT_TRUE(benchmark->IsPermanent());
  EXPECT_EQ(benchmark->VerticalDatum(), "NAVD88");
  EXPECT_EQ(benchmark->Epoch(), "2004.65");
  EXPECT_EQ(benchmark->DocumentedElevation(), kUndefinedNumber);
  EXPECT_EQ(benchmark->SurveyDate(), DateTime::Undefined());
  auto gage = section->Gage();
  ASSERT_NE(gage, nullptr);
  EXPECT_EQ(gage->Name(), "G1");
  EXPECT_EQ(gage->WaterSurfaceElevation(), 3.25);
  EXPECT_EQ(gage->MeasurementDate().ToIso(), "2021-04-05T09:30:00");
  EXPECT_EQ(gage->Benchmark(), nullptr);
  EXPECT_EQ(section->WaterSurfaceElevation(), 3.25);
  EXPECT_EQ(section->SurveyDate().ToIso(), "2021-04-05T09:30:00");
  EXPECT_EQ(section->WaterSurfaceTime(), section->SurveyDate());
  auto sectionImpl = std::dynamic_pointer_cast<Corvid830CrossSection>(section);
  ASSERT_NE(sectionImpl, nullptr);
  EXPECT_EQ(sectionImpl->GageReading(), gage);
}

TEST_F(Corvid830ReaderTest, PermanentMarkerMustBeInTheFirstEighteenColumns) {
  auto lines = StandardHeaders();
  lines.push_back(RangeLine("0000000", "0", "R1", 0, 0, 10, 0));
  lines.push_back(ControlLine({"", "TBM 7", "", "", "", "", ""}));
  lines.push_back(DataLine({{"1", "1", "", "1", "0"}, {"9999999"}}));
  lines.push_back(RangeLine("0000000", "0", "R2", 0, 0, 10, 0));
  // "PBM:" starting in column 16 reaches column 19: not within 1-18.
  lines.push_back(Columns().At(1, ControlLine({"", "", "", "", "", "", ""})).At(16, "PBM:").At(21, "X").Str());
  lines.push_back(DataLine({{"1", "1", "", "1", "0"}, {"9999999"}}));
  lines.push_back(RangeLine("0000000", "0", "R3", 0, 0, 10, 0));
  lines.push_back(Columns().At(1, ControlLine({"", "", "", "", "", "", ""})).At(14, "PBM:").At(20, "Y").Str());
  lines.push_back(DataLine({{"1", "1", "", "1", "0"}, {"9999999"}}));
  auto survey = Open(Write(lines));
  auto sections = survey->CrossSections();
  ASSERT_EQ(sections->Size(), 3);
  EXPECT_FALSE(sections->GetItem(0)->Benchmark()->IsPermanent());
  EXPECT_EQ(sections->GetItem(0)->Benchmark()->Name(), "TBM 7");
  EXPECT_EQ(sections->GetItem(0)->Benchmark()->MeasuredElevation(), kUndefinedNumber);
  EXPECT_FALSE(sections->GetItem(1)->Benchmark()->IsPermanent());
  EXPECT_EQ(sections->GetItem(1)->Benchmark()->Name(), "M: X");
  EXPECT_TRUE(sections->GetItem(2)->Benchmark()->IsPermanent());
  EXPECT_EQ(sections->GetItem(2)->Benchmark()->Name(), "Y");
  EXPECT_EQ(sections->GetItem(0)->Gage(), nullptr);
}

TEST_F(Corvid830ReaderTest, ControlTimesAreReadAsHoursAndMinutes) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"930", "2021-04-05T09:30:00"},   {"1415", "2021-04-05T14:15:00"}, {"0005", "2021-04-05T00:05:00"},
      {"ab", "2021-04-05T00:00:00"},    {"", "2021-04-05T00:00:00"},     {"2599", "2021-04-05T00:00:00"},
      {"30", "2021-04-05T00:00:00"},    {"7", "2021-04-05T07:07:00"},
  };
  std::vector<std::string> lines;
  for (const auto& c : cases) {
    lines.push_back(RangeLine("0000000", "0", "R", 0, 0, 10, 0));
    lines.push_back(ControlLine({"", "", "", "G", "", "4/5/2021", c.first}));
    lines.push_back(DataLine({{"1", "1", "", "1", "0"}, {"9999999"}}));
  }
  auto survey = Open(Write(lines));
  auto sections = survey->CrossSections();
  ASSERT_EQ(sections->Size(), static_cast<std::int32_t>(cases.size()));
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(sections->GetItem(static_cast<std::int32_t>(i))->SurveyDate().ToIso(), cases[i].second)
        << "time " << cases[i].first;
    EXPECT_EQ(sections->GetItem(static_cast<std::int32_t>(i))->Gage()->MeasurementDate().ToIso(), cases[i].second);
  }
  // A numeric time that is no time of day is a warning; a text is silently no time.
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].severity, 0);
  EXPECT_EQ(reports[0].line, 17);
  EXPECT_NE(reports[0].text.find("2599"), std::string::npos);
  EXPECT_EQ(reports[1].line, 20);
  EXPECT_NE(reports[1].text.find("30"), std::string::npos);
}

TEST_F(Corvid830ReaderTest, SectionsWithoutControlDateTakeTheSurveyDate) {
  auto lines = StandardHeaders();
  lines.push_back(RangeLine("0000000", "0", "R", 0, 0, 10, 0));
  lines.push_back(ControlLine({"", "", "", "", "abc", "32/01/2021", "930"}));
  lines.push_back(DataLine({{"1", "1", "", "1", "0"}, {"9999999"}}));
  auto survey = Open(Write(lines));
  auto section = survey->CrossSections()->GetItem(0);
  EXPECT_EQ(section->SurveyDate().ToIso(), "2021-03-15T00:00:00");
  EXPECT_EQ(section->WaterSurfaceTime().ToIso(), "2021-03-15T00:00:00");
  EXPECT_EQ(section->WaterSurfaceElevation(), 0.0);  // not numeric: 0
  EXPECT_EQ(section->Benchmark(), nullptr);
  EXPECT_EQ(section->Gage(), nullptr);
  EXPECT_TRUE(survey->Errors()->IsEmpty());
}

TEST_F(Corvid830ReaderTest, RepeatedBenchmarksAndGagesAreListedOnceAndReportedOnEveryCall) {
  std::vector<std::string> lines = StandardHeaders();
  const ControlFields same{"PBM:", "BM1", "10.0", "G1", "2.5", "4/5/2021", "1000"};
  ControlFields otherElevation = same;
  otherElevation.measured = "10.5";
  otherElevation.wse = "2.75";
  for (const auto& f : {same, same, otherElevation, same}) {
    lines.push_back(RangeLine("0000000", "0", "R", 0, 0, 10, 0));
    lines.push_back(ControlLine(f));
    lines.push_back(DataLine({{"1", "1", "", "1", "0"}, {"9999999"}}));
  }
  auto survey = Open(Write(lines));
  ASSERT_TRUE(survey->Errors()->IsEmpty());
  for (int call = 0; call < 2; ++call) {
    auto benchmarks = survey->VerticalControls();
    ASSERT_EQ(benchmarks->Size(), 2);
    // One-based.
    EXPECT_EQ(benchmarks->GetItem(1)->MeasuredElevation(), 10.0);
    EXPECT_EQ(benchmarks->GetItem(2)->MeasuredElevation(), 10.5);
    EXPECT_EQ(benchmarks->GetItem(0), nullptr);
    auto reports = Drain(*survey->Errors());
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].text, "Duplicate benchmark ignored: BM1");
    EXPECT_EQ(reports[0].severity, 0);
    EXPECT_EQ(reports[1].text, "Duplicate benchmark ignored: BM1");

    auto gages = survey->Gages();
    ASSERT_EQ(gages->Size(), 2);
    EXPECT_EQ(gages->GetItem(1)->WaterSurfaceElevation(), 2.5);
    EXPECT_EQ(gages->GetItem(2)->WaterSurfaceElevation(), 2.75);
    reports = Drain(*survey->Errors());
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].text, "Duplicate Gage");
    EXPECT_EQ(reports[0].severity, 0);
  }
}

TEST_F(Corvid830ReaderTest, ATabIsReportedWithItsColumnAndTheLineIsStillRead) {
  std::string data = DataLine({{"1", "1", "A", "1", "0"}, {"9999999"}});
  data[4] = '\t';
  auto survey = Open(Write({RangeLine("0000000", "0", "R", 0, 0, 10, 0), data}));
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].text, "Corvid830 files may not contain tabs. Tab found in column 5.");
  EXPECT_EQ(reports[0].severity, 0);
  EXPECT_EQ(reports[0].line, 2);
  EXPECT_EQ(survey->CrossSections()->GetItem(0)->Points()->Size(), 1);
}

TEST_F(Corvid830ReaderTest, AGeodeticAzimuthThatIsNoNumberStopsTheReadingAndKeepsWhatCameBefore) {
  auto survey = Open(Write({
      Header("T05", {{20, "Contractor"}}),
      RangeLine("0000000", "0", "R1", 0, 0, 10, 0),
      DataLine({{"1", "1", "", "1", "0"}, {"9999999"}}),
      RangeLine("12A4530", "0", "R2", 0, 0, 10, 0),
      DataLine({{"1", "1", "", "1", "0"}, {"9999999"}}),
      RangeLine("0000000", "0", "R3", 0, 0, 10, 0),
      DataLine({{"1", "1", "", "1", "0"}, {"9999999"}}),
      Header("T06", {{20, "Never read"}}),
  }));
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].severity, 1);
  EXPECT_EQ(reports[0].line, 4);
  EXPECT_NE(reports[0].text.find("Geodetic azimuth"), std::string::npos);
  EXPECT_NE(reports[0].text.find("12A4530"), std::string::npos);
  auto sections = survey->CrossSections();
  ASSERT_EQ(sections->Size(), 1);
  EXPECT_EQ(sections->GetItem(0)->AltName(), "R1");
  EXPECT_EQ(survey->Contractor(), "Contractor");
  EXPECT_EQ(survey->Location(), "");
}

TEST_F(Corvid830ReaderTest, GeodeticAzimuthPartsAreDegreesMinutesSeconds) {
  auto survey = Open(Write({
      RangeLine("0453015", "0", "R1", 0, 0, 10, 0),
      DataLine({{"1", "1", "", "1", "0"}, {"9999999"}}),
      RangeLine("3595959.9", "0", "R2", 0, 0, 10, 0),
      DataLine({{"1", "1", "", "1", "0"}, {"9999999"}}),
  }));
  auto sections = survey->CrossSections();
  ASSERT_EQ(sections->Size(), 2);
  // 45 + 30/60 + 15/3600 = 45.504166...
  EXPECT_DOUBLE_EQ(sections->GetItem(0)->GeodeticAzimuth(), 45.504);
  // 359 + 59/60 + 59.9/3600 = 359.99997...
  EXPECT_DOUBLE_EQ(sections->GetItem(1)->GeodeticAzimuth(), 360.0);
}

TEST_F(Corvid830ReaderTest, ATLineWithAnotherTagIsACrossSectionOfOneLine) {
  std::string tline = DataLine({{"1", "1", "X", "1", "0"}, {"2", "2", "Y", "2", "0"}, {"9999999"}});
  tline.replace(0, 3, "TXX");
  auto survey = Open(Write({Header("T05", {{20, "C"}}), tline, RangeLine("0000000", "x", "R", 0, 0, 10, 0),
                            DataLine({{"1", "1", "", "1", "0"}, {"9999999"}})}));
  auto all = survey->AllCrossSections();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0]->PointCount(), 2u);
  EXPECT_EQ(all[1]->AltName(), "R");
  // Line numbers stay those of the file: the bad station is on line 3.
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].line, 3);
}

TEST_F(Corvid830ReaderTest, ABlockCutOffByTheEndOfTheFileIsDropped) {
  auto survey = Open(Write({
      RangeLine("0000000", "0", "R1", 0, 0, 10, 0),
      DataLine({{"1", "1", "", "1", "0"}, {"9999999"}}),
      RangeLine("0000000", "bad", "R2", 0, 0, 10, 0),
      DataLine({{"1", "1", "", "1", "0"}, {"2", "1", "", "1", "0"}}),
  }));
  EXPECT_EQ(survey->AllCrossSections().size(), 1u);
  EXPECT_TRUE(survey->Errors()->IsEmpty());  // the dropped block was never parsed
  EXPECT_EQ(survey->CurrentPID(), 1);
}

TEST_F(Corvid830ReaderTest, CodeDescriptionsComeFromTheFilesCodeDictionary) {
  WriteRaw("TOE;x;Toe of levee\nROD;Rod shot\n", "CODES.DAT");
  auto lines = StandardHeaders();
  for (const auto& l : OneSection()) lines.push_back(l);
  auto survey = Open(Write(lines));
  EXPECT_TRUE(survey->HasCustomCode("TOE"));
  EXPECT_FALSE(survey->HasCustomCode("toe"));
  EXPECT_EQ(survey->GetCustomCode("ROD"), "Rod shot");
  EXPECT_EQ(survey->GetCustomCode("XYZ"), "");
  EXPECT_EQ(survey->CodeDictionary().Size(), 2u);
  auto points = survey->CrossSections()->GetItem(0)->Points();
  EXPECT_EQ(points->GetItem(0)->CodeDescription(), "Toe of levee");
  EXPECT_EQ(points->GetItem(3)->CodeDescription(), "Rod shot");
  EXPECT_EQ(points->GetItem(4)->CodeDescription(), "Toe of levee");
}

TEST_F(Corvid830ReaderTest, PointsOutliveTheSurveyAndTheirSection) {
  std::shared_ptr<ISurveyPoint> point;
  {
    WriteRaw("TOE;Toe\n", "CODES.DAT");
    auto lines = OneSection();
    auto survey = Open(Write(lines));
    point = survey->CrossSections()->GetItem(0)->Points()->GetItem(0);
  }
  EXPECT_EQ(point->Code(), "TOE");
  EXPECT_EQ(point->CodeDescription(), "Toe");
  EXPECT_EQ(point->X(), -10.0);
}

TEST_F(Corvid830ReaderTest, AMissingFileIsReportedAndLeavesAnEmptySurvey) {
  auto survey = Open((dir_ / "absent.830").string());
  EXPECT_EQ(survey->CrossSections()->Size(), 0);
  EXPECT_EQ(survey->Filename(), (dir_ / "absent.830").string());
  const auto reports = Drain(*survey->Errors());
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].severity, 1);
  EXPECT_NE(reports[0].text.find("absent.830"), std::string::npos);
}

TEST_F(Corvid830ReaderTest, ReportsCarryTheFileName) {
  const auto path = Write({RangeLine("0000000", "bad", "R", 0, 0, 10, 0), DataLine({{"9999999"}})});
  auto survey = Open(path);
  ASSERT_FALSE(survey->Errors()->IsEmpty());
  EXPECT_EQ(survey->Errors()->Pop()->Filename(), path);
}

}  // namespace
}  // namespace veldrane
