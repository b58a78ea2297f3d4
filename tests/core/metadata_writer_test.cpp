// The metadata writers against a property set that records every write, so
// the order, the paths with their record indexes, the actions and the text
// of each value can be checked exactly.
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/metadata_writer.h"
#include "config/module_context.h"
#include "config/value_domain.h"
#include "model/constants.h"
#include "model/notifier.h"
#include "tests/core/capturing_notifier.h"
#include "tests/core/fake_survey.h"
#include "tests/core/test_dates.h"

namespace veldrane {
namespace {

using test::CapturingNotifier;
using test::Date;
using test::FakeBenchmark;
using test::FakeGage;
using test::FakeTraverse;

struct Write {
  std::string path;
  std::string value;
  int action;
  bool operator==(const Write&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Write& w) {
  return out << "{" << w.path << " = \"" << w.value << "\" action " << w.action << "}";
}

class RecordingPropertySet : public IXmlPropertySet {
 public:
  std::optional<std::string> GetProperty(const std::string&) const override { return std::nullopt; }
  std::shared_ptr<ISurveyError> LoadFromFile(const std::filesystem::path&) override { return nullptr; }
  std::shared_ptr<ISurveyError> SaveAsFile(const std::filesystem::path&) const override { return nullptr; }
  std::string GetXml() const override { return {}; }

  std::vector<Write> writes;
  std::string failOnPath;  // a write to this path throws

  // The writes whose path starts with `prefix`.
  std::vector<Write> Under(const std::string& prefix) const {
    std::vector<Write> picked;
    for (const auto& w : writes)
      if (w.path.rfind(prefix, 0) == 0) picked.push_back(w);
    return picked;
  }
  bool Wrote(const std::string& path) const {
    for (const auto& w : writes)
      if (w.path == path) return true;
    return false;
  }

 protected:
  void StoreProperty(const std::string& path, const std::string& text, int, int action, bool) override {
    if (path == failOnPath) throw std::runtime_error("disk full");
    writes.push_back({path, text, action});
  }
};

struct FakeEquipment : IEquipment {
  std::string instrument, serial, model;
  FakeEquipment(std::string i, std::string s, std::string m) : instrument(i), serial(s), model(m) {}
  std::string Instrument() override { return instrument; }
  std::string SerialNumber() override { return serial; }
  std::string Model() override { return model; }
  std::string Description() override { return "not written"; }
};

struct FakeCrewMember : ICrewMember {
  std::string name;
  explicit FakeCrewMember(std::string n) : name(n) {}
  std::string Name() override { return name; }
  std::string Assignment() override { return "Rodman"; }
};

struct FakeWeather : IWeather {
  std::string temperature, pressure, humidity, cloud, windSpeed, windDirection;
  DateTime stamp = DateTime::Undefined();
  std::string Temperature() override { return temperature; }
  std::string Pressure() override { return pressure; }
  std::string Humidity() override { return humidity; }
  std::string CloudConditions() override { return cloud; }
  std::string WindSpeed() override { return windSpeed; }
  std::string WindDirection() override { return windDirection; }
  DateTime TimeStamp() override { return stamp; }
  std::string FieldBook() override { return {}; }
  std::string PageNumber() override { return {}; }
};

template <class Iterator, class T>
std::shared_ptr<Iterator> ListOf(const test::Items<T>& items) {
  return std::make_shared<ListIterator<Iterator, T>>(items);
}

// The shared fake survey with the header values the writer reads, the
// crew, equipment and weather lists, and the choice of a reader that offers
// no benchmark or gage collection at all.
struct FakeSurvey : test::FakeSurvey {
  std::string jobNumber, title, comments, originalFileName, contractor, verticalDatum, verticalEpoch, location;
  DateTime surveyDate = DateTime::Undefined();
  bool offersBenchmarks = true, offersGages = true;
  test::Items<IEquipment> equipment;
  test::Items<ICrewMember> crew;
  test::Items<IWeather> weather;

  std::string JobNumber() override { return jobNumber; }
  std::string Title() override { return title; }
  std::string Comments() override { return comments; }
  std::string OriginalFileName() override { return originalFileName; }
  std::string Contractor() override { return contractor; }
  std::string VerticalDatum() override { return verticalDatum; }
  std::string Epoch() override { return verticalEpoch; }
  std::string Location() override { return location; }
  DateTime SurveyDate() override { return surveyDate; }
  std::shared_ptr<IVerticalControlIterator> VerticalControls() override {
    return offersBenchmarks ? test::FakeSurvey::VerticalControls() : nullptr;
  }
  std::shared_ptr<IGageIterator> Gages() override { return offersGages ? test::FakeSurvey::Gages() : nullptr; }
  std::shared_ptr<ICrewMemberIterator> CrewMembers() override { return ListOf<ICrewMemberIterator>(crew); }
  std::shared_ptr<IEquipmentIterator> Equipment() override { return ListOf<IEquipmentIterator>(equipment); }
  std::shared_ptr<IWeatherIterator> Weather() override { return ListOf<IWeatherIterator>(weather); }
};

// Every test runs against the same small value domain table, installed as
// the current module context's value domain.
class MetadataWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto table = std::make_shared<SurveyValueDomain>();
    table->LoadTableText(
        "domain,key,value\n"
        "VERTICAL_DATUM,navd88,NAVD 1988\n"
        "UNITS,ft,Feet\n"
        "HORIZONTAL_DATUM,nad83,NAD83\n"
        "HORIZONTAL_DATUM,nad27,NAD27\n"
        "PROJECTION,1702,Louisiana South\n",
        ",");
    CurrentModuleContext().SetValueDomain(table);
  }
  void TearDown() override { ResetSharedValueDomain(); }

  static FakeSurvey LeveeSurvey() {
    FakeSurvey s;
    s.originalFileName = "levee.em";
    s.contractor = "Acme Surveys";
    s.comments = "Rain delay";
    s.verticalDatum = "navd88";
    s.units = "ft";
    s.surveyDate = Date(2023, 3, 1);
    s.title = "Levee Reach 4";
    s.jobNumber = "J-17";
    s.location = "Bayou Teche";
    s.projection = "1702";
    s.datum = "NAD83";
    s.epoch = "1986";
    s.verticalEpoch = "2004.65";
    return s;
  }

  CapturingNotifier notifier;
};

TEST_F(MetadataWriterTest, SurveyHeaderValuesGoToTheirPathsInOrder) {
  FakeSurvey survey = LeveeSurvey();
  RecordingPropertySet set;
  SetMetadataValuesFromEM(set, survey);
  const std::vector<Write> expected{
      {"idinfo/citation/citeinfo/title", "levee.em", 0},
      {"idinfo/citation/citeinfo/origin", "Acme Surveys", 0},
      {"idinfo/descript/supplinf", "Rain delay", 0},
      {"spref/vertdef/altsys/altdatum", "NAVD 1988", 0},
      {"spref/vertdef/altsys/altUnits", "FEET", 0},
      {"idinfo/citation/citeinfo/pubdate", "Wednesday, March 1, 2023", 0},
      {"idinfo/citation/serinfo/sername", "Levee Reach 4", 0},
      {"idinfo/citation/serinfo/issue", "J-17", 0},
      {"idinfo/citation/keywords/place/placekey", "Bayou Teche", 0},
      {"spref/horizsys/planar/mapproj/mapprojn", "1702", 0},
      {"spref/horizsys/planar/gridsys/gridsysn", "State Plane Coordinate System NAD83 (1986)", 0},
      {"spref/horizsys/geodetic/horizdn", "NAD83 (1986)", 0},
      {"spref/horizsys/planar/gridsys/spcs/spcszone", "LOUISIANA SOUTH", 0},
      {"spref/vertdef/depthsys/depthdn", "2004.65", 0},
      {"spref/horizsys/planar/planci/plandu", "FEET", 0},
      // An EM survey always offers its benchmark and gage lists, even empty.
      {"halden/vertcntl", "", 0},
      {"halden/gages", "", 0},
  };
  EXPECT_EQ(set.writes, expected);
  EXPECT_TRUE(notifier.texts.empty());
}

TEST_F(MetadataWriterTest, DatumWithoutEpochAndUnknownCodes) {
  FakeSurvey survey = LeveeSurvey();
  survey.epoch.clear();
  survey.datum = "nad27";
  survey.units = "furlongs";   // not in the UNITS domain
  survey.projection = "4201";  // not in the PROJECTION domain
  RecordingPropertySet set;
  SetMetadataValuesFromEM(set, survey);
  const auto spref = set.Under("spref/");
  const std::vector<Write> expected{
      {"spref/vertdef/altsys/altdatum", "NAVD 1988", 0},
      {"spref/vertdef/altsys/altUnits", "", 0},
      {"spref/horizsys/planar/mapproj/mapprojn", "4201", 0},
      {"spref/horizsys/planar/gridsys/gridsysn", "State Plane Coordinate System NAD27", 0},
      {"spref/horizsys/geodetic/horizdn", "NAD27", 0},
      {"spref/horizsys/planar/gridsys/spcs/spcszone", "", 0},
      {"spref/vertdef/depthsys/depthdn", "2004.65", 0},
      {"spref/horizsys/planar/planci/plandu", "", 0},
  };
  EXPECT_EQ(spref, expected);
}

TEST_F(MetadataWriterTest, BenchmarksAreIndexedRecordsWithDefinedValuesOnly) {
  auto first = std::make_shared<FakeBenchmark>();
  first->name = "BM 12";
  first->permanent = true;
  first->pid = "AU1234";
  first->verticalDatum = "NAVD88";
  first->epoch = "2004.65";
  first->documented = 10.25;
  first->adjustment = 0.12;
  first->description = " brass disk";
  auto second = std::make_shared<FakeBenchmark>();
  second->name = "TBM 3";
  second->measured = -2.5;
  FakeSurvey survey = LeveeSurvey();
  survey.benchmarks = {first, second};
  RecordingPropertySet set;
  SetMetadataValuesFromEM(set, survey);
  const std::vector<Write> expected{
      {"halden/vertcntl", "", 0},
      {"halden/vertcntl/permbm", "", 3},
      {"halden/vertcntl/permbm[0]/name", "BM 12", 0},
      {"halden/vertcntl/permbm[0]/status", "PBM", 0},
      {"halden/vertcntl/permbm[0]/pid", "AU1234", 0},
      {"halden/vertcntl/permbm[0]/vdatum", "NAVD88", 0},
      {"halden/vertcntl/permbm[0]/epoch", "2004.65", 0},
      {"halden/vertcntl/permbm[0]/documentedelevation", "10.25", 0},
      {"halden/vertcntl/permbm[0]/measuredelevation", "", 0},
      {"halden/vertcntl/permbm[0]/adjustment", "0.12", 0},
      {"halden/vertcntl/permbm[0]/descript", " brass disk", 0},
      {"halden/vertcntl/permbm", "", 3},
      {"halden/vertcntl/permbm[1]/name", "TBM 3", 0},
      {"halden/vertcntl/permbm[1]/status", "TBM", 0},
      {"halden/vertcntl/permbm[1]/pid", "", 0},
      {"halden/vertcntl/permbm[1]/vdatum", "", 0},
      {"halden/vertcntl/permbm[1]/epoch", "", 0},
      {"halden/vertcntl/permbm[1]/documentedelevation", "", 0},
      {"halden/vertcntl/permbm[1]/measuredelevation", "-2.5", 0},
      {"halden/vertcntl/permbm[1]/adjustment", "0", 0},
      {"halden/vertcntl/permbm[1]/descript", "", 0},
  };
  EXPECT_EQ(set.Under("halden/vertcntl"), expected);
}

TEST_F(MetadataWriterTest, GageReadingsWriteEmptyTextForUndefinedValues) {
  auto reading = std::make_shared<FakeGage>();
  reading->waterSurfaceElevation = 2.5;
  reading->name = "Teche at Keystone";
  reading->code = "TIDE";
  reading->mllw = 0.75;
  reading->measurementDate = Date(2023, 3, 1, 10, 30);
  reading->description = "staff gage ";
  auto incomplete = std::make_shared<FakeGage>();
  incomplete->name = "B";
  FakeSurvey survey = LeveeSurvey();
  survey.gages = {reading, incomplete};
  RecordingPropertySet set;
  SetMetadataValuesFromEM(set, survey);
  const std::vector<Write> expected{
      {"halden/gages", "", 0},
      {"halden/gages/gageread", "", 3},
      {"halden/gages/gageread[0]/wselevation", "2.5", 0},
      {"halden/gages/gageread[0]/name", "Teche at Keystone", 0},
      {"halden/gages/gageread[0]/id", "TIDE", 0},
      {"halden/gages/gageread[0]/lmsl", "", 0},
      {"halden/gages/gageread[0]/mllw", "0.75", 0},
      {"halden/gages/gageread[0]/date", "3/1/2023 10:30:00 AM", 0},
      {"halden/gages/gageread[0]/descript", "staff gage ", 0},
      {"halden/gages/gageread", "", 3},
      {"halden/gages/gageread[1]/wselevation", "", 0},
      {"halden/gages/gageread[1]/name", "B", 0},
      {"halden/gages/gageread[1]/id", "", 0},
      {"halden/gages/gageread[1]/lmsl", "", 0},
      {"halden/gages/gageread[1]/mllw", "", 0},
      {"halden/gages/gageread[1]/date", "", 0},
      {"halden/gages/gageread[1]/descript", "", 0},
  };
  EXPECT_EQ(set.Under("halden/gages"), expected);
}

TEST_F(MetadataWriterTest, EquipmentCrewAndWeatherSections) {
  FakeSurvey survey = LeveeSurvey();
  survey.equipment = {std::make_shared<FakeEquipment>("TOTAL STATION", "123", "ABC"),
                      std::make_shared<FakeEquipment>("LEVEL", "9", "N3")};
  survey.crew = {std::make_shared<FakeCrewMember>("SMITH")};
  auto noon = std::make_shared<FakeWeather>();
  noon->stamp = Date(2023, 3, 2, 12, 0);
  noon->temperature = "75";
  noon->windSpeed = "10 MPH";
  auto undated = std::make_shared<FakeWeather>();
  undated->cloud = "OVERCAST";
  survey.weather = {noon, undated};
  RecordingPropertySet set;
  SetMetadataValuesFromEM(set, survey);

  const std::vector<Write> equipment{
      {"halden/equip", "", 0},
      {"halden/equip/instrument", "", 3},
      {"halden/equip/instrument[0]/name", "TOTAL STATION", 0},
      {"halden/equip/instrument[0]/model", "ABC", 0},
      {"halden/equip/instrument[0]/serial", "123", 0},
      {"halden/equip/instrument", "", 3},
      {"halden/equip/instrument[1]/name", "LEVEL", 0},
      {"halden/equip/instrument[1]/model", "N3", 0},
      {"halden/equip/instrument[1]/serial", "9", 0},
  };
  EXPECT_EQ(set.Under("halden/equip"), equipment);
  const std::vector<Write> crew{
      {"halden/crew", "", 0},
      {"halden/crew/person", "", 3},
      {"halden/crew/person[0]/name", "SMITH", 0},
  };
  EXPECT_EQ(set.Under("halden/crew"), crew);
  const std::vector<Write> weather{
      {"halden/weather", "", 0},
      {"halden/weather/obs", "", 3},
      {"halden/weather/obs[0]/datetime", "3/2/2023", 0},
      {"halden/weather/obs[0]/temperature", "75", 0},
      {"halden/weather/obs[0]/humidity", "", 0},
      {"halden/weather/obs[0]/pressure", "", 0},
      {"halden/weather/obs[0]/cloud", "", 0},
      {"halden/weather/obs[0]/windspeed", "10 MPH", 0},
      {"halden/weather/obs[0]/winddirection", "", 0},
      {"halden/weather/obs", "", 3},
      // No datetime for an observation stamped 12/31/2000.
      {"halden/weather/obs[1]/temperature", "", 0},
      {"halden/weather/obs[1]/humidity", "", 0},
      {"halden/weather/obs[1]/pressure", "", 0},
      {"halden/weather/obs[1]/cloud", "OVERCAST", 0},
      {"halden/weather/obs[1]/windspeed", "", 0},
      {"halden/weather/obs[1]/winddirection", "", 0},
  };
  EXPECT_EQ(set.Under("halden/weather"), weather);
  // Sections come in a fixed order: benchmarks, gages, equipment, crew, weather.
  std::vector<std::string> sections;
  for (const auto& w : set.Under("halden/"))
    if (w.path.find('/', 7) == std::string::npos) sections.push_back(w.path);
  EXPECT_EQ(sections, (std::vector<std::string>{"halden/vertcntl", "halden/gages", "halden/equip", "halden/crew",
                                                "halden/weather"}));
}

TEST_F(MetadataWriterTest, EmptyListsWriteNoSectionExceptGages) {
  FakeSurvey survey = LeveeSurvey();
  survey.offersBenchmarks = false;  // a reader without benchmarks
  survey.offersGages = false;       // nor gages
  RecordingPropertySet set;
  SetMetadataValuesFromEM(set, survey);
  EXPECT_EQ(set.Under("halden/"), (std::vector<Write>{{"halden/gages", "", 0}}));
}

TEST_F(MetadataWriterTest, FailureKeepsEarlierWritesAndIsReportedOnce) {
  auto reading = std::make_shared<FakeGage>();
  reading->name = "A";
  FakeSurvey survey = LeveeSurvey();
  survey.gages = {reading};
  survey.crew = {std::make_shared<FakeCrewMember>("SMITH")};
  RecordingPropertySet set;
  set.failOnPath = "halden/gages/gageread[0]/name";
  ScopedNotifier capture(&notifier);
  SetMetadataValuesFromEM(set, survey);  // must not throw
  ASSERT_FALSE(set.writes.empty());
  EXPECT_EQ(set.writes.back(), (Write{"halden/gages/gageread[0]/wselevation", "", 0}));
  EXPECT_TRUE(set.Wrote("idinfo/citation/citeinfo/title"));
  EXPECT_FALSE(set.Wrote("halden/crew"));
  ASSERT_EQ(notifier.kinds.size(), 1u);
  EXPECT_EQ(notifier.kinds[0], NoticeKind::ErrorWindow);
  EXPECT_NE(notifier.texts[0].find("SetMetadataValuesFromEM"), std::string::npos);
  EXPECT_NE(notifier.texts[0].find("disk full"), std::string::npos);
}

TEST_F(MetadataWriterTest, TraverseValuesGoToTheirPathsInOrder) {
  FakeTraverse traverse;
  traverse.date = Date(2019, 7, 4);
  traverse.title = "BAYOU TECHE TRAVERSE";
  traverse.fieldBook = "FB 221";
  traverse.projection = "1702";
  traverse.units = "Feet";
  traverse.datum = "NAD83";
  RecordingPropertySet set;
  SetMetadataValuesFromTraverse(set, traverse);
  const std::vector<Write> expected{
      {"idinfo/citation/citeinfo/pubdate", "Thursday, July 4, 2019", 0},
      {"idinfo/citation/serinfo/sername", "BAYOU TECHE TRAVERSE", 0},
      {"idinfo/citation/serinfo/issue", "FB 221", 0},
      {"spref/horizsys/planar/mapproj/mapprojn", "1702", 0},
      {"spref/horizsys/planar/gridsys/gridsysn", "State Plane Coordinate System NAD83", 0},
      {"spref/horizsys/geodetic/horizdn", "NAD83", 0},
      // Zone and units are written as the traverse gives them, not looked up.
      {"spref/horizsys/planar/gridsys/spcs/spcszone", "1702", 0},
      {"spref/horizsys/planar/planci/plandu", "Feet", 0},
  };
  EXPECT_EQ(set.writes, expected);

  traverse.date = DateTime::Undefined();
  traverse.epoch = "2011";
  RecordingPropertySet undated;
  SetMetadataValuesFromTraverse(undated, traverse);
  EXPECT_FALSE(undated.Wrote("idinfo/citation/citeinfo/pubdate"));
  ASSERT_EQ(undated.writes.size(), 7u);
  EXPECT_EQ(undated.writes[3].value, "State Plane Coordinate System NAD83 (2011)");
}

TEST(MetadataFileTest, XmlFileExistsOnlyForARegularCompanionFile) {
  const auto folder = std::filesystem::path(::testing::TempDir()) / "veldrane_metadata_exists";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "c.em.xml");  // a folder, not a document
  std::ofstream(folder / "a.em.xml") << "<metadata/>";
  EXPECT_TRUE(XMLFileExists(folder, "a.em"));
  EXPECT_FALSE(XMLFileExists(folder, "b.em"));
  EXPECT_FALSE(XMLFileExists(folder, "c.em"));
  EXPECT_FALSE(XMLFileExists(folder, "a"));
  EXPECT_EQ(MetadataPathFor(folder / "a.em"), folder / "a.em.xml");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace veldrane
