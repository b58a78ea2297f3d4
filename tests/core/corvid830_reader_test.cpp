// The fixed-column (.830) reader through the survey factory: header
// records, cross-section blocks running to the first line that holds
// 9999999, their points, benchmarks and gage readings, and what it queues.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "model/text.h"
#include "readers/fixedcolumn/corvid830_survey.h"
#include "tests/core/reader_test_support.h"

namespace veldrane::test {
namespace {

struct Row {
  std::string offset{}, elevation{}, code{}, easting{}, northing{};
};

std::string RangeLine(std::string_view azimuth, std::string_view station, std::string_view name, double x1 = 0,
                      double y1 = 0, double x2 = 10, double y2 = 0) {
  return Columns()
      .At(1, "XS")
      .At(9, "A01")
      .At(36, azimuth)
      .Right(45, 56, station)
      .At(64, name)
      .Right(81, 92, FormatNumber(x1))
      .Right(93, 104, FormatNumber(y1))
      .Right(105, 116, FormatNumber(x2))
      .Right(117, 128, FormatNumber(y2))
      .Str();
}

// Up to four point groups: offset, elevation and code in columns 13-29 (and
// every 17 after), easting and northing in columns 81-104 (and every 24).
std::string DataLine(const std::vector<Row>& rows) {
  Columns c;
  c.At(9, "D01");
  for (std::size_t k = 0; k < rows.size(); ++k) {
    c.Right(13 + 17 * k, 19 + 17 * k, rows[k].offset);
    if (!rows[k].elevation.empty()) c.Right(20 + 17 * k, 26 + 17 * k, rows[k].elevation);
    if (!rows[k].code.empty()) c.At(27 + 17 * k, rows[k].code);
    if (!rows[k].easting.empty()) c.Right(81 + 24 * k, 92 + 24 * k, rows[k].easting);
    if (!rows[k].northing.empty()) c.Right(93 + 24 * k, 104 + 24 * k, rows[k].northing);
  }
  return c.PadTo(81).Str();
}
// One point at (offset, 0) and the end mark.
std::string OnePoint(const std::string& offset = "1", const std::string& code = "") {
  return DataLine({{offset, offset, code, offset, "0"}, {"9999999"}});
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

Lines StandardHeaders() {
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

// A full-width elevation touches the offset field's last column; the
// geodetic azimuth (degrees, minutes, seconds) rounds up at its third decimal.
const Lines kOneSection = {
    RangeLine("1234559.9", "1250.00", "RANGE 12", 0, 0, 100, 0),
    ControlLine({"PBM:", "BM ALPHA", "12.345", "G1", "3.25", "04/05/2021", "930"}),
    DataLine({{"-10.0", "5.1", "TOE", "-10.0", "0.0"},
              {"0.0", "-123.45", "CL", "0.0", "3.0"},
              {"15.5", "6.3", "", "15.5", "-4.0"},
              {"30", "5.5", "ROD", "30.0", "0.0"}}),
    DataLine({{"45.0", "4.0", "TOE", "45.0", "2.0"}, {"9999999", "", "", "", ""}}),
};

const std::string kT01Short =
    "Header record T01 is invalid. Filename should start in column 20, order in column 50, and hoziontal datum in "
    "column 75.";
const std::string kT02Short =
    "Header record T02 is invalid. Job should start in column 20, units in column 50, and vertical datum in column 75.";

struct Corvid830ReaderTest : ReadCaseTest {
  Corvid830ReaderTest() : ReadCaseTest("s.830") {}
};

TEST_F(Corvid830ReaderTest, HeaderRecords) {
  CheckLines({
      {{"header records fill the survey from their columns", "", {},
        R"({"OriginalFileName": "LEVEE830.DAT", "SurveyOrder": "2", "HorizontalDatum": "NAD83",
            "JobNumber": "J-4711", "Units": "FEET", "VerticalDatum": "NAVD88", "Projection": "1702",
            "Epoch": "2004.65", "Contractor": "Gulf Survey Co.", "Location": "Mile 12 to Mile 14",
            "Title": "Levee enlargement, reach 3", "SurveyDate": "2021-03-15T00:00:00",
            "SurveyStartDate": "2021-03-15T00:00:00", "SurveyEndDate": "2021-03-15T00:00:00"})"},
       StandardHeaders()},
      {{"fields are cut at their exact columns", "", {},
        R"({"OriginalFileName": "ABCDEFGHIJKLMNOPQRSTU", "SurveyOrder": "1", "HorizontalDatum": "NAD27X",
            "JobNumber": "12345678", "Units": "METERS", "VerticalDatum": "NGVD1929"})"},
       {Header("T01", {{19, "x"},
                       {20, "ABCDEFGHIJKLMNOPQRSTU"},
                       {41, "y"},
                       {49, "9"},
                       {50, "1"},
                       {51, "8"},
                       {73, "z"},
                       {74, "NAD27X"},
                       {80, "w"}}),
        Header("T02", {{20, "12345678"}, {28, "9"}, {50, "METERS"}, {56, "q"}, {74, "NGVD1929"}, {82, "r"}})}},
      {{"short header records are reported, or ignored for T04 to T07", "",
        {"1:1:" + kT01Short, "2:1:" + kT02Short,
         "3:1:Header record T03 is invalid. Survey date should start in column 20, zone in column 50, epoch in "
         "column 75."},
        // No T03 was accepted: the date-time value 0.
        R"({"OriginalFileName": "", "JobNumber": "", "Contractor": "", "Location": "",
            "SurveyDate": "1899-12-30T00:00:00"})"},
       {Header("T01", {{20, "NAME"}}, 60), Header("T02", {{20, "JOB"}}, 72), Header("T03", {{20, "01/02/2020"}}, 40),
        Header("T04", {{20, "A"}}, 30), Header("T05", {}, 20), Header("T06", {{20, "X"}}, 20)}},
      {{"trailing blanks do not count towards the length; a bad date is undefined", "",
        {"1:1:" + kT01Short, "2:1:Invalid Date String: Invalid Date Value : 13/45/2020"},
        R"({"OriginalFileName": "", "SurveyDate": "2000-12-31T00:00:00"})"},
       {Header("T01", {{20, "NAME"}}, 60) + std::string(30, ' '),
        Header("T03", {{20, "13/45/2020"}, {74, "2010"}}, 80)}},
  });
}

TEST_F(Corvid830ReaderTest, SectionsAndPoints) {
  CheckLines({
      {{"a range line, a control line and data lines of up to four points", "", {},
        R"({"CrossSections": [{"Station": 1250, "AltName": "RANGE 12", "StartX": 0, "StopX": 100,
            "GeodeticAzimuth": 123.767, "GridAzimuth": 90, "Benchmark": "BM ALPHA", "Gage": "G1",
            "WaterSurfaceElevation": 3.25, "SurveyDate": "2021-04-05T09:30:00",
            "WaterSurfaceTime": "2021-04-05T09:30:00",
            "Points": [{"Id": 0, "PointTag": "0", "X": -10, "Y": 0, "Z": 5.1, "Code": "TOE", "Station": -10,
                        "BaselineOffset": -10, "LateralOffset": 0},
                       {"Id": 1, "Station": 0, "Z": -123.45, "Code": "CL", "LateralOffset": 3},
                       {"Code": "", "Station": 15.5, "LateralOffset": 4}, {"Id": 3, "Station": 30, "Z": 5.5},
                       {"Id": 4, "PointTag": "4", "X": 45, "Y": 2, "LateralOffset": 2}]}],
            "VerticalControls": [{"Name": "BM ALPHA", "MeasuredElevation": 12.345, "IsPermanent": true,
                                  "VerticalDatum": "NAVD88", "Epoch": "2004.65", "DocumentedElevation": 0.0001,
                                  "SurveyDate": "2000-12-31T00:00:00"}],
            "Gages": [{"Name": "G1", "WaterSurfaceElevation": 3.25, "MeasurementDate": "2021-04-05T09:30:00",
                       "Benchmark": null}]})"},
       StandardHeaders() + kOneSection},
      // 90 - atan(0.3) in degrees with the survey's pi = 3.14159265: not rounded.
      {{"the grid azimuth comes from the range line, unrounded", "", {},
        R"({"CrossSections": [{"GridAzimuth": 270}, {"GridAzimuth": 0.0001}, {"GridAzimuth": 73.30075574692472}]})"},
       {RangeLine("0000000", "0", "R", 0, 0, -10, 0), OnePoint(), RangeLine("0000000", "0", "R", 5, 0, 5, 10),
        OnePoint(), RangeLine("0000000", "0", "R", 0, 0, 10, 3), OnePoint()}},
      {{"an offset of 9999999 ends the line's points; a block ends at the first line holding it", "", {},
        R"({"CrossSections": [{"AltName": "R", "Points": [{}, {}]},
            {"AltName": "T", "Points": [{"Code": "F", "Id": 2}]}]})"},
       {RangeLine("0000000", "0", "R"),
        DataLine({{"1", "1", "A", "1", "0"},
                  {"2", "2", "B", "2", "0"},
                  {"9999999", "", "", "", ""},
                  {"4", "4", "D", "4", "0"}}),
        RangeLine("0000000", "0", "S"), DataLine({{"9999999", "3", "C", "3", "0"}, {"5", "5", "E", "5", "0"}}),
        RangeLine("0000000", "0", "T"), OnePoint("6", "F")}},
      {{"the marker anywhere ends the block, even in a benchmark name", "", {},
        R"({"CrossSections": [{"AltName": "R2", "Points": [{}]}], "VerticalControls": [{"Name": "BM 9999999"}]})"},
       {RangeLine("0000000", "0", "R1"), ControlLine({"", "BM 9999999"}), RangeLine("0000000", "0", "R2"), OnePoint()}},
      {{"the opening line of a block does not close it", "", {},
        R"({"CrossSections": [{"Station": 9999999, "Points": [{}, {}, {}, {}, {}]}]})"},
       {RangeLine("0000000", "9999999", "R1"),
        DataLine({{"1", "1", "A", "1", "0"},
                  {"2", "2", "B", "2", "0"},
                  {"3", "3", "C", "3", "0"},
                  {"4", "4", "D", "4", "0"}}),
        DataLine({{"5", "5", "E", "5", "0"}, {"9999999"}})}},
      {{"a T line with another tag is a cross section of one line", "",
        {"3:1:Invalid Numeric Value : x"},
        R"({"CrossSections": [{"Points": [{"Code": "X"}, {"Code": "Y"}]}, {"AltName": "R"}]})"},
       {Header("T05", {{20, "C"}}),
        "TXX" + DataLine({{"1", "1", "X", "1", "0"}, {"2", "2", "Y", "2", "0"}, {"9999999"}}).substr(3),
        RangeLine("0000000", "x", "R"), OnePoint()}},
      {{"a block cut off by the end of the file is dropped unread", "", {},
        R"({"CrossSections": [{"AltName": "R1"}]})"},
       {RangeLine("0000000", "0", "R1"), OnePoint(), RangeLine("0000000", "bad", "R2"),
        DataLine({{"1", "1", "", "1", "0"}, {"2", "1", "", "1", "0"}})}},
      {{"data lines shorter than 81 characters are skipped silently", "", {},
        R"({"CrossSections": [], "VerticalControls": [{"Name": "BM1"}]})"},
       {RangeLine("0000000", "0", "R1"), ControlLine({"PBM:", "BM1"}), "        D01    1.0    2.0",
        "        D01    1.0    2.0                                        9999999"}},
  });
}

TEST_F(Corvid830ReaderTest, ReportsAndTheLinesTheyName) {
  std::string tab = OnePoint("1", "A");
  tab[4] = '\t';
  CheckLines({
      {{"headers and block lines report on their own line", "",
        {"1:1:" + kT01Short, "5:1:Invalid Numeric Value : abc", "7:1:Invalid Numeric Value : x1",
         "8:1:Invalid Numeric Value : zz", "10:1:" + kT02Short},
        R"({"Location": "Location", "CrossSections": [{}, {"Station": 0.0001}]})"},
       {Header("T01", {{20, "F"}}, 50), Header("T05", {{20, "Contractor"}}), RangeLine("0000000", "0", "R1"),
        OnePoint(), RangeLine("0000000", "abc", "R2"), ControlLine({"", "BM"}),
        DataLine(
            {{"1", "x1", "", "1", "0"}, {"2", "2", "", "2", "0"}, {"3", "3", "", "3", "0"}, {"4", "4", "", "4", "0"}}),
        DataLine({{"1", "1", "", "1", "zz"}, {"9999999"}}), Header("T06", {{20, "Location"}}),
        Header("T02", {{20, "J"}}, 10)}},
      {{"a data line reports its groups first, then its coordinates; the point is still made", "",
        {"2:1:Elevation Parse Error: No value specified for numeric attribute.", "2:1:Invalid Numeric Value : ",
         "2:1:Easting Parse Error: No value specified for numeric attribute.", "2:1:Invalid Numeric Value : "},
        R"({"CrossSections": [{"Points": [{"Z": 0.0001, "X": 0.0001, "Y": 1}]}]})"},
       {RangeLine("0000000", "0", "R1"), DataLine({{"1", "", "", "", "1"}, {"9999999"}})}},
      {{"a tab is reported with its column and the line is still read", "",
        {"2:0:Corvid830 files may not contain tabs. Tab found in column 5."},
        R"({"CrossSections": [{"Points": [{}]}]})"},
       {RangeLine("0000000", "0", "R"), tab}},
      {{"a geodetic azimuth that is no number stops the reading, keeping what came before", "",
        {"4:1:Geodetic azimuth in columns 36-47 is not degrees, minutes and seconds (DDDMMSS.S) : \"12A4530\". "
         "Reading of the file stopped at this line."},
        R"({"CrossSections": [{"AltName": "R1"}], "Contractor": "Contractor", "Location": ""})"},
       {Header("T05", {{20, "Contractor"}}), RangeLine("0000000", "0", "R1"), OnePoint(),
        RangeLine("12A4530", "0", "R2"), OnePoint(), RangeLine("0000000", "0", "R3"), OnePoint(),
        Header("T06", {{20, "Never read"}})}},
  });
}

TEST_F(Corvid830ReaderTest, ControlLines) {
  // Times of three digits read H:MM, of four HH:MM; a numeric time that is
  // no time of day is a warning, text is silently no time.
  const std::pair<std::string, std::string> times[] = {{"930", "09:30"}, {"1415", "14:15"}, {"0005", "00:05"},
                                                       {"ab", "00:00"},  {"", "00:00"},     {"2599", "00:00"},
                                                       {"30", "00:00"},  {"7", "07:07"}};
  Lines timed;
  OrderedJson sections = OrderedJson::array();
  for (const auto& [time, expected] : times) {
    timed =
        timed + Lines{RangeLine("0000000", "0", "R"), ControlLine({"", "", "", "G", "", "4/5/2021", time}), OnePoint()};
    sections.push_back({{"Gage", "G"}, {"SurveyDate", "2021-04-05T" + expected + ":00"}});
  }
  const std::string dates = OrderedJson{{"CrossSections", sections}}.dump();
  CheckLines({
      {{"control times", "",
        {"17:0:Invalid A02 time : 2599 is not a time of day. The date is used without a time.",
         "20:0:Invalid A02 time : 30 is not a time of day. The date is used without a time."},
        dates.c_str()},
       timed},
      {{"the permanent marker must lie in columns 1-18", "", {},
        R"({"CrossSections": [{"Benchmark": "TBM 7", "Gage": null}, {"Benchmark": "M: X"}, {"Benchmark": "Y"}],
            "VerticalControls": [{"Name": "TBM 7", "IsPermanent": false, "MeasuredElevation": 0.0001},
                                 {"Name": "M: X", "IsPermanent": false}, {"Name": "Y", "IsPermanent": true}]})"},
       StandardHeaders() + Lines{RangeLine("0000000", "0", "R1"), ControlLine({"", "TBM 7"}), OnePoint(),
                                 // "PBM:" from column 16 reaches column 19.
                                 RangeLine("0000000", "0", "R2"),
                                 Columns().At(1, ControlLine({})).At(16, "PBM:").At(21, "X").Str(), OnePoint(),
                                 RangeLine("0000000", "0", "R3"),
                                 Columns().At(1, ControlLine({})).At(14, "PBM:").At(20, "Y").Str(), OnePoint()}},
      {{"a section without a control date takes the survey date", "", {},
        R"({"CrossSections": [{"SurveyDate": "2021-03-15T00:00:00", "WaterSurfaceTime": "2021-03-15T00:00:00",
            "WaterSurfaceElevation": 0, "Benchmark": null, "Gage": null}]})"},
       StandardHeaders() + Lines{RangeLine("0000000", "0", "R"),
                                 ControlLine({"", "", "", "", "abc", "32/01/2021", "930"}), OnePoint()}},
  });
}

TEST_F(Corvid830ReaderTest, RepeatedBenchmarksAndGagesAreListedOnceAndReportedOnEveryCall) {
  const ControlFields same{"PBM:", "BM1", "10.0", "G1", "2.5", "4/5/2021", "1000"};
  const ControlFields other{"PBM:", "BM1", "10.5", "G1", "2.75", "4/5/2021", "1000"};
  Lines lines;
  for (const auto& f : {same, same, other, same})
    lines = lines + Lines{RangeLine("0000000", "0", "R"), ControlLine(f), OnePoint()};
  auto survey = Read("s.830", JoinLines(lines));
  EXPECT_EQ(errors_, Lines{});
  // Every call lists each once and reports each repeat again.
  for (int call = 0; call < 2; ++call) {
    const OrderedJson json = Json(*survey);
    ExpectMembers(json["VerticalControls"], R"([{"MeasuredElevation": 10}, {"MeasuredElevation": 10.5}])");
    ExpectMembers(json["Gages"], R"([{"WaterSurfaceElevation": 2.5}, {"WaterSurfaceElevation": 2.75}])");
    EXPECT_EQ(Drain(*survey->Errors()),
              (Lines{"12:0:Duplicate benchmark ignored: BM1", "12:0:Duplicate benchmark ignored: BM1",
                     "12:0:Duplicate Gage", "12:0:Duplicate Gage"}));
  }
}

// How the dictionary is matched is pinned by the PRO reader test: both
// readers share the fixed-column code table.
TEST_F(Corvid830ReaderTest, CodeDescriptionsComeFromTheFilesCodeDictionaryAndOutliveTheSurvey) {
  Write("CODES.DAT", "TOE;x;Toe of levee\n");
  auto survey = Read("s.830", JoinLines(StandardHeaders() + kOneSection));
  auto point = survey->CrossSections()->GetItem(0)->Points()->GetItem(0);
  survey.reset();
  EXPECT_EQ(point->Code() + " " + point->CodeDescription(), "TOE Toe of levee");
}

TEST(Corvid830CrossSectionTest, LateralOffsetIsTheDistanceFromTheRangeLine) {
  // x, y of the point, then the range line; a range line of one point
  // measures from it. (Points beside the segment, on either side, and off
  // its end, whose foot is on its extension, are pinned through the reader.)
  const std::array<double, 7> cases[] = {{0, 10, 0, 0, 10, 10, 7.0710678118654755}, {3, 4, 0, 0, 0, 0, 5}};
  for (const auto& c : cases)
    EXPECT_NEAR(Corvid830CrossSection::LateralOffset(c[0], c[1], c[2], c[3], c[4], c[5]), c[6], 1e-12);
}

}  // namespace
}  // namespace veldrane::test
