// The JSON view of the survey model that `veldrane dump` prints, checked on
// small hand-made surveys.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/survey_json.h"
#include "model/constants.h"
#include "model/date_time.h"
#include "model/features.h"
#include "model/iterators.h"

namespace veldrane {
namespace {

template <class T>
using Items = std::vector<std::shared_ptr<T>>;

template <class T>
std::shared_ptr<IItemIterator<T>> Iter(const Items<T>& items) {
  return std::make_shared<ListIterator<IItemIterator<T>, T>>(items);
}

DateTime Day(int y, int m, int d, int hh = 0, int mm = 0) {
  return DateTime::FromDate(y, m, d)->PlusTimeOfDay(*DateTime::FromTime(hh, mm));
}

struct FakePoint : ISurveyPoint {
  double x = 3352012.25, y = 700104.5, z = 28.43;
  std::string code = "CL", codeDescription = "Centerline";
  std::int32_t id = 12;
  double adjustment = 0.04, station = 150.0, lateral = 0.0, baselineOffset = kUndefinedNumber;
  std::string tag = "12";
  double X() override { return x; }
  double Y() override { return y; }
  double Z() override { return z; }
  std::string Code() override { return code; }
  std::string CodeDescription() override { return codeDescription; }
  std::int32_t Id() override { return id; }
  double VerticalAdjustment() override { return adjustment; }
  double Station() override { return station; }
  std::string PointTag() override { return tag; }
  double LateralOffset() override { return lateral; }
  double BaselineOffset() override { return baselineOffset; }
};

struct FakeBenchmark : IVerticalControl {
  std::string name = "BM LEV-3";
  std::string Name() override { return name; }
  double Northing() override { return 700250.11; }
  double Easting() override { return 3352100.2; }
  double DocumentedElevation() override { return 25.51; }
  std::string VerticalDatum() override { return "NAVD88"; }
  std::string Epoch() override { return "2006.81"; }
  std::string Condition() override { return "GOOD"; }
  double MeasuredElevation() override { return 25.47; }
  std::string PID() override { return "BX4471"; }
  std::string Description() override { return " Disk in concrete post"; }
  bool IsPermanent() override { return true; }
  double Adjustment() override { return 0.04; }
  DateTime SurveyDate() override { return Day(2011, 3, 14); }
  std::string FieldBook() override { return "LB-2231"; }
  std::string PageNumber() override { return "14"; }
  double LocalMeanSeaLevelRelationship() override { return kUndefinedNumber; }
  double MeanLowerLowWaterRelationship() override { return kUndefinedNumber; }
  std::string NationalTidalDatumEpoch() override { return ""; }
};

struct FakeGage : IGage {
  std::string name = "BRG-01";
  std::shared_ptr<IVerticalControl> benchmark;
  double WaterSurfaceElevation() override { return 6.82; }
  std::string Name() override { return name; }
  double Northing() override { return 700900.0; }
  double Easting() override { return 3352000.0; }
  std::string Code() override { return "STAFF"; }
  DateTime MeasurementDate() override { return Day(2011, 3, 14, 10, 30); }
  double LocalMeanSeaLevelReference() override { return 0.52; }
  double MeanLowerLowWaterReference() override { return -0.61; }
  std::string Description() override { return "Staff gage "; }
  std::string FieldBook() override { return "LB-2231"; }
  std::string PageNumber() override { return "15"; }
  std::shared_ptr<IVerticalControl> Benchmark() override { return benchmark; }
};

struct FakeCrossSection : ICrossSection {
  Items<ISurveyPoint> points;
  std::shared_ptr<IVerticalControl> benchmark;
  std::shared_ptr<IGage> gage;
  std::shared_ptr<ISurveyPointIterator> Points() override { return Iter(points); }
  double StartX() override { return 3351900.0; }
  double StartY() override { return 699850.0; }
  double StopX() override { return 3352100.0; }
  double StopY() override { return 700350.0; }
  double Station() override { return 500.0; }
  std::string RangeName() override { return "R-5"; }
  std::string AltName() override { return "5+00 LEVEE"; }
  std::shared_ptr<IVerticalControl> Benchmark() override { return benchmark; }
  std::shared_ptr<IGage> Gage() override { return gage; }
  std::string FieldBook() override { return "LB-2231"; }
  std::string PageNumber() override { return "16"; }
  double WaterSurfaceElevation() override { return kUndefinedNumber; }
  DateTime WaterSurfaceTime() override { return DateTime::Undefined(); }
  DateTime SurveyDate() override { return Day(2011, 3, 14); }
  std::string Description() override { return "Levee toe "; }
  double GridAzimuth() override { return 21.801; }
  double GeodeticAzimuth() override { return kUndefinedNumber; }
  double BaselineIntersectX() override { return 3352000.0; }
  double BaselineIntersectY() override { return 700100.0; }
};

struct FakeRing : IAreaRing {
  Items<ISurveyPoint> points;
  Items<IAreaRing> rings;
  std::shared_ptr<ISurveyPointIterator> SurveyPoints() override { return Iter(points); }
  std::shared_ptr<IAreaRingIterator> InternalRings() override { return Iter(rings); }
};

struct FakeArea : ISurveyArea {
  std::shared_ptr<IAreaRing> ring;
  std::shared_ptr<IAreaRing> AreaRing() override { return ring; }
  std::string AltName() override { return "Borrow pit"; }
  std::shared_ptr<IVerticalControl> Benchmark() override { return nullptr; }
  std::string FieldBook() override { return ""; }
  std::string PageNumber() override { return ""; }
  DateTime SurveyDate() override { return DateTime::Undefined(); }
  std::string Description() override { return ""; }
  std::shared_ptr<IGage> Gage() override { return nullptr; }
  double WaterSurfaceElevation() override { return kUndefinedNumber; }
  DateTime WaterSurfaceTime() override { return DateTime::Undefined(); }
};

struct FakeTraversePoint : ITraversePoint {
  std::int32_t TraversePointId() override { return 1; }
  double AdjustedAngle() override { return 181.25; }
  double AdjustedDistance() override { return 612.443; }
  double BackGeodeticAzimuth() override { return 250.5; }
  double ScaleFactor() override { return 0.99996012; }
  double Convergence() override { return 0.0893; }
  double Latitude() override { return 30.4471; }
  double Longitude() override { return 91.1503; }
  double Northing() override { return 700000.0; }
  double Easting() override { return 3351000.0; }
  double Station() override { return 0.0; }
  std::string StationName() override { return "0+00.00"; }
  std::string AltName() override { return "BL-0"; }
  double MeasuredAngle() override { return 181.2503; }
  double MeasuredDistance() override { return 612.45; }
  double ForwardGeodeticAzimuth() override { return 70.5; }
  double PlaneDistance() override { return 612.419; }
  double PlaneAzimuth() override { return 70.41; }
};

struct FakeTraverse : ITraverse {
  Items<ITraversePoint> points;
  std::shared_ptr<GenericSurveyErrorQueue> errors = std::make_shared<GenericSurveyErrorQueue>();
  std::string JobNumber() override { return "J-1187"; }
  std::string OriginalFileName() override { return "levee.bl"; }
  std::string HorizontalDatum() override { return "NAD83"; }
  std::string HorizontalEpoch() override { return "2011"; }
  double HorizontalAccuracy() override { return kUndefinedNumber; }
  std::string HorizontalAccuracyClass() override { return ""; }
  DateTime TraverseDate() override { return Day(2011, 3, 14); }
  std::string FieldBook() override { return ""; }
  std::string PageNumber() override { return ""; }
  std::string Title() override { return "Levee baseline"; }
  std::string Projection() override { return "LA SOUTH"; }
  std::string Units() override { return "US SURVEY FEET"; }
  std::shared_ptr<ITraversePointIterator> TraversePoints() override { return Iter(points); }
  std::shared_ptr<ISurveyErrorQueue> Errors() override { return errors; }
  std::string Comments() override { return ""; }
};

// Every ISurvey member returns something recognisable; Baseline queues a
// record the way a survey does when its baseline file is missing.
struct FakeSurvey : ISurvey {
  Items<ICrossSection> sections;
  Items<ISurveyArea> areas;
  Items<IVerticalControl> benchmarks;
  Items<IGage> gages;
  std::shared_ptr<ITraverse> baseline;
  std::string title = "Levee survey";
  double scale = 0.99994621;
  std::shared_ptr<GenericSurveyErrorQueue> errors = std::make_shared<GenericSurveyErrorQueue>();

  std::string JobNumber() override { return "J-1187"; }
  std::string Title() override { return title; }
  std::string Comments() override { return ""; }
  std::string OriginalFileName() override { return "LEVEE.EM"; }
  std::string Contractor() override { return "Delta Survey"; }
  std::string HorizontalDatum() override { return "NAD83"; }
  std::string VerticalDatum() override { return "NAVD88"; }
  std::string Epoch() override { return "2006.81"; }
  std::string Location() override { return "Bayou Manchac"; }
  std::string SurveyOrder() override { return "THIRD"; }
  std::shared_ptr<ICrossSectionIterator> CrossSections() override { return Iter(sections); }
  std::shared_ptr<IProfileCenterlineIterator> ProfileCenterlines() override { return Iter(Items<IProfileCenterline>{}); }
  DateTime SurveyDate() override { return Day(2011, 3, 14); }
  DateTime SurveyStartDate() override { return Day(2011, 3, 14); }
  DateTime SurveyEndDate() override { return Day(2011, 3, 16); }
  std::shared_ptr<IMiscShotPointIterator> MiscShotPoints() override { return Iter(Items<IMiscShotPoint>{}); }
  std::shared_ptr<ISurveyAreaIterator> Areas() override { return Iter(areas); }
  std::string Units() override { return "US SURVEY FEET"; }
  std::string Projection() override { return "LA SOUTH"; }
  std::shared_ptr<IVerticalControlIterator> VerticalControls() override {
    return std::make_shared<ListIterator<IVerticalControlIterator, IVerticalControl, 1>>(benchmarks);
  }
  std::shared_ptr<IGageIterator> Gages() override {
    return std::make_shared<ListIterator<IGageIterator, IGage, 1>>(gages);
  }
  std::shared_ptr<ISurveyErrorQueue> Errors() override { return errors; }
  std::string FieldBook() override { return "LB-2231"; }
  std::string PageNumber() override { return "14"; }
  std::shared_ptr<ICrewMemberIterator> CrewMembers() override {
    return std::make_shared<ListIterator<ICrewMemberIterator, ICrewMember>>();
  }
  std::shared_ptr<IEquipmentIterator> Equipment() override {
    return std::make_shared<ListIterator<IEquipmentIterator, IEquipment>>();
  }
  std::shared_ptr<IWeatherIterator> Weather() override {
    return std::make_shared<ListIterator<IWeatherIterator, IWeather>>();
  }
  std::shared_ptr<ITraverse> Baseline() override {
    errors->Push(std::make_shared<GenericSurveyError>("levee.em", 3, "Baseline File Not Found : x.bl", 1));
    return baseline;
  }
  std::string BaselineFileName() override { return "/data/levee.bl"; }
  double CombinedScaleFactor() override { return scale; }
  std::string version() override { return "EM09"; }
  std::string HorizontalEpoch() override { return "2011"; }
  std::string HorizontalAccuracyClass() override { return ""; }
  double VerticalAccuracy() override { return kUndefinedNumber; }
  std::string ParishName() override { return "Ascension"; }
  std::string ContractNumber() override { return "W912P8-11-C-0042"; }
  double HorizontalAccuracy() override { return 0.05; }
  std::string VerticalAccuracyClass() override { return "THIRD"; }
  std::string QuadName() override { return "Gonzales"; }
  std::string GetCustomCode(const std::string&) override { return "should not be dumped"; }
  bool HasCustomCode(const std::string&) override { return true; }
};

std::vector<std::string> Keys(const OrderedJson& object) {
  std::vector<std::string> keys;
  for (const auto& item : object.items()) keys.push_back(item.key());
  return keys;
}

TEST(SurveyJsonTest, SurveyMembersAppearInSlotOrderWithoutErrorsAndCodeLookups) {
  FakeSurvey survey;
  const auto j = SurveyToJson(survey);
  const std::vector<std::string> expected{
      "JobNumber", "Title", "Comments", "OriginalFileName", "Contractor", "HorizontalDatum", "VerticalDatum",
      "Epoch", "Location", "SurveyOrder", "CrossSections", "ProfileCenterlines", "SurveyDate", "SurveyStartDate",
      "SurveyEndDate", "MiscShotPoints", "Areas", "Units", "Projection", "VerticalControls", "Gages", "FieldBook",
      "PageNumber", "CrewMembers", "Equipment", "Weather", "Baseline", "BaselineFileName", "CombinedScaleFactor",
      "version", "HorizontalEpoch", "HorizontalAccuracyClass", "VerticalAccuracy", "ParishName", "ContractNumber",
      "HorizontalAccuracy", "VerticalAccuracyClass", "QuadName"};
  EXPECT_EQ(Keys(j), expected);
  EXPECT_EQ(j["SurveyEndDate"], "2011-03-16T00:00:00");
  EXPECT_EQ(j["Baseline"], nullptr);
  EXPECT_EQ(j["CrewMembers"], OrderedJson::array());
  EXPECT_EQ(j["QuadName"], "Gonzales");
}

TEST(SurveyJsonTest, NumbersKeepExactValuesAndSentinelsNonFiniteBecomesNull) {
  FakeSurvey survey;
  survey.scale = 0.1 + 0.2;  // 0.30000000000000004: needs all 17 digits
  const auto text = SurveyToJson(survey).dump();
  EXPECT_NE(text.find("\"CombinedScaleFactor\":0.30000000000000004"), std::string::npos) << text;
  EXPECT_NE(text.find("\"VerticalAccuracy\":0.0001"), std::string::npos) << text;
  EXPECT_EQ(OrderedJson::parse(text)["CombinedScaleFactor"].get<double>(), 0.1 + 0.2);

  survey.scale = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(SurveyToJson(survey)["CombinedScaleFactor"], nullptr);
  survey.scale = -std::numeric_limits<double>::infinity();
  EXPECT_EQ(SurveyToJson(survey)["CombinedScaleFactor"], nullptr);

  FakePoint point;
  point.id = kUndefinedPointId;
  point.z = 3.0;
  const auto p = SurveyPointToJson(point);
  EXPECT_TRUE(p["Id"].is_number_integer());
  EXPECT_NE(p.dump().find("\"Id\":9999999,"), std::string::npos) << p.dump();
  EXPECT_TRUE(p["Z"].is_number_float());
  EXPECT_EQ(p["BaselineOffset"].get<double>(), kUndefinedNumber);
}

TEST(SurveyJsonTest, Windows1252TextBecomesValidUtf8) {
  FakeSurvey survey;
  survey.title = "Water 68\xB0" "F \x93levee\x94";
  const auto j = SurveyToJson(survey);
  EXPECT_EQ(j["Title"], "Water 68\xC2\xB0" "F \xE2\x80\x9Clevee\xE2\x80\x9D");
  // Serialising in strict mode throws on invalid UTF-8; it must not.
  EXPECT_NO_THROW((void)j.dump());
}

TEST(SurveyJsonTest, FeaturesNameTheirLinkedBenchmarkAndGageOrNull) {
  auto benchmark = std::make_shared<FakeBenchmark>();
  auto gage = std::make_shared<FakeGage>();
  gage->benchmark = benchmark;
  auto section = std::make_shared<FakeCrossSection>();
  section->benchmark = benchmark;
  section->gage = gage;
  section->points = {std::make_shared<FakePoint>(), std::make_shared<FakePoint>()};
  auto bare = std::make_shared<FakeCrossSection>();

  const auto j = CrossSectionToJson(*section);
  EXPECT_EQ(j["Benchmark"], "BM LEV-3");
  EXPECT_EQ(j["Gage"], "BRG-01");
  EXPECT_EQ(j["Points"].size(), 2u);
  EXPECT_EQ(j["Points"][0]["Code"], "CL");
  EXPECT_EQ(j["WaterSurfaceTime"], "2000-12-31T00:00:00");
  EXPECT_EQ(Keys(j).front(), "Points");
  EXPECT_EQ(Keys(j).back(), "BaselineIntersectY");

  const auto b = CrossSectionToJson(*bare);
  EXPECT_EQ(b["Benchmark"], nullptr);
  EXPECT_EQ(b["Gage"], nullptr);

  const auto g = GageToJson(*gage);
  EXPECT_EQ(g["Benchmark"], "BM LEV-3");
  EXPECT_EQ(g["MeasurementDate"], "2011-03-14T10:30:00");
  EXPECT_EQ(g["MeanLowerLowWaterReference"].get<double>(), -0.61);

  const auto v = VerticalControlToJson(*benchmark);
  EXPECT_EQ(v["IsPermanent"], true);
  EXPECT_EQ(Keys(v).size(), 18u);
}

TEST(SurveyJsonTest, CollectionsAreReadFromTheFirstItemWhateverTheIteratorPosition) {
  FakeSurvey survey;
  auto a = std::make_shared<FakeBenchmark>();
  auto b = std::make_shared<FakeBenchmark>();
  b->name = "TBM 7";
  survey.benchmarks = {a, b};
  auto advanced = std::make_shared<ListIterator<IVerticalControlIterator, IVerticalControl, 1>>(survey.benchmarks);
  advanced->GetNext();
  advanced->GetNext();
  // A consumer must rewind with Initialize before walking.
  struct Rewinding : FakeSurvey {
    std::shared_ptr<IVerticalControlIterator> it;
    std::shared_ptr<IVerticalControlIterator> VerticalControls() override { return it; }
  } rewinding;
  rewinding.it = advanced;
  const auto j = SurveyToJson(rewinding);
  ASSERT_EQ(j["VerticalControls"].size(), 2u);
  EXPECT_EQ(j["VerticalControls"][1]["Name"], "TBM 7");
}

TEST(SurveyJsonTest, AreaRingsNestHolesAndIslands) {
  auto island = std::make_shared<FakeRing>();
  island->points = {std::make_shared<FakePoint>()};
  auto hole = std::make_shared<FakeRing>();
  hole->points = {std::make_shared<FakePoint>(), std::make_shared<FakePoint>()};
  hole->rings = {island};
  auto exterior = std::make_shared<FakeRing>();
  exterior->points = {std::make_shared<FakePoint>(), std::make_shared<FakePoint>(), std::make_shared<FakePoint>()};
  exterior->rings = {hole};
  auto area = std::make_shared<FakeArea>();
  area->ring = exterior;
  const auto j = SurveyAreaToJson(*area);
  EXPECT_EQ(j["AreaRing"]["SurveyPoints"].size(), 3u);
  ASSERT_EQ(j["AreaRing"]["InternalRings"].size(), 1u);
  EXPECT_EQ(j["AreaRing"]["InternalRings"][0]["SurveyPoints"].size(), 2u);
  EXPECT_EQ(j["AreaRing"]["InternalRings"][0]["InternalRings"][0]["SurveyPoints"].size(), 1u);
  EXPECT_EQ(j["AreaRing"]["InternalRings"][0]["InternalRings"][0]["InternalRings"], OrderedJson::array());

  FakeArea empty;
  EXPECT_EQ(SurveyAreaToJson(empty)["AreaRing"], nullptr);
}

TEST(SurveyJsonTest, DumpDrainsErrorsLastIncludingThoseQueuedWhileReading) {
  auto survey = std::make_shared<FakeSurvey>();
  survey->errors->Push(std::make_shared<GenericSurveyError>("levee.em", 40, "Invalid #X01 Start X", 1));
  auto baseline = std::make_shared<FakeTraverse>();
  baseline->points = {std::make_shared<FakeTraversePoint>()};
  survey->baseline = baseline;

  const auto j = SurveyFileToJson("samples/levee.em", survey);
  EXPECT_EQ(Keys(j), (std::vector<std::string>{"file", "kind", "survey", "errors"}));
  EXPECT_EQ(j["kind"], "survey");
  EXPECT_EQ(j["survey"]["Baseline"]["TraversePoints"][0]["StationName"], "0+00.00");
  ASSERT_EQ(j["errors"].size(), 2u);
  EXPECT_EQ(j["errors"][0]["LineNumber"], 40);
  EXPECT_EQ(j["errors"][1]["Description"], "Baseline File Not Found : x.bl");
  EXPECT_EQ(Keys(j["errors"][0]), (std::vector<std::string>{"Filename", "LineNumber", "Description", "severity"}));
  EXPECT_TRUE(survey->errors->IsEmpty());
}

TEST(SurveyJsonTest, TraverseFilesDumpAsTraverseAndOtherObjectsAreRefused) {
  auto traverse = std::make_shared<FakeTraverse>();
  traverse->points = {std::make_shared<FakeTraversePoint>(), std::make_shared<FakeTraversePoint>()};
  traverse->errors->Push(std::make_shared<GenericSurveyError>("c.83", 14, "Unrecognized horizontal datum : X", 1));
  const auto j = SurveyFileToJson("c.83", traverse);
  EXPECT_EQ(Keys(j), (std::vector<std::string>{"file", "kind", "traverse", "errors"}));
  EXPECT_EQ(j["kind"], "traverse");
  EXPECT_EQ(Keys(j["traverse"]).size(), 14u);
  EXPECT_EQ(Keys(j["traverse"]).back(), "Comments");
  EXPECT_EQ(j["traverse"]["TraversePoints"].size(), 2u);
  EXPECT_EQ(Keys(j["traverse"]["TraversePoints"][0]).size(), 18u);
  EXPECT_EQ(j["errors"][0]["severity"], 1);

  EXPECT_THROW(SurveyFileToJson("x", std::make_shared<FakePoint>()), std::invalid_argument);
}

}  // namespace
}  // namespace veldrane
