// The traverse (.27, .83) reader through the survey factory: the 25-line
// header and the four-line station groups that follow it.
#include <gtest/gtest.h>

#include <string>

#include "model/constants.h"
#include "readers/traverse/tessel_traverse_point.h"
#include "tests/core/reader_test_support.h"
#include "tests/core/recording_monitor.h"

namespace veldrane::test {
namespace {

struct Station {
  std::string id = "001", altName = "IRON ROD FOUND", backAzimuth = "269-59-58.20", scale = "0.99997512",
              convergence = "0-12-34.56";
  std::string name = "12+34.56", adjustedAngle = "179-59-59", adjustedDistance = "1002.345", forward = "89-59-58.20",
              planeDistance = "1002.370", planeAzimuth = "90-12-32.76", northing = "512345.678",
              easting = "3456789.012";
  std::string measuredAngle = "180-00-01", measuredDistance = "1002.350", latitude = "29-55-12.34567",
              longitude = "90-07-45.67890";
};

Lines Group(const Station& s) {
  return {
      Columns()
          .At(1, "(" + s.id + ")")
          .At(6, s.altName)
          .At(47, s.backAzimuth)
          .At(68, s.scale)
          .At(85, s.convergence)
          .Str(),
      Columns()
          .At(1, s.name)
          .At(16, s.adjustedAngle)
          .At(30, s.adjustedDistance)
          .At(47, s.forward)
          .At(68, s.planeDistance)
          .At(85, s.planeAzimuth)
          .At(100, s.northing)
          .At(116, s.easting)
          .Str(),
      Columns().At(16, s.measuredAngle).At(30, s.measuredDistance).At(100, s.latitude).At(116, s.longitude).Str(), "",
  };
}

Lines HeaderLines(std::string line14 = "NORTH AMERICAN DATUM OF 1983", std::string line16 = "LOUISIANA SOUTH ZONE 1702",
                  std::string date = "06/30/2019") {
  Lines lines(25, std::string());
  lines[0] = Columns().At(1, "JOB NO").At(8, "LEVEE TRAVERSE 44-B").At(122, date).Str();
  lines[1] = Columns().At(1, "TRAVERSE TITLE").At(21, "Reach 4 control traverse").Str();
  lines[2] = Columns().At(1, "FIELDBK").At(10, "FB 1021 PG 12-19").Str();
  lines[13] = "   " + line14 + "   ";
  lines[15] = "  " + line16;
  lines[24] = "  STATION   ANGLE   DISTANCE ...";
  return lines;
}

struct TraverseReaderTest : ReadCaseTest {
  TraverseReaderTest() : ReadCaseTest("s.83") {}
};

TEST_F(TraverseReaderTest, Header) {
  Lines wide = HeaderLines();
  wide[0] = Columns().At(7, "x").At(8, std::string(50, 'J')).At(58, "y").At(121, "1").At(122, "6/30/2019").Str();
  wide[1] = Columns().At(20, "x").At(21, std::string(80, 'T')).At(101, "y").Str();
  wide[2] = Columns().At(9, "x").At(10, std::string(80, 'F')).At(90, "y").Str();
  Lines elsewhere = HeaderLines("NO DATUM HERE");
  elsewhere[12] = elsewhere[14] = "DATUM 1983";
  Lines shortFile = HeaderLines();
  shortFile.resize(15);
  const std::string wideMembers = R"({"JobNumber": ")" + std::string(50, 'J') + R"(", "Title": ")" +
                                  std::string(80, 'T') + R"(", "FieldBook": ")" + std::string(80, 'F') +
                                  R"(", "TraverseDate": "2019-06-30T00:00:00"})";
  CheckLines({
      {{"job, title, field book, datum, zone and date", "", {},
        R"({"JobNumber": "LEVEE TRAVERSE 44-B", "Title": "Reach 4 control traverse", "FieldBook": "FB 1021 PG 12-19",
            "HorizontalDatum": "NAD83", "Projection": "1702", "TraverseDate": "2019-06-30T00:00:00",
            "TraversePoints": []})"},
       HeaderLines()},
      {{"header fields stop at their last column", "", {}, wideMembers.c_str()}, wide},
      {{"a datum naming both years is NAD83", "", {}, R"({"HorizontalDatum": "NAD83"})"},
       HeaderLines("NAD 1927 ADJUSTED TO 1983")},
      {{"1927 alone is NAD27", "", {}, R"({"HorizontalDatum": "NAD27"})"}, HeaderLines("NORTH AMERICAN DATUM OF 1927")},
      {{"an unknown datum and zone are reported on lines 14 and 16", "",
        {"14:1:Unrecognized horizontal datum : WGS 84", "16:1:Unrecognized state plane zone : TEXAS SOUTH CENTRAL"},
        R"({"HorizontalDatum": "", "Projection": ""})"},
       HeaderLines("WGS 84", "TEXAS SOUTH CENTRAL")},
      {{"the datum is looked for on line 14 only", "",
        {"14:1:Unrecognized horizontal datum : NO DATUM HERE"},
        R"({"HorizontalDatum": ""})"},
       elsewhere},
      {{"a date that is no date, or none, is the undefined date", "", {}, R"({"TraverseDate": "2000-12-31T00:00:00"})"},
       HeaderLines("1983", "LOUISIANA SOUTH", "JUNE 2019")},
      {{"a file that ends in the header has no stations, and line 16 was never read", "", {},
        R"({"TraversePoints": [], "HorizontalDatum": "NAD83", "Projection": ""})"},
       shortFile},
  });
}

TEST_F(TraverseReaderTest, StationGroups) {
  // A bad field on each line of the group.
  const Station bad{.id = "0X2", .adjustedDistance = "10O2.3", .latitude = "29-55"};
  const Lines group = Group(Station());
  CheckLines({
      {{"a station group is read from its columns", "", {},
        R"({"TraversePoints": [{"TraversePointId": 1, "AltName": "IRON ROD FOUND", "BackGeodeticAzimuth": 269.9995,
            "ScaleFactor": 0.99997512, "Convergence": 0.2096, "StationName": "12+34.56", "Station": 1234.56,
            "AdjustedAngle": 179.9997222222222, "AdjustedDistance": 1002.345, "ForwardGeodeticAzimuth": 89.9995,
            "PlaneDistance": 1002.37, "PlaneAzimuth": 90.2091, "Northing": 512345.678, "Easting": 3456789.012,
            "MeasuredAngle": 180.00027777777777, "MeasuredDistance": 1002.35, "Latitude": 29.920096019444447,
            "Longitude": 90.12935524999999}]})"},
       HeaderLines() + group},
      {{"stations end at the first line that opens no group", "", {},
        R"({"TraversePoints": [{"TraversePointId": 1}, {"TraversePointId": 2}, {"TraversePointId": 3}]})"},
       HeaderLines() + group + Group(Station{.id = "002"}) + Group(Station{.id = "003"}) +
           Lines{"  ADJUSTMENT SUMMARY"} + Group(Station{.id = "004"})},
      {{"a group opens with parentheses in columns 1 and 5", "", {}, R"({"TraversePoints": [{}]})"},
       HeaderLines() + group + Lines{" (002) shifted by one column"}},
      {{"an id of four digits puts \")\" in column 6", "", {}, R"({"TraversePoints": [{}]})"},
       HeaderLines() + group + Group(Station{.id = "0002"})},
      {{"parse errors name the line of their field", "",
        {"30:1:Invalid Numeric Value : 0X2", "31:1:Invalid Numeric Value : 10O2.3",
         "32:1:: Invalid Angle - angle should be written as three numbers separated by dashes : 29-55"},
        R"({"TraversePoints": [{}, {"TraversePointId": 9999999, "AdjustedDistance": 0.0001, "Latitude": 0}]})"},
       HeaderLines() + group + Group(bad)},
  });
  finalBreak_ = false;
  CheckLines({{{"a group cut by the end of the file is still added", "", {},
                R"({"TraversePoints": [{"TraversePointId": 1, "Easting": 3456789.012, "MeasuredDistance": 0.0001,
                    "Latitude": 0.0001}]})"},
               HeaderLines() + Lines{group[0], group[1]}},
              {{"a group of its first line only", "", {}, R"({"TraversePoints": [{"StationName": ""}]})"},
               HeaderLines() + Lines{group[0]}}});
}

TEST_F(TraverseReaderTest, AStationNameThatIsNoNumberIsReportedOnEveryRead) {
  auto traverse = Read<ITraverse>("s.83", JoinLines(HeaderLines() + Group(Station{.name = ""})));
  EXPECT_EQ(errors_, Lines{});
  auto point = traverse->TraversePoints()->GetItem(0);
  EXPECT_EQ(point->Station(), kUndefinedNumber);
  EXPECT_EQ(point->Station(), kUndefinedNumber);
  EXPECT_EQ(Drain(*traverse->Errors()).size(), 4u);
  traverse.reset();  // the stations outlive the traverse
  EXPECT_EQ(point->AltName(), "IRON ROD FOUND");
}

TEST(TesselTraversePointTest, StationIsReadFromTheName) {
  // "+" and "=" are dropped, blanks read as zeros, and only the first 15
  // characters count.
  const std::pair<const char*, double> cases[] = {
      {"12+34.56", 1234.56}, {"1+ 5.20", 105.20}, {"10+00", 1000}, {"5+00=6+10", 500610},
      {"1234567890123456789", 123456789012345.0}, {"", kUndefinedNumber}, {"STA A", kUndefinedNumber}};
  RecordingMonitor monitor;
  for (const auto& [name, station] : cases) EXPECT_EQ(TesselTraversePoint::StationFromName(monitor, name), station);
  EXPECT_EQ(monitor.messages, (Lines{": No value specified for numeric attribute.",
                                     "Invalid Numeric Value : ", "Invalid Numeric Value : STA0A"}));
}

}  // namespace
}  // namespace veldrane::test
