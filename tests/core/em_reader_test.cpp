// The EM reader through the survey factory: each case is a file, every
// record it queues ("LINE:SEVERITY:TEXT") and the members it must give.
// Coordinate lines give the northing before the easting; problems inside a
// block of coordinates are reported on the block's last line.
#include <gtest/gtest.h>

#include <tuple>

#include "readers/em/em_baseline_point.h"
#include "readers/em/em_equipment.h"
#include "readers/em/em_survey.h"
#include "readers/em/em_weather.h"
#include "tests/core/reader_test_support.h"

namespace veldrane::test {
namespace {

using EMReadTest = ReadCaseTest;

const std::string kGageIncomplete =
    "1:Invalid gage record: a gage must define its water surface elevation (#G03) and its time (#G04) before the "
    "declaration of a feature record (#X01, #P01, #M01 or #A01).";
const std::string kNulLine("P1 2000 1010 10\0junk", 20);

TEST_F(EMReadTest, HeaderRecords) {
  CheckAll(
      "s.em",
      {
          {"every header record; the first #H10 and #H11 win, #H2x is the title, others comments",
           "#H00 EM09\n#H01 orig.txt\n#h05 J-123\n#H02 03/01/2023\n#H02 3/5/2023\n#H03 +-0.05\n#H04 NAD83\n#H06 Feet\n"
           "#H07 LA South\n#H08 Bayou\n#H09 Acme\n#H10 FB-1\n#H10 FB-2\n#H11 P7\n#H12 0.9999\n#H13 Orleans\n#H14 Quad\n"
           "#H15 C-9\n#H16 1991\n#H17 +-0.1\n#H20 Levee\n#H21 Survey\n#H30 first\n#H31 second\n#H18 x\n", {},
           R"({"version": "EM09", "OriginalFileName": "orig.txt", "JobNumber": "J-123", "SurveyOrder": "",
           "HorizontalDatum": "NAD83", "Units": "Feet", "Projection": "LA South", "Location": "Bayou",
           "Contractor": "Acme", "FieldBook": "FB-1", "PageNumber": "P7", "ParishName": "Orleans", "QuadName": "Quad",
           "ContractNumber": "C-9", "HorizontalEpoch": "1991", "HorizontalAccuracyClass": "", "Title": "Levee Survey",
           "Comments": "first second", "SurveyStartDate": "2023-03-01T00:00:00", "SurveyDate": "2023-03-01T00:00:00",
           "SurveyEndDate": "2023-03-05T00:00:00", "VerticalAccuracy": 0.05, "CombinedScaleFactor": 0.9999,
           "HorizontalAccuracy": 0.1, "Baseline": null})"},
          {"an empty record clears; classes instead of accuracies; defaults",
           "#H05 J-1\n#H05\n#H03 First\n#H17 Second\n", {},
           R"({"JobNumber": "", "SurveyOrder": "First", "VerticalAccuracyClass": "First",
           "HorizontalAccuracyClass": "Second", "VerticalAccuracy": 0.0001, "HorizontalAccuracy": 0.0001,
           "CombinedScaleFactor": 0, "version": "EM06", "SurveyStartDate": "2000-12-31T00:00:00"})"},
          {"bad version, number and date on their lines; a failed date is still the current one",
           "#H05 A\n#H00 EM07\n#H12 abc\n#H02 13/45/2020\n",
           {"2:1:Invalid File Format Version : EM07", "3:1:Invalid Numeric Value : abc",
            "4:1:Invalid #H02 Record: Invalid Date Value : 13/45/2020"},
           R"({"version": "INVALID_EM_VERSION", "CombinedScaleFactor": 0.0001, "SurveyEndDate": "2000-12-31T00:00:00"})"},
          {"tabs separate like blanks, also before a coordinate line's first field; unknown codes are silent",
           "#H05\tJ-9\n#Z01 whatever\n#Q\n#\n#M01 x\n\tP1\t2000\t1010\t10\n", {},
           R"({"JobNumber": "J-9", "MiscShotPoints": [{"Point": {"PointTag": "P1", "X": 1010, "Y": 2000}}]})"},
          {"NUL bytes stay inside their line",
           "#M01 x\r\n" + kNulLine + "\r\n#H05 B\r\n",
           {"2:1:Non-Numeric Elevation Value in Coordinate:" + kNulLine},
           R"({"JobNumber": "B"})"},
      });
}

TEST_F(EMReadTest, CrossSectionsProfilesAndShotPoints) {
  CheckAll(
      "s.em",
      {
          {"a declaration, and points ordered along the range line",
           "#H02 3/1/2023\n#H10 FB\n#H11 12\n#X01 1000 2000 1100 2000 10+00 R-1 left\n1 2003 1050 5\n2 1998 1010 6\n"
           "3 2000 1100 7\n", {},
           R"({"CrossSections": [{"StartX": 1000, "StartY": 2000, "StopX": 1100, "StopY": 2000, "Station": 1000,
           "AltName": "R-1 left", "GridAzimuth": 90, "GeodeticAzimuth": 0.0001, "FieldBook": "FB",
           "PageNumber": "12", "SurveyDate": "2023-03-01T00:00:00", "WaterSurfaceElevation": 0.0001,
           "WaterSurfaceTime": "2000-12-31T00:00:00", "Gage": null,
           "Points": [{"Id": 2, "X": 1010, "Y": 1998, "Z": 6, "Station": 10, "LateralOffset": 2},
                      {"Id": 1, "X": 1050, "Y": 2003, "Z": 5, "Station": 50, "LateralOffset": 3},
                      {"Id": 3, "X": 1100, "Y": 2000, "Z": 7, "Station": 100, "LateralOffset": 0}]}]})"},
          {"a short declaration leaves no section open; orphan points are reported at the block's end",
           "#X01 1000 2000 1100 2000\n1 2000 1010 5\n2 2000 1020 5\n#H05 x\n",
           {"1:1:Invalid #X01 data record. #X01 records must contain a StartX, StartY, StopX, StopY, Station, and Name "
            "separated by spaces.",
            "3:1:Unexpected error, no data record available in which to put surveyed point",
            "3:1:Unexpected error, no data record available in which to put surveyed point"},
           R"({"CrossSections": []})"},
          // (Every kind of line break numbers lines alike: EMLineBatches.EveryBatchSizeCutsTheSameLines.)
          {"blank lines and comments count as lines and do not end a block, whose problems go on its last line",
           "#H05 A\n\n; comment\n#X01 1000 2000 1100 2000 10+00 R-1\nP1 2000 1010 10\n; comment inside the block\n"
           "P2 2000 1020 10\nP3 x 1030 10\n   \n#X02 Range 5\nBAD\n",
           {"9:1:Non-Numeric Northing Value in Coordinate:P3 x 1030 10",
            "11:1:Coordinate has less than the minimum # of attributes :BAD"},
           R"({"CrossSections": [{"RangeName": "Range 5", "Points": [{}, {}]}]})"},
          {"records out of order and invalid codes",
           "#X02 Range 5\n#X03 1030\n#X04 2.5\n#X5A\n#X05 ignored\n",
           {"1:1:Range Name (#X02) specified out of order. #X02 records must be recorded after #X01 records.",
            "2:1:Water Surface Time (#X03) specified out of order. #X03 records must be recorded after #X01 records.",
            "3:1:Water Surface Elevation (#X04) specified out of order. #X04 records must be recorded after #X01 "
            "records.",
            "4:1:Invalid survey code: #X5A"},
           "{}"},
          {"description records from #X10 on gather until the first point",
           "#X01 0 0 10 0 0 A\n#X10 Levee toe\n#X13 at station 5\n1 0 1 1\n2 0 2 1\n"
           "#X12 Levee toe\n#X01 0 0 10 0 0 B\n1 0 1 1\n#X14 late note\n2 0 2 1\n", {},
           R"({"CrossSections": [{"Description": "Levee toe at station 5"}, {"Description": "late note"}]})"},
          {"an own water surface replaces the gage; an unreadable time keeps the survey date",
           "#H02 3/1/2023\n#G02 GA\n#G03 1.5\n#G04 0800\n#X01 0 0 10 0 0 A\n#X03 0930\n#X04 2.5\n1 0 1 1\n2 0 2 1\n"
           "#X01 0 0 10 0 0 B\n#X03 25:99\n1 0 1 1\n2 0 2 1\n#X01 0 0 10 0 0 C\n1 0 1 1\n2 0 2 1\n",
           {"11:1:Invalid #X03 Water Surface Time: Invalid time string : 25:99"},
           R"({"CrossSections": [
           {"WaterSurfaceTime": "2023-03-01T09:30:00", "SurveyDate": "2023-03-01T09:30:00",
            "WaterSurfaceElevation": 2.5, "Gage": null},
           {"WaterSurfaceTime": "2023-03-01T00:00:00", "WaterSurfaceElevation": 0.0001, "Gage": null},
           {"Gage": "GA", "WaterSurfaceElevation": 1.5, "WaterSurfaceTime": "2023-03-01T08:00:00"}]})"},
          {"a section of fewer than two points is removed",
           "#X01 0 0 10 0 0 A\n1 0 1 1\n2 5000\n3 0 3 1\n#X01 0 0 10 0 0 B\n1 0 1 1\n2 0 2 1\n",
           {"4:1:Coordinate has less than the minimum # of attributes :2 5000",
            "5:1:Prior Cross-section must have at least two points."},
           R"({"CrossSections": [{"AltName": "B"}]})"},
          {"a degenerate range line is reported and not listed; a north-south one has no grid azimuth",
           "#X01 5 5 5 5 0 A\n1 0 1 1\n2 0 2 1\n#X01 5 0 5 10 0 N\n1 0 1 1\n2 0 2 1\n",
           {"1:1:Cross-section range line end points must have different coordinates"},
           R"({"CrossSections": [{"AltName": "N", "GridAzimuth": 0.0001}]})"},
          {"points without id or with an undefined coordinate are dropped",
           "#X01 0 0 10 0 0 A\n9999999 0 1 1\n1 0 2 1\n2 0.0001 3 1\n3 0 4 1\n",
           {"5:1:Non-Numeric Value in Coordinate"},
           R"({"CrossSections": [{"Points": [{"Id": 1}, {"Id": 3}]}]})"},
          {"non-numeric fields are checked northing first, then easting",
           "#M01 x\nP1 N E Z\n#M01 y\nP2 1 E Z\n",
           {"2:1:Non-Numeric Northing Value in Coordinate:P1 N E Z",
            "4:1:Non-Numeric Easting Value in Coordinate:P2 1 E Z"},
           R"({"MiscShotPoints": []})"},
          {"a profile's points are stationed along it from its start station; it has its own water surface",
           "#H02 3/1/2023\n#P01 1000 2000 100 Main channel\n#P12 channel note\n#P03 0930\n#P04 3.25\n1 2000 1000 5\n"
           "2 2004 1003 6\n3 2010 1003 7\n", {},
           R"({"ProfileCenterlines": [{"AltName": "Main channel", "StartX": 1000, "StartY": 2000, "Station": 100,
           "SurveyDate": "2023-03-01T09:30:00", "WaterSurfaceTime": "2023-03-01T09:30:00",
           "WaterSurfaceElevation": 3.25, "Description": "channel note",
           "Points": [{"Station": 100}, {"Station": 105}, {"Station": 111}]}]})"},
          {"bad profile declarations, records out of order, a profile of one point",
           "#P01 1000 2000\n#P03 0930\n#P04 1\n#PZZ\n#P02 ignored\n#P01 0 0 0 One\n1 0 0 1\n#M01 m\n",
           {"1:1:Invalid #P01 Profile Declaration '1000 2000'",
            "2:1:Water Surface Time (#P03) specified out of order. #P03 records must be recorded after #P01 records.",
            "3:1:Water Surface Elevation (#P04) specified out of order. #P04 records must be recorded after #P01 "
            "records.",
            "4:1:Invalid survey code: #PZZ", "8:1:Prior Profile must have at least two points."},
           R"({"ProfileCenterlines": []})"},
          {"each point is a shot point with its declaration's description",
           "#M01 Fence corner\n1 10 20 1\n2 11 21 2\n3 12 22 3\n#M01 Gate\n#M02 post\n4 13 23 4\n#M01 Well\n5 14 24 "
           "5\n", {},
           R"({"MiscShotPoints": [{"Description": "Fence corner", "Point": {"Id": 1}},
           {"Description": "Fence corner", "Point": {"Id": 2}},
           {"Description": "Fence corner", "Point": {"Id": 3, "X": 22, "Y": 12}},
           {"Description": "Gate post"}, {"Description": "Well"}]})"},
          {"features carry the current benchmark, gage, field book and adjustment",
           "#H02 3/1/2023\n#H10 B1\n#V09 0.5\n#V01 A\n#G02 GA\n#G03 2.5\n#G04 1030\n#M01 shot\n1 10 20 10\n#V01 B\n"
           "#H10 B2\n#X01 0 0 10 0 0 X\n1 0 1 1\n2 0 2 1\n#P01 0 0 0 P\n1 0 1 1\n2 0 2 1\n", {},
           R"({"MiscShotPoints": [{"Benchmark": "A", "Gage": "GA", "WaterSurfaceElevation": 2.5,
           "WaterSurfaceTime": "2023-03-01T10:30:00", "FieldBook": "B1",
           "Point": {"Z": 10.5, "VerticalAdjustment": 0.5}}],
           "CrossSections": [{"Benchmark": "B", "Gage": "GA", "FieldBook": "B2"}],
           "ProfileCenterlines": [{"Benchmark": "B", "WaterSurfaceElevation": 2.5}]})"},
      });
}

// Codes keep their separator and take the file's descriptions. Points
// borrow their code entries from the read that made them; handles to them
// keep codes and adjustments after the survey is gone.
TEST_F(EMReadTest, CodesTakeTheFilesDescriptionsAndOutliveTheSurvey) {
  Write("CODES.DAT", "TOE;Toe of slope\r\nTOE,A;Toe A\r\n");
  auto s = Read("s.em",
                "#M01 x\nP1,2000.0,5000.0,10.0,TOE,A\nP2 2000 5000 10 TOE   A\nP3 2000 5000 10 TOE\n"
                "P4 2000 5000 10\n#V09 0.5\n#X01 0 0 10 0 0 X\n1 0 1 1 TOE\n2 0 2 1 TOE\n#V09 0.25\n#M01 shot\n"
                "3 10 20 10 TOE\n");
  EXPECT_EQ(errors_, Lines{});
  ExpectMembers(Json(*s), R"({"MiscShotPoints": [{"Point": {"Code": "TOE,A", "CodeDescription": "Toe A"}},
      {"Point": {"Code": "TOE A", "CodeDescription": ""}}, {"Point": {"Code": "TOE", "CodeDescription": "Toe of slope"}},
      {"Point": {"Code": ""}}, {}]})");
  EXPECT_FALSE(s->HasCustomCode("toe"));
  auto handle = s->CrossSections()->GetItem(0)->Points()->GetItem(1);
  auto shot = s->MiscShotPoints()->GetItem(4)->Point();
  s.reset();
  EXPECT_EQ(handle->Code() + " " + shot->Code(), "TOE TOE");
  EXPECT_DOUBLE_EQ(handle->Z(), 1.5);
  EXPECT_DOUBLE_EQ(shot->Z(), 10.25);
}

TEST_F(EMReadTest, BenchmarksAndGages) {
  CheckAll(
      "s.em",
      {
          {"permanent benchmark records; repeated ones are ignored with a warning",
           "#H02 3/1/2023\n#H10 FB\n#H11 9\n#V04 NAVD88\n#V02 10.5\n#V01 A\n#V02 1.0\n#V02 2.0\n#V03 2004\n#V05 Good\n"
           "#V06 1.1\n#V07 5000.5, 2000.25\n#V08 AB1234\n#V10 0.3\n#V11 -0.4\n#V12 1983-2001\n#V15 ignored\n"
           "#V20 first note\n#V21 second\n#V05 Bad\n#V07 1 2\n",
           {"5:1:Permanent benchmark record must be preceded by #V01 record : 10.5",
            "8:0:Duplicate #V02 record ignored for A", "20:0:Duplicate #V05 record ignored for A",
            "21:0:Duplicate #V07 record ignored for A"},
           R"({"VerticalDatum": "NAVD88", "Epoch": "2004", "VerticalControls": [{"Name": "A", "IsPermanent": true,
           "DocumentedElevation": 1, "Epoch": "2004", "VerticalDatum": "", "Condition": "Good",
           "MeasuredElevation": 1.1, "Northing": 5000.5, "Easting": 2000.25, "PID": "AB1234",
           "LocalMeanSeaLevelRelationship": 0.3, "MeanLowerLowWaterRelationship": -0.4,
           "NationalTidalDatumEpoch": "1983-2001", "Description": " first note second", "FieldBook": "FB",
           "PageNumber": "9", "SurveyDate": "2023-03-01T00:00:00", "Adjustment": 0}]})"},
          {"a bad value leaves the field open for a later record",
           "#V01 A\n#V02 abc\n#V02 2.0\n#V07 5000\n#V07 5000  2000\n",
           {"2:1:Invalid Numeric Value : abc", "4:1:Invalid Benchmark Coordinate : 5000"},
           R"({"VerticalControls": [{"DocumentedElevation": 2, "Northing": 5000, "Easting": 2000}]})"},
          {"a temporary record needs its #T01; #V01 makes a temporary benchmark permanent, in the one table",
           "#T02 1\n#H10 FB1\n#T01 A\n#T02 3.5\n#T09 7\n#T15 note\n#H10 FB2\n#V01 A\n#V09 0.12\n#V01 B\n#T01 B\n"
           "#T06 1\n#T06 2\n#T07 9\n#T07 1,2\n#T07 3,4\n",
           {"1:1:Temporary benchmark record must be preceded by #T01 record : 1",
            "13:0:Duplicate #T06 record ignored forB", "14:1:Invalid Benchmark Coordinate for B : 9",
            "16:0:Duplicate #T07 record ignored forB"},
           R"({"VerticalControls": [{"Name": "A", "IsPermanent": true, "FieldBook": "FB2", "DocumentedElevation": 3.5,
           "Description": " note", "Adjustment": 0.12},
           {"Name": "B", "IsPermanent": true, "Adjustment": 0.12, "MeasuredElevation": 1, "Northing": 1,
            "Easting": 2}]})"},
          {"a complete gage reading",
           "#H02 3/1/2023\n#H10 FB\n#V01 BM\n#G01 TIDE\n#G02 A\n#G03 2.5\n#G05 0.5\n#G06 1.5\n#G07 100 200\n"
           "#G15 some text\n#G08 x\n#G04 1030\n", {},
           R"({"Gages": [{"Name": "A", "Code": "TIDE", "WaterSurfaceElevation": 2.5,
           "MeasurementDate": "2023-03-01T10:30:00", "LocalMeanSeaLevelReference": 0.5,
           "MeanLowerLowWaterReference": 1.5, "Northing": 100, "Easting": 200, "Description": "some text ",
           "FieldBook": "FB", "Benchmark": "BM"}]})"},
          {"records before any reading; an incomplete reading is reported at the feature and at the end",
           "#G03 2.5\n#G01 TIDE\n#X01 0 0 10 0 0 A\n1 0 1 1\n2 0 2 1\n",
           {"1:1:No previously defined #G02 record for gage record", "3:" + kGageIncomplete,
            "5:" + kGageIncomplete},
           R"({"Gages": []})"},
          {"repeated gage records are ignored with warnings; the table key is name, time and elevation",
           "#H02 3/1/2023\n#G02 A\n#G03 2.5\n#G04 1030\n#G04 1100\n#G03 9\n#G05 x\n#G05 1\n#G05 2\n#G02 A\n#G03 2.5\n"
           "#G04 10:30\n#M01 shot\n1 1 1 1\n#G02 A\n#G03 2.6\n#G04 1030\n",
           {"5:0:Duplicate measurement date/time (#G04) record ignored for A. (Make sure a separate #G02 record exists "
            "for each gage reading) This value will be ignored :1100",
            "6:0:Duplicate water surface elevation (#G03) record ignored for A. (Make sure a separate #G02 record "
            "exists "
            "for each gage reading) This value will be ignored :9",
            "7:1:Invalid Numeric Value : x", "9:0:Duplicate LMSL (#G05) record ignored for A",
            "12:0:Duplicate gage (name/time/water surface elevation) entry"},
           R"({"Gages": [{"WaterSurfaceElevation": 2.5, "MeasurementDate": "2023-03-01T10:30:00",
           "LocalMeanSeaLevelReference": 1}, {"WaterSurfaceElevation": 2.6}], "MiscShotPoints": [{"Gage": "A"}]})"},
          {"an unreadable time registers an undated reading",
           "#H02 3/1/2023\n#G02 A\n#G03 1\n#G04 25:99\n#M01 x\n",
           {"4:1:Invalid Gage date/time #G04: Invalid time string : 25:99", "5:" + kGageIncomplete,
            "5:" + kGageIncomplete},
           R"({"Gages": [{"MeasurementDate": "2000-12-31T00:00:00"}]})"},
          {"features declared before the time keep their reading, dated later",
           "#H02 3/1/2023\n#G02 A\n#G03 1\n#M01 x\n1 1 1 1\n#G04 0800\n#M01 y\n2 2 2 2\n",
           {"4:" + kGageIncomplete},
           R"({"MiscShotPoints": [{"WaterSurfaceTime": "2023-03-01T08:00:00"},
           {"WaterSurfaceTime": "2023-03-01T08:00:00"}]})"},
          {"an elevation given after the time still belongs to the reading",
           "#H02 3/1/2023\n#G02 A\n#G04 1030\n#G03 2.5\n#M01 x\n1 1 1 1\n", {},
           R"({"Gages": [{"WaterSurfaceElevation": 2.5, "MeasurementDate": "2023-03-01T10:30:00"}],
           "MiscShotPoints": [{"Gage": "A", "WaterSurfaceElevation": 2.5}]})"},
      });
}

TEST_F(EMReadTest, CrewEquipmentAndWeather) {
  CheckAll("s.em",
           {
               {"crew members are keyed by name in any case",
                "#C01 SMITH\n#C03 smith\n#C02 JONES\n#C07 LEE\n",
                {"2:0:Duplicate crew member ignored: smith"},
                R"({"CrewMembers": [{"Name": "SMITH", "Assignment": "Party Chief"}, {"Assignment": "Instrument Man"},
           {"Assignment": "Other"}]})"},
               {"equipment items close at the next item and at the end, where a repeated one is dropped",
                "#E02 123\n#E01 TOTAL STATION\n#E02 123\n#E03 ABC\n#E10 first note\n#E11 second note\n#E05 x\n#EXY z\n"
                "#I01 LEVEL\n#I02 9\n#E01 TOTAL STATION\n#E02 123\n#E03 ABC\n#E10 first note\n#E11 second note\n",
                {"1:1:No Equipment initializer record (#E01) found", "7:0:Unrecognized Equipment Record",
                 "8:1:Invalid survey code: #EXY", "15:0:Duplicate equipment ignored"},
                R"({"Equipment": [{"Instrument": "TOTAL STATION", "SerialNumber": "123", "Model": "ABC",
           "Description": "first note second note "}, {"Instrument": "LEVEL", "Description": ""}]})"},
               {"weather observations close at each new survey date",
                "#H02 3/1/2023\n#W01 75\n#W05 10 MPH\n#H02 3/1/2023\n#W01 75\n#W05 10 MPH\n#H02 3/2/2023\n#W01 76\n",
                {"7:0:Duplicate weather observation from line 6 ignored."},
                R"({"Weather": [{"Temperature": "75", "WindSpeed": "10 MPH", "TimeStamp": "2023-03-01T00:00:00"},
           {"Temperature": "76", "TimeStamp": "2023-03-02T00:00:00"}]})"},
               {"an undated observation stays open and is stamped with the last date",
                "#H02 3/1/2023\n#H10 FB\n#W09 something\n#H02 3/2/2023\n#W03 80%\n",
                {"3:0:Unrecognized Record"},
                R"({"Weather": [{"Humidity": "80%", "FieldBook": "FB", "TimeStamp": "2023-03-02T00:00:00"}]})"},
           });
}

// Duplicates are found by key: the key must tell apart what Equals tells
// apart, even when texts run into each other, and leave out the field book.
TEST(EMEqualityTest, KeysAgreeWithEquals) {
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
  EXPECT_FALSE(a.Equals(&b));
  EXPECT_NE(a.EqualityKey(), b.EqualityKey());
  EMEquipment e, f;
  e.SetInstrument("x");
  e.SetModel("1");
  f.SetInstrument("x1");
  EXPECT_NE(e.EqualityKey(), f.EqualityKey());
  f.SetInstrument("X");
  f.SetModel("1");
  EXPECT_FALSE(e.Equals(&f));  // case counts
  EXPECT_NE(e.EqualityKey(), f.EqualityKey());
}

constexpr const char* kAccuracy = "#H17 +-0.05\n";
// A 100 x 100 square as four exterior points (northing before easting).
constexpr const char* kSquare = "1 0 0 5\n2 100 0 5\n3 100 100 5\n4 0 100 5\n";

TEST_F(EMReadTest, SurveyAreas) {
  const std::string pit = std::string(kAccuracy) + "#A01 Pit\n" + kSquare;
  CheckAll(
      "s.em",
      {
          {"an area without an accuracy record warns once and is still read",
           "#H02 05/06/2022\n#A01 Borrow pit\n#A10 north\n#A11 end\n#A05 reserved\n1 0 0 5\n2 10 0 5\n3 10 10 5\n",
           {"2:0:Survey Area Features (#A01, #A02, #A03) specified without Horizontal Accuray Record (#H17). Last "
            "point "
            "will be included in polygon rendering and may result in incorrect topology."},
           R"({"Areas": [{"AltName": "Borrow pit", "Description": "north end", "SurveyDate": "2022-05-06T00:00:00",
           "WaterSurfaceElevation": 0.0001, "WaterSurfaceTime": "2000-12-31T00:00:00",
           "AreaRing": {"SurveyPoints": [{"X": 0, "Y": 0}, {"X": 0, "Y": 10}, {"X": 10, "Y": 10}],
                        "InternalRings": []}}]})"},
          {"holes nest in the exterior ring, islands in their hole",
           pit + "#A02\n5 10 10 5\n6 90 10 5\n7 90 90 5\n8 10 90 5\n#A03\n9 40 40 5\n10 60 40 5\n11 60 60 5\n"
                 "#A02\n12 20 20 5\n13 30 20 5\n14 30 30 5\n", {},
           R"({"Areas": [{"AreaRing": {"SurveyPoints": [{}, {}, {}, {}], "InternalRings": [
           {"SurveyPoints": [{}, {}, {}, {}], "InternalRings": [{"SurveyPoints": [{"X": 40, "Y": 40},
               {"X": 40, "Y": 60}, {"X": 60, "Y": 60}], "InternalRings": []}]},
           {"SurveyPoints": [{"Id": 12, "X": 20, "Y": 20}, {"X": 20, "Y": 30}, {"X": 30, "Y": 30}],
            "InternalRings": []}]}}]})"},
          {"a hole outside the exterior ring is removed and its points skipped",
           pit + "#A02\n5 150 50 5\n6 20 20 5\n7 30 20 5\n8 30 30 5\n#A02\n9 20 20 5\n10 30 20 5\n11 30 30 5\n",
           {"11:1:Invalid Survey Area Geometry: The hole is not inside the external polygon: 5 150 50 5"},
           R"({"Areas": [{"AreaRing": {"SurveyPoints": [{}, {}, {}, {}],
           "InternalRings": [{"SurveyPoints": [{"Id": 9}, {}, {}]}]}}]})"},
          {"an island outside its hole is removed and the hole kept",
           pit + "#A02\n5 10 10 5\n6 50 10 5\n7 50 50 5\n8 10 50 5\n#A03\n9 20 20 5\n10 70 70 5\n11 30 30 5\n"
                 "#A03 \n12 20 20 5\n13 30 20 5\n14 30 30 5\n",
           {"15:1:Invalid Survey Area Geometry: The island is not inside the hole: 10 70 70 5"},
           R"({"Areas": [{"AreaRing": {"InternalRings": [{"SurveyPoints": [{}, {}, {}, {}],
           "InternalRings": [{"SurveyPoints": [{"Id": 12}, {}, {}]}]}]}}]})"},
          {"ring sizes are checked when the area closes",
           std::string(kAccuracy) + "#A01 Short\n1 0 0 5\n2 10 0 5\n#A01 Small hole\n" + kSquare +
               "#A02\n5 10 10 5\n6 20 10 5\n#M01 shots\n",
           {"5:1:Prior Survey Area external ring must have at least three points.",
            "13:1:Prior Survey Area internal rings should have at least three points."},
           R"({"Areas": [{"AltName": "Small hole", "AreaRing": {"InternalRings": [{}]}}]})"},
          {"records out of order are reported and skipped",
           std::string(kAccuracy) + "#A02\n#A03\n#A01 Pit\n#A03\n#AX1 what\n" + kSquare,
           {"2:1:Survey area hole (#A02) specified out of order. #A02 records must be recorded after #A01 records.",
            "3:1:Survey area island (#A03) specified out of order. #A03 records must be recorded after #A01 and #A02 "
            "records.",
            "5:1:Survey area island (#A03) specified without a hole. #A03 records must follow the #A02 record of the "
            "hole the island lies in.",
            "6:1:Invalid survey code: #AX1"},
           R"({"Areas": [{"AreaRing": {"SurveyPoints": [{}, {}, {}, {}], "InternalRings": []}}]})"},
      });
}

// A baseline file that is missing, or is the survey itself, is reported
// when the read ends and again on every read of Baseline.
TEST_F(EMReadTest, AnUnreadableBaselineFileIsReportedOnEveryRead) {
  const std::string missing = (dir_ / "levee.bl").string();
  for (const auto& [name, text, error] :
       {std::tuple{"a.em", "#B00 levee.bl\n#H05 x\n", "2:1:Baseline File Not Found : " + missing},
        std::tuple{"x.em", "#B00 X.EM\n",
                   std::string("1:1:Invalid baseline filename. #B00 record can not be the same as the survey file "
                               "name.")}}) {
    auto survey = Read(name, text);
    EXPECT_EQ(errors_, Lines{error});
    EXPECT_EQ(survey->Baseline(), nullptr);
    EXPECT_EQ(Drain(*survey->Errors()), Lines{error});
  }
}

TEST_F(EMReadTest, BaselineFilesAndTheCrossingsTheyGive) {
  Write("levee.bl", "#B01 0,50,1000,A\r\n#B02 100,50,1100,B\r\n#B03 bad\r\n");
  Write("empty.bl", "#H05 nothing\r\n");
  Check("line.bl", {"a baseline file reads as a traverse",
                    "#H05 J-77\r\n#H04 NAD83\r\n#H06 Feet\r\n#H07 1702\r\n#H02 03/04/2021\r\n#H10 FB 9\r\n"
                    "#H17 +-0.05\r\n#H21 Levee baseline\r\n#B01 1000,2000,1250.5,BL-1\r\n"
                    "#B02 1100 2000 1350.5 BL 2\r\n#B03 oops\r\n#B04 a,b,c\r\n#B05 1, 2, 3\r\n",
                    {"11:1:Invalid Baseline Point data record :oops", "12:1:Invalid Baseline Point data record :a,b,c"},
                    R"({"JobNumber": "J-77", "HorizontalDatum": "NAD83", "Units": "Feet", "Projection": "1702",
                         "FieldBook": "FB 9", "Title": "Levee baseline", "HorizontalAccuracy": 0.05,
                         "TraverseDate": "2021-03-04T00:00:00",
                         "TraversePoints": [{"Easting": 1000, "Northing": 2000, "Station": 1250.5,
                                             "StationName": "12+50.50", "AltName": "BL-1"},
                                            {"StationName": "13+50.50", "AltName": "BL 2"},
                                            {"Easting": 1, "Northing": 2, "Station": 3, "AltName": ""}]})"});
  CheckAll("s.em",
           {
               {"a baseline along y = 50: one range line crosses it at x = 20, one runs beside it",
                "#B00 levee.bl\n#X01 20 0 20 100 0 Across\n1 10 20 1\n2 70 20 1\n#X01 0 60 100 60 0 Along\n1 60 10 1\n"
                "2 60 20 1\n",
                {"-1:0:Cross-section (Along) does not intersect baseline"},
                R"({"CrossSections": [{"BaselineIntersectX": 20, "BaselineIntersectY": 50,
           "Points": [{"Station": 10, "BaselineOffset": -40}, {"Station": 70, "BaselineOffset": 20}]},
           {"BaselineIntersectX": 0.0001, "Points": [{"BaselineOffset": 0.0001}, {}]}],
           "Baseline": {"TraversePoints": [{}, {}]}})"},
               {"an empty baseline file leaves sections unmeasured",
                "#B00 empty.bl\n#X01 20 0 20 100 0 Across\n1 10 20 1\n2 70 20 1\n", {},
                R"({"CrossSections": [{"BaselineIntersectX": 0.0001}], "Baseline": {"TraversePoints": []}})"},
           });
}

TEST(EMBaselinePointTest, StationNotation) {
  // Halves round to even; the remainder stays in 00.00 .. 99.99; a station
  // before the origin is the distance's notation with a minus sign.
  const std::pair<double, const char*> cases[] = {
      {1250.5, "12+50.50"},   {1205, "12+05.00"},   {0, "0+00.00"},      {5.25, "0+05.25"},   {123456.78, "1234+56.78"},
      {1249.5, "12+49.50"},   {1299.5, "12+99.50"}, {99.994, "0+99.99"}, {99.996, "1+00.00"}, {1299.999, "13+00.00"},
      {-1250.5, "-12+50.50"}, {-5, "-0+05.00"},     {-0.001, "0+00.00"}};
  for (const auto& [station, text] : cases) EXPECT_EQ(EMBaselinePoint::StationNotation(station), text) << station;
}

// A block handed over as text: its lines share the current line number.
TEST(EMDispatchTest, BlocksHandedOverAsText) {
  EMSurvey s;
  s.SetLineNumber(7);
  s.DispatchRecord("#M01 posts");
  s.DispatchRecord("1 2000 1010 5\r\n; note\r\n2,2001,1011,6,FNC\r\n3 x 1 1\r\n4 2002 1012 7\r\n");
  EXPECT_EQ(Drain(*s.Errors()), Lines{"7:1:Non-Numeric Northing Value in Coordinate:3 x 1 1"});
  ExpectMembers(Json(s), R"({"MiscShotPoints": [{"Point": {"Id": 1}}, {"Point": {"Id": 2, "Code": "FNC"}}]})");
}

}  // namespace
}  // namespace veldrane::test
