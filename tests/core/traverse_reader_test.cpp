// The traverse (.27, .83) reader: the 25-line header and the four-line
// station groups.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/constants.h"
#include "readers/traverse/tessel_traverse.h"
#include "tests/core/reader_test_support.h"
#include "tests/core/recording_monitor.h"

namespace veldrane {
namespace {

using test::Columns;
using test::Drain;

struct Station {
  std::string id = "001", altName = "IRON ROD FOUND", backAzimuth = "269-59-58.20", scale = "0.99997512",
              convergence = "0-12-34.56";
  std::string name = "12+34.56", adjustedAngle = "179-59-59", adjustedDistance = "1002.345", forward = "89-59-58.20",
              planeDistance = "1002.370", planeAzimuth = "90-12-32.76", northing = "512345.678",
              easting = "3456789.012";
  std::string measuredAngle = "180-00-01", measuredDistance = "1002.350", latitude = "29-55-12.34567",
              longitude = "90-07-45.67890";
};

std::vector<std::string> Group(const Station& s) {
  return {
      Columns().At(1, "(" + s.id + ")").At(6, s.altName).At(47, s.backAzimuth).At(68, s.scale).At(85, s.convergence)
          .Str(),
      Columns().At(1, s.name).At(16, s.adjustedAngle).At(30, s.adjustedDistance).At(47, s.forward)
          .At(68, s.planeDistance).At(85, s.planeAzimuth).At(100, s.northing).At(116, s.easting).Str(),
      Columns().At(16, s.measuredAngle).At(30, s.measuredDistance).At(100, s.latitude).At(116, s.longitude).Str(),
      "",
  };
}

std::vector<std::string> HeaderLines(std::string line14 = "NORTH AMERICAN DATUM OF 1983",
                                     std::string line16 = "LOUISIANA SOUTH ZONE 1702",
                                     std::string date = "06/30/2019") {
  std::vector<std::string> lines(25, std::string());
  lines[0] = Columns().At(1, "JOB NO").At(8, "LEVEE TRAVERSE 44-B").At(122, date).Str();
  lines[1] = Columns().At(1, "TRAVERSE TITLE").At(21, "Reach 4 control traverse").Str();
  lines[2] = Columns().At(1, "FIELDBK").At(10, "FB 1021 PG 12-19").Str();
  lines[13] = "   " + line14 + "   ";
  lines[15] = "  " + line16;
  lines[24] = "  STATION   ANGLE   DISTANCE ...";
  return lines;
}

class TraverseReaderTest : public test::ScratchFileTest {
 protected:
  std::shared_ptr<TesselTraverse> Open(const std::vector<std::string>& lines, const std::string& eol = "\r\n",
                                       bool finalEol = true) {
    return OpenRaw(test::JoinLines(lines, eol, finalEol));
  }
  std::shared_ptr<TesselTraverse> OpenRaw(const std::string& text) {
    path_ = Write("control.83", text);
    auto traverse = std::make_shared<TesselTraverse>();
    traverse->OpenTraverse(path_);
    return traverse;
  }

  std::string path_;
};

std::vector<std::string> With(std::vector<std::string> lines, const std::vector<std::string>& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

TEST_F(TraverseReaderTest, HeaderGivesJobTitleFieldBookDatumZoneAndDate) {
  auto traverse = Open(HeaderLines());
  test::ExpectTexts<ITraverse>(
      *traverse, {{&ITraverse::JobNumber, "LEVEE TRAVERSE 44-B"}, {&ITraverse::Title, "Reach 4 control traverse"},
                  {&ITraverse::FieldBook, "FB 1021 PG 12-19"}, {&ITraverse::HorizontalDatum, "NAD83"},
                  {&ITraverse::Projection, "1702"}, {&ITraverse::OriginalFileName, path_}, {&ITraverse::Units, "Feet"},
                  {&ITraverse::HorizontalEpoch, ""}, {&ITraverse::HorizontalAccuracyClass, ""},
                  {&ITraverse::PageNumber, ""}, {&ITraverse::Comments, ""}});
  EXPECT_EQ(traverse->TraverseDate().ToIso(), "2019-06-30T00:00:00");
  EXPECT_EQ(traverse->HorizontalAccuracy(), kUndefinedNumber);
  EXPECT_EQ(traverse->TraversePoints()->Size(), 0);
  EXPECT_TRUE(traverse->Errors()->IsEmpty());
}

TEST_F(TraverseReaderTest, HeaderFieldsStopAtTheirLastColumn) {
  auto lines = HeaderLines();
  lines[0] = Columns().At(7, "x").At(8, std::string(50, 'J')).At(58, "y").At(121, "1").At(122, "6/30/2019").Str();
  lines[1] = Columns().At(20, "x").At(21, std::string(80, 'T')).At(101, "y").Str();
  lines[2] = Columns().At(9, "x").At(10, std::string(80, 'F')).At(90, "y").Str();
  auto traverse = Open(lines);
  EXPECT_EQ(traverse->JobNumber(), std::string(50, 'J'));
  EXPECT_EQ(traverse->Title(), std::string(80, 'T'));
  EXPECT_EQ(traverse->FieldBook(), std::string(80, 'F'));
  EXPECT_EQ(traverse->TraverseDate().ToIso(), "2019-06-30T00:00:00");
}

TEST_F(TraverseReaderTest, DatumAndZoneComeFromLines14And16) {
  auto both = Open(HeaderLines("NAD 1927 ADJUSTED TO 1983"));
  EXPECT_EQ(both->HorizontalDatum(), "NAD83");
  auto old = Open(HeaderLines("NORTH AMERICAN DATUM OF 1927"));
  EXPECT_EQ(old->HorizontalDatum(), "NAD27");
  EXPECT_TRUE(old->Errors()->IsEmpty());

  auto neither = Open(HeaderLines("WGS 84", "TEXAS SOUTH CENTRAL"));
  EXPECT_EQ(neither->HorizontalDatum(), "");
  EXPECT_EQ(neither->Projection(), "");
  const auto reports = Drain(*neither->Errors());
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].text, "Unrecognized horizontal datum : WGS 84");
  EXPECT_EQ(reports[0].line, 14);
  EXPECT_EQ(reports[0].severity, 1);
  EXPECT_EQ(reports[1].text, "Unrecognized state plane zone : TEXAS SOUTH CENTRAL");
  EXPECT_EQ(reports[1].line, 16);
  EXPECT_EQ(reports[1].severity, 1);
}

TEST_F(TraverseReaderTest, DatumIsLookedForOnLine14Only) {
  auto lines = HeaderLines("NO DATUM HERE");
  lines[12] = "DATUM 1983";
  lines[14] = "DATUM 1983";
  auto traverse = Open(lines);
  EXPECT_EQ(traverse->HorizontalDatum(), "");
  ASSERT_FALSE(traverse->Errors()->IsEmpty());
  EXPECT_EQ(traverse->Errors()->Pop()->LineNumber(), 14);
}

TEST_F(TraverseReaderTest, ADateThatIsNoDateGivesTheUndefinedDate) {
  auto traverse = Open(HeaderLines("1983", "LOUISIANA SOUTH", "JUNE 2019"));
  EXPECT_EQ(traverse->TraverseDate(), DateTime::Undefined());
  auto none = Open(HeaderLines("1983", "LOUISIANA SOUTH", ""));
  EXPECT_EQ(none->TraverseDate(), DateTime::Undefined());
  EXPECT_TRUE(none->Errors()->IsEmpty());
}

TEST_F(TraverseReaderTest, StationGroupsAreReadFromTheirColumns) {
  Station s;
  auto traverse = Open(With(HeaderLines(), Group(s)));
  auto points = traverse->TraversePoints();
  ASSERT_EQ(points->Size(), 1);
  auto p = points->GetItem(0);
  EXPECT_EQ(p->TraversePointId(), 1);
  EXPECT_EQ(p->AltName(), "IRON ROD FOUND");
  EXPECT_DOUBLE_EQ(p->BackGeodeticAzimuth(), 269 + 59 / 60.0 + 58.2 / 3600);
  EXPECT_EQ(p->ScaleFactor(), 0.99997512);
  EXPECT_DOUBLE_EQ(p->Convergence(), 12 / 60.0 + 34.56 / 3600);
  EXPECT_EQ(p->StationName(), "12+34.56");
  EXPECT_DOUBLE_EQ(p->Station(), 1234.56);
  EXPECT_DOUBLE_EQ(p->AdjustedAngle(), 179 + 59 / 60.0 + 59 / 3600.0);
  EXPECT_EQ(p->AdjustedDistance(), 1002.345);
  EXPECT_DOUBLE_EQ(p->ForwardGeodeticAzimuth(), 89 + 59 / 60.0 + 58.2 / 3600);
  EXPECT_EQ(p->PlaneDistance(), 1002.370);
  EXPECT_DOUBLE_EQ(p->PlaneAzimuth(), 90 + 12 / 60.0 + 32.76 / 3600);
  EXPECT_EQ(p->Northing(), 512345.678);
  EXPECT_EQ(p->Easting(), 3456789.012);
  EXPECT_DOUBLE_EQ(p->MeasuredAngle(), 180 + 1 / 3600.0);
  EXPECT_EQ(p->MeasuredDistance(), 1002.350);
  EXPECT_DOUBLE_EQ(p->Latitude(), 29 + 55 / 60.0 + 12.34567 / 3600);
  EXPECT_DOUBLE_EQ(p->Longitude(), 90 + 7 / 60.0 + 45.6789 / 3600);
  EXPECT_TRUE(traverse->Errors()->IsEmpty());
}

TEST_F(TraverseReaderTest, StationIsComputedFromTheName) {
  test::RecordingMonitor monitor;
  EXPECT_DOUBLE_EQ(TesselTraversePoint::StationFromName(monitor, "12+34.56"), 1234.56);
  EXPECT_DOUBLE_EQ(TesselTraversePoint::StationFromName(monitor, "1+ 5.20"), 105.20);
  EXPECT_DOUBLE_EQ(TesselTraversePoint::StationFromName(monitor, "10+00"), 1000);
  EXPECT_DOUBLE_EQ(TesselTraversePoint::StationFromName(monitor, "5+00=6+10"), 500610);
  // Only the first 15 characters count.
  EXPECT_DOUBLE_EQ(TesselTraversePoint::StationFromName(monitor, "1234567890123456789"), 123456789012345.0);
  EXPECT_TRUE(monitor.messages.empty());
  EXPECT_EQ(TesselTraversePoint::StationFromName(monitor, ""), kUndefinedNumber);
  ASSERT_EQ(monitor.messages.size(), 2u);
  EXPECT_EQ(monitor.messages[0], ": No value specified for numeric attribute.");
  EXPECT_EQ(TesselTraversePoint::StationFromName(monitor, "STA A"), kUndefinedNumber);
  EXPECT_EQ(monitor.messages.back(), "Invalid Numeric Value : STA0A");
}

TEST_F(TraverseReaderTest, AnEmptyStationNameIsReportedOnEveryRead) {
  Station s;
  s.name = "";
  auto traverse = Open(With(HeaderLines(), Group(s)));
  auto p = traverse->TraversePoints()->GetItem(0);
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(traverse->Errors()->IsEmpty());
  EXPECT_EQ(p->Station(), kUndefinedNumber);
  EXPECT_EQ(p->Station(), kUndefinedNumber);
  const auto reports = Drain(*traverse->Errors());
  ASSERT_EQ(reports.size(), 4u);
  EXPECT_EQ(reports[0].text, ": No value specified for numeric attribute.");
}

TEST_F(TraverseReaderTest, StationsEndAtTheFirstLineThatOpensNoGroup) {
  std::vector<std::string> lines = HeaderLines();
  for (const char* id : {"001", "002", "003"}) {
    Station s;
    s.id = id;
    lines = With(lines, Group(s));
  }
  lines.push_back("  ADJUSTMENT SUMMARY");
  Station late;
  late.id = "004";
  lines = With(lines, Group(late));
  auto traverse = Open(lines);
  auto points = traverse->TraversePoints();
  ASSERT_EQ(points->Size(), 3);
  EXPECT_EQ(points->GetItem(0)->TraversePointId(), 1);
  EXPECT_EQ(points->GetItem(2)->TraversePointId(), 3);
  EXPECT_EQ(points->GetItem(3), nullptr);
  EXPECT_TRUE(traverse->Errors()->IsEmpty());
  // GetNext walks the stations in file order.
  EXPECT_EQ(points->GetNext()->TraversePointId(), 1);
  EXPECT_EQ(points->GetNext()->TraversePointId(), 2);
  EXPECT_EQ(points->GetNext()->TraversePointId(), 3);
  EXPECT_EQ(points->GetNext(), nullptr);
}

TEST_F(TraverseReaderTest, AGroupMustOpenWithParenthesesInColumnsOneAndFive) {
  Station s;
  auto lines = With(HeaderLines(), Group(s));
  lines.push_back(" (002) shifted by one column");
  auto traverse = Open(lines);
  EXPECT_EQ(traverse->TraversePoints()->Size(), 1);
  Station wide;
  wide.id = "0002";  // ")" lands in column 6
  auto other = Open(With(With(HeaderLines(), Group(s)), Group(wide)));
  EXPECT_EQ(other->TraversePoints()->Size(), 1);
}

TEST_F(TraverseReaderTest, AGroupCutByTheEndOfTheFileIsStillAdded) {
  Station s;
  auto group = Group(s);
  auto traverse = Open(With(HeaderLines(), {group[0], group[1]}), "\n", false);
  auto points = traverse->TraversePoints();
  ASSERT_EQ(points->Size(), 1);
  auto p = points->GetItem(0);
  EXPECT_EQ(p->TraversePointId(), 1);
  EXPECT_EQ(p->Easting(), 3456789.012);
  // The third line was never read.
  EXPECT_EQ(p->MeasuredDistance(), kUndefinedNumber);
  EXPECT_EQ(p->Latitude(), kUndefinedNumber);
  EXPECT_TRUE(traverse->Errors()->IsEmpty());

  auto firstOnly = Open(With(HeaderLines(), {group[0]}), "\n", false);
  ASSERT_EQ(firstOnly->TraversePoints()->Size(), 1);
  EXPECT_EQ(firstOnly->TraversePoints()->GetItem(0)->StationName(), "");
}

TEST_F(TraverseReaderTest, ParseErrorsNameTheLineOfTheField) {
  Station good;
  Station bad;
  bad.id = "0X2";
  bad.adjustedDistance = "10O2.3";   // line 2 of the group
  bad.latitude = "29-55";            // line 3 of the group
  auto traverse = Open(With(With(HeaderLines(), Group(good)), Group(bad)));
  ASSERT_EQ(traverse->TraversePoints()->Size(), 2);
  auto p = traverse->TraversePoints()->GetItem(1);
  EXPECT_EQ(p->TraversePointId(), kUndefinedPointId);
  EXPECT_EQ(p->AdjustedDistance(), kUndefinedNumber);
  EXPECT_EQ(p->Latitude(), 0.0);
  const auto reports = Drain(*traverse->Errors());
  ASSERT_EQ(reports.size(), 3u);
  // Header 1-25, first group 26-29, second group 30-33.
  EXPECT_EQ(reports[0].line, 30);
  EXPECT_EQ(reports[0].text, "Invalid Numeric Value : 0X2");
  EXPECT_EQ(reports[1].line, 31);
  EXPECT_EQ(reports[1].text, "Invalid Numeric Value : 10O2.3");
  EXPECT_EQ(reports[2].line, 32);
  EXPECT_EQ(reports[2].text,
            ": Invalid Angle - angle should be written as three numbers separated by dashes : 29-55");
}

TEST_F(TraverseReaderTest, AShortFileHasNoStations) {
  auto lines = HeaderLines();
  lines.resize(15);
  auto traverse = Open(lines);
  EXPECT_EQ(traverse->TraversePoints()->Size(), 0);
  EXPECT_EQ(traverse->HorizontalDatum(), "NAD83");
  EXPECT_EQ(traverse->Projection(), "");  // line 16 was never read: nothing to report
  EXPECT_TRUE(traverse->Errors()->IsEmpty());
}

TEST_F(TraverseReaderTest, StationsOutliveTheTraverseObject) {
  std::shared_ptr<ITraversePoint> point;
  {
    Station s;
    point = Open(With(HeaderLines(), Group(s)))->TraversePoints()->GetItem(0);
  }
  EXPECT_EQ(point->StationName(), "12+34.56");
  EXPECT_DOUBLE_EQ(point->Station(), 1234.56);
}

TEST_F(TraverseReaderTest, AMissingFileIsReported) {
  auto traverse = std::make_shared<TesselTraverse>();
  traverse->OpenTraverse((dir_ / "none.27").string());
  EXPECT_EQ(traverse->TraversePoints()->Size(), 0);
  EXPECT_FALSE(traverse->Errors()->IsEmpty());
}

}  // namespace
}  // namespace veldrane
