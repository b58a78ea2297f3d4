// The PRO (.pro) reader through the survey factory: the fixed-column header
// records (read by the code the .830 reader tests pin), then a free-format
// data section ("station easting northing elevation [code]" per line) that
// makes one profile.
#include <gtest/gtest.h>

#include <string>

#include "tests/core/reader_test_support.h"

namespace veldrane::test {
namespace {

const std::string kInvalidRecord =
    "1:Invalid Data Record. PRO data record must contain a station, easting, northing, elevation, and code values "
    "separated by spaces.";

struct ProReaderTest : ReadCaseTest {
  ProReaderTest() : ReadCaseTest("s.pro", "\n") {}
};

TEST_F(ProReaderTest, HeadersAndDataLines) {
  const std::string longCode(5000, 'C');
  const std::string longCodeMembers = R"({"ProfileCenterlines": [{"Points": [{}, {"Code": ")" + longCode + R"("}]}]})";
  CheckLines({
      {{"data lines become points of the one profile, numbered from 0", "", {},
        R"({"ProfileCenterlines": [{"SurveyDate": "2000-12-31T00:00:00",
            "Points": [{"Id": 0, "PointTag": "0", "Station": 1000, "X": 3456789.12, "Y": 512345.67, "Z": 12.5,
                        "Code": "TOE"},
                       {"Id": 1, "Station": 1050.5, "Code": "", "CodeDescription": ""},
                       {"Id": 2, "Code": "CL"}]}]})"},
       {Header("T03", {{20, "12/01/1999"}, {74, "1987"}}), "1000.00 3456789.12 512345.67 12.5 TOE",
        "  1050.5   3456800   512350   13.25", "1100 3456810.5 512360.25 14 CL extra fields ignored"}},
      {{"rejected lines are reported on their line, every bad field, and leave no gap in the ids", "",
        {"2:" + kInvalidRecord, "3:1:Invalid Numeric Value : 1OO", "7:" + kInvalidRecord,
         "8:1:Invalid Numeric Value : x7", "10:1:Invalid Numeric Value : a", "10:1:Invalid Numeric Value : b",
         "10:1:Invalid Numeric Value : c"},
        R"({"ProfileCenterlines": [{"Points": [{"Id": 0, "Station": 30, "Code": "RD"},
                                               {"Id": 1, "Station": 60}]}]})"},
       {Header("T01", {{20, "F"}, {74, "NAD83"}}), "10 100 200", "20 1OO 200 5", "", "   ", "30 300 400 6 RD",
        "40 500 600 ", "50 700 800 x7", "60 900 1000 8", "70 a b c"}},
      {{"NUL bytes, overflowing numbers and long fields do not stop the read", "",
        {"2:1:Invalid Numeric Value : " + std::string("5\0", 2),
         "3:1:Invalid Numeric Value : " + std::string(100000, '9'), "4:1:Invalid Numeric Value : 1e400"},
        longCodeMembers.c_str()},
       {"1 2 3 4", std::string("5\0 6 7 8", 8), std::string(100000, '9') + " 1 2 3", "1e400 1 2 3",
        "9 8 7 6 " + longCode}},
      {{"a T line after the first data line is data", "",
        {"2:" + kInvalidRecord, "3:1:Invalid Numeric Value : T01"},
        R"({"Contractor": "", "ProfileCenterlines": [{"Points": [{}]}]})"},
       {"1 2 3 4", Header("T05", {{20, "Late contractor"}}), "T01 1 2 3"}},
      {{"a header line with another tag is data, and headers go on", "",
        {"1:1:Invalid Numeric Value : TXX", "2:1:Invalid Numeric Value : T"},
        R"({"Contractor": "Contractor", "ProfileCenterlines": [{"Points": [{"Id": 0}]}]})"},
       {"TXX 1 2 3", "T 5 6 7 8", Header("T05", {{20, "Contractor"}}), "1 2 3 4"}},
  });
}

TEST_F(ProReaderTest, TabsAndShortHeaders) {
  CheckLines({
      {{"tabs are reported once for the whole data section, at the first; a tab is no separator", "",
        {"4:1:PRO files may not tabs.", "4:1:Invalid Numeric Value : 3\t4", "5:1:Invalid Numeric Value : 7\t",
         "6:" + kInvalidRecord},
        R"({"ProfileCenterlines": [{"Points": [{}, {}]}]})"},
       {Header("T05", {{20, "C"}}), "1 2 3 4", "2 3 4 5", "3\t4 5 6 7", "4 5 6 7\t", "\t"}},
      {{"a tab in a header record is reported on its own", "",
        {"1:1:PRO files may not tabs.", "3:1:PRO files may not tabs.", "3:1:Invalid Numeric Value : 2\t3"},
        R"({"Contractor": "Con\ttractor"})"},
       {Header("T05", {{20, "Con\ttractor"}}), "1 2 3 4", "2\t3 4 5 6"}},
      {{"a T04 shorter than 50 characters (trailing blanks not counted) is reported", "",
        {"1:1:Header record T04 must contain at least 50 characters",
         "2:1:Header record T04 must contain at least 50 characters"},
        "{}"},
       {Header("T04", {{20, "ABC"}}, 40), Header("T04", {{20, "ABC"}, {50, "x"}}, 60),
        Header("T04", {{20, "ABC"}, {50, "xy"}})}},
  });
}

// The file's dictionary is matched exactly; a code it lacks ("toe") takes the
// shipped table's description, whatever its letter case.
TEST_F(ProReaderTest, CodeDescriptionsComeFromTheFilesDictionaryFirst) {
  Write("CODES.DAT", "TOE;Toe of slope\r\nCL;a;Centerline\r\nX\r\n");
  auto survey = Read("s.pro", "1 2 3 4 TOE\n2 3 4 5 CL\n3 4 5 6 toe\n");
  ExpectMembers(Json(*survey), R"({"ProfileCenterlines": [{"Points": [{"CodeDescription": "Toe of slope"},
      {"CodeDescription": "Centerline"}, {"Code": "toe", "CodeDescription": "TOE OF SLOPE"}]}]})");
  EXPECT_EQ(survey->GetCustomCode("CL"), "Centerline");
}

}  // namespace
}  // namespace veldrane::test
