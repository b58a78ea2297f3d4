// The JSON view of the survey model that `veldrane dump` prints, checked on
// small hand-made surveys.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/json_writer.h"
#include "cli/survey_json.h"
#include "model/constants.h"
#include "model/date_time.h"
#include "model/features.h"
#include "model/iterators.h"
#include "tests/core/fake_survey.h"
#include "tests/core/test_dates.h"

namespace veldrane {
namespace {

using test::Date;
using test::FakeArea;
using test::FakeRing;
using test::FakeTraverse;
using test::Items;

// One levee survey's values, each distinct enough that a misplaced member
// shows in the JSON.
std::shared_ptr<test::FakePoint> LeveePoint() {
  auto p = std::make_shared<test::FakePoint>();
  p->x = 3352012.25;
  p->y = 700104.5;
  p->z = 28.43;
  p->code = "CL";
  p->codeDescription = "Centerline";
  p->id = 12;
  p->verticalAdjustment = 0.04;
  p->station = 150.0;
  p->lateralOffset = 0.0;
  p->baselineOffset = kUndefinedNumber;
  p->tag = "12";
  return p;
}

std::shared_ptr<test::FakeBenchmark> LeveeBenchmark() {
  auto b = std::make_shared<test::FakeBenchmark>();
  b->name = "BM LEV-3";
  b->northing = 700250.11;
  b->easting = 3352100.2;
  b->documented = 25.51;
  b->verticalDatum = "NAVD88";
  b->epoch = "2006.81";
  b->condition = "GOOD";
  b->measured = 25.47;
  b->pid = "BX4471";
  b->description = " Disk in concrete post";
  b->permanent = true;
  b->adjustment = 0.04;
  b->surveyDate = Date(2011, 3, 14);
  b->fieldBook = "LB-2231";
  b->pageNumber = "14";
  return b;
}

std::shared_ptr<test::FakeGage> LeveeGage() {
  auto g = std::make_shared<test::FakeGage>();
  g->name = "BRG-01";
  g->waterSurfaceElevation = 6.82;
  g->northing = 700900.0;
  g->easting = 3352000.0;
  g->code = "STAFF";
  g->measurementDate = Date(2011, 3, 14, 10, 30);
  g->lmsl = 0.52;
  g->mllw = -0.61;
  g->description = "Staff gage ";
  g->fieldBook = "LB-2231";
  g->pageNumber = "15";
  return g;
}

std::shared_ptr<test::FakeCrossSection> LeveeSection() {
  auto c = std::make_shared<test::FakeCrossSection>();
  c->startX = 3351900.0;
  c->startY = 699850.0;
  c->stopX = 3352100.0;
  c->stopY = 700350.0;
  c->station = 500.0;
  c->rangeName = "R-5";
  c->altName = "5+00 LEVEE";
  c->fieldBook = "LB-2231";
  c->pageNumber = "16";
  c->surveyDate = Date(2011, 3, 14);
  c->description = "Levee toe ";
  c->gridAzimuth = 21.801;
  c->baselineX = 3352000.0;
  c->baselineY = 700100.0;
  return c;
}

std::shared_ptr<test::FakeTraversePoint> LeveeStation() {
  auto t = test::MakeTraversePoint(3351000.0, 700000.0, 0.0);
  t->stationName = "0+00.00";
  t->altName = "BL-0";
  t->latitude = 30.4471;
  t->longitude = 91.1503;
  t->other = 612.443;
  return t;
}

std::shared_ptr<FakeTraverse> LeveeBaseline() {
  auto t = std::make_shared<FakeTraverse>();
  t->jobNumber = "J-1187";
  t->fileName = "levee.bl";
  t->datum = "NAD83";
  t->epoch = "2011";
  t->date = Date(2011, 3, 14);
  t->title = "Levee baseline";
  t->projection = "LA SOUTH";
  t->units = "US SURVEY FEET";
  return t;
}

// The shared fake survey with the values these tests read back, empty crew,
// equipment and weather lists, and a Baseline that queues a record the way
// a survey does when its baseline file is missing.
struct FakeSurvey : test::FakeSurvey {
  std::shared_ptr<ITraverse> baseline;
  std::string title = "Levee survey";
  double scale = 0.99994621;

  std::string Title() override { return title; }
  DateTime SurveyEndDate() override { return Date(2011, 3, 16); }
  std::string QuadName() override { return "Gonzales"; }
  double CombinedScaleFactor() override { return scale; }
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
  std::string GetCustomCode(const std::string&) override { return "should not be dumped"; }
  bool HasCustomCode(const std::string&) override { return true; }
};

using OrderedJson = nlohmann::ordered_json;

// What a Write* function writes for `value`, compact, and read back.
template <class T, class V>
std::string WrittenText(void (*write)(JsonWriter&, T&), V& value) {
  std::ostringstream text;
  {
    JsonWriter w(text, false);
    write(w, value);
  }
  return text.str();
}
template <class T, class V>
OrderedJson Written(void (*write)(JsonWriter&, T&), V& value) {
  return OrderedJson::parse(WrittenText(write, value));
}
OrderedJson Dumped(const std::string& path, const std::shared_ptr<IInterface>& object) {
  return OrderedJson::parse(SurveyFileJsonText(path, object, false));
}

std::vector<std::string> Keys(const OrderedJson& object) {
  std::vector<std::string> keys;
  for (const auto& item : object.items()) keys.push_back(item.key());
  return keys;
}

// The member order is pinned end to end by the dump script (tests/scripts).
TEST(SurveyJsonTest, SurveyMembersWithoutErrorsAndCodeLookups) {
  FakeSurvey survey;
  const auto j = Written(WriteSurvey, survey);
  EXPECT_EQ(Keys(j).size(), 38u);
  EXPECT_EQ(j["SurveyEndDate"], "2011-03-16T00:00:00");
  EXPECT_EQ(j["Baseline"], nullptr);
  EXPECT_EQ(j["CrewMembers"], OrderedJson::array());
  EXPECT_EQ(j["QuadName"], "Gonzales");
}

TEST(SurveyJsonTest, NumbersKeepExactValuesAndSentinelsNonFiniteBecomesNull) {
  FakeSurvey survey;
  survey.scale = 0.1 + 0.2;  // 0.30000000000000004: needs all 17 digits
  const auto text = WrittenText(WriteSurvey, survey);
  EXPECT_NE(text.find("\"CombinedScaleFactor\":0.30000000000000004"), std::string::npos) << text;
  EXPECT_NE(text.find("\"VerticalAccuracy\":0.0001"), std::string::npos) << text;
  EXPECT_EQ(OrderedJson::parse(text)["CombinedScaleFactor"].get<double>(), 0.1 + 0.2);

  survey.scale = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(Written(WriteSurvey, survey)["CombinedScaleFactor"], nullptr);
  survey.scale = -std::numeric_limits<double>::infinity();
  EXPECT_EQ(Written(WriteSurvey, survey)["CombinedScaleFactor"], nullptr);

  auto point = LeveePoint();
  point->id = kUndefinedPointId;
  point->z = 3.0;
  const auto p = Written(WriteSurveyPoint, *point);
  EXPECT_TRUE(p["Id"].is_number_integer());
  EXPECT_NE(p.dump().find("\"Id\":9999999,"), std::string::npos) << p.dump();
  EXPECT_TRUE(p["Z"].is_number_float());
  EXPECT_EQ(p["BaselineOffset"].get<double>(), kUndefinedNumber);
}

TEST(SurveyJsonTest, FeaturesNameTheirLinkedBenchmarkAndGageOrNull) {
  auto benchmark = LeveeBenchmark();
  auto gage = LeveeGage();
  gage->benchmark = benchmark;
  auto section = LeveeSection();
  section->benchmark = benchmark;
  section->gage = gage;
  section->points = {LeveePoint(), LeveePoint()};
  auto bare = LeveeSection();

  const auto j = Written(WriteCrossSection, *section);
  EXPECT_EQ(j["Benchmark"], "BM LEV-3");
  EXPECT_EQ(j["Gage"], "BRG-01");
  EXPECT_EQ(j["Points"].size(), 2u);
  EXPECT_EQ(j["Points"][0]["Code"], "CL");
  EXPECT_EQ(j["WaterSurfaceTime"], "2000-12-31T00:00:00");
  EXPECT_EQ(Keys(j).front(), "Points");
  EXPECT_EQ(Keys(j).back(), "BaselineIntersectY");

  const auto b = Written(WriteCrossSection, *bare);
  EXPECT_EQ(b["Benchmark"], nullptr);
  EXPECT_EQ(b["Gage"], nullptr);

  const auto g = Written(WriteGage, *gage);
  EXPECT_EQ(g["Benchmark"], "BM LEV-3");
  EXPECT_EQ(g["MeasurementDate"], "2011-03-14T10:30:00");
  EXPECT_EQ(g["MeanLowerLowWaterReference"].get<double>(), -0.61);

  const auto v = Written(WriteVerticalControl, *benchmark);
  EXPECT_EQ(v["IsPermanent"], true);
  EXPECT_EQ(Keys(v).size(), 18u);
}

TEST(SurveyJsonTest, CollectionsAreReadFromTheFirstItemWhateverTheIteratorPosition) {
  FakeSurvey survey;
  auto a = LeveeBenchmark();
  auto b = LeveeBenchmark();
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
  const auto j = Written(WriteSurvey, rewinding);
  ASSERT_EQ(j["VerticalControls"].size(), 2u);
  EXPECT_EQ(j["VerticalControls"][1]["Name"], "TBM 7");
}

TEST(SurveyJsonTest, AreaRingsNestHolesAndIslands) {
  auto island = std::make_shared<FakeRing>();
  island->points = {LeveePoint()};
  auto hole = std::make_shared<FakeRing>();
  hole->points = {LeveePoint(), LeveePoint()};
  hole->inner = {island};
  auto exterior = std::make_shared<FakeRing>();
  exterior->points = {LeveePoint(), LeveePoint(), LeveePoint()};
  exterior->inner = {hole};
  auto area = std::make_shared<FakeArea>();
  area->altName = "Borrow pit";
  area->ring = exterior;
  const auto j = Written(WriteSurveyArea, *area);
  EXPECT_EQ(j["AreaRing"]["SurveyPoints"].size(), 3u);
  ASSERT_EQ(j["AreaRing"]["InternalRings"].size(), 1u);
  EXPECT_EQ(j["AreaRing"]["InternalRings"][0]["SurveyPoints"].size(), 2u);
  EXPECT_EQ(j["AreaRing"]["InternalRings"][0]["InternalRings"][0]["SurveyPoints"].size(), 1u);
  EXPECT_EQ(j["AreaRing"]["InternalRings"][0]["InternalRings"][0]["InternalRings"], OrderedJson::array());

  FakeArea empty;
  empty.ring = nullptr;
  EXPECT_EQ(Written(WriteSurveyArea, empty)["AreaRing"], nullptr);
}

TEST(SurveyJsonTest, DumpDrainsErrorsLastIncludingThoseQueuedWhileReading) {
  auto survey = std::make_shared<FakeSurvey>();
  survey->errors->Push(std::make_shared<GenericSurveyError>("levee.em", 40, "Invalid #X01 Start X", 1));
  auto baseline = LeveeBaseline();
  baseline->points = {LeveeStation()};
  survey->baseline = baseline;

  const auto j = Dumped("samples/levee.em", survey);
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
  auto traverse = LeveeBaseline();
  traverse->points = {LeveeStation(), LeveeStation()};
  traverse->errors->Push(std::make_shared<GenericSurveyError>("c.83", 14, "Unrecognized horizontal datum : X", 1));
  const auto j = Dumped("c.83", traverse);
  EXPECT_EQ(Keys(j), (std::vector<std::string>{"file", "kind", "traverse", "errors"}));
  EXPECT_EQ(j["kind"], "traverse");
  EXPECT_EQ(Keys(j["traverse"]).size(), 14u);
  EXPECT_EQ(Keys(j["traverse"]).back(), "Comments");
  EXPECT_EQ(j["traverse"]["TraversePoints"].size(), 2u);
  EXPECT_EQ(Keys(j["traverse"]["TraversePoints"][0]).size(), 18u);
  EXPECT_EQ(j["errors"][0]["severity"], 1);

  EXPECT_THROW(SurveyFileJsonText("x", LeveePoint(), true), std::invalid_argument);
}

}  // namespace
}  // namespace veldrane
