// The metadata writers against a property set that records every write, so
// the order, the paths with their record indexes, the actions and the text
// of each value can be checked exactly.
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "config/metadata_writer.h"
#include "config/module_context.h"
#include "config/value_domain.h"
#include "model/notifier.h"
#include "tests/core/capturing_notifier.h"
#include "tests/core/fake_survey.h"
#include "tests/core/temp_dir.h"
#include "tests/core/test_dates.h"

namespace veldrane {
namespace {

using test::CapturingNotifier;
using test::Date;
using test::FakeBenchmark;
using test::FakeGage;
using test::FakeTraverse;
using Texts = std::vector<std::string>;

class RecordingPropertySet : public IXmlPropertySet {
 public:
  std::optional<std::string> GetProperty(const std::string&) const override { return std::nullopt; }
  std::shared_ptr<ISurveyError> LoadFromFile(const std::filesystem::path&) override { return nullptr; }
  std::shared_ptr<ISurveyError> SaveAsFile(const std::filesystem::path&) const override { return nullptr; }
  std::string GetXml() const override { return {}; }

  // Each write under `prefix` as "PATH=VALUE", the prefix left out, and
  // " (action N)" after a write with an action (3 adds a record).
  Texts Under(const std::string& prefix = "") const {
    Texts picked;
    for (const auto& [path, value, action] : writes)
      if (path.rfind(prefix, 0) == 0)
        picked.push_back(path.substr(prefix.size()) + "=" + value +
                         (action != 0 ? " (action " + std::to_string(action) + ")" : ""));
    return picked;
  }

  std::vector<std::tuple<std::string, std::string, int>> writes;
  std::string failOnPath;  // a write to this path throws

 protected:
  void StoreProperty(const std::string& path, const std::string& text, int, int action, bool) override {
    if (path == failOnPath) throw std::runtime_error("disk full");
    writes.emplace_back(path, text, action);
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
  std::string temperature, cloud, windSpeed;
  DateTime stamp = DateTime::Undefined();
  std::string Temperature() override { return temperature; }
  std::string Pressure() override { return {}; }
  std::string Humidity() override { return {}; }
  std::string CloudConditions() override { return cloud; }
  std::string WindSpeed() override { return windSpeed; }
  std::string WindDirection() override { return {}; }
  DateTime TimeStamp() override { return stamp; }
  std::string FieldBook() override { return {}; }
  std::string PageNumber() override { return {}; }
};

// The shared fake survey with one levee survey's header values, the crew,
// equipment and weather lists, and the choice of a reader that offers no
// benchmark or gage collection at all.
struct FakeSurvey : test::FakeSurvey {
  bool offersBenchmarks = true, offersGages = true;

  FakeSurvey() { epoch = "1986"; }
  std::string JobNumber() override { return "J-17"; }
  std::string Title() override { return "Levee Reach 4"; }
  std::string Comments() override { return "Rain delay"; }
  std::string OriginalFileName() override { return "levee.em"; }
  std::string Contractor() override { return "Acme Surveys"; }
  std::string VerticalDatum() override { return "navd88"; }
  std::string Epoch() override { return "2004.65"; }
  std::string Location() override { return "Bayou Teche"; }
  DateTime SurveyDate() override { return Date(2023, 3, 1); }
  std::shared_ptr<IVerticalControlIterator> VerticalControls() override {
    return offersBenchmarks ? test::FakeSurvey::VerticalControls() : nullptr;
  }
  std::shared_ptr<IGageIterator> Gages() override { return offersGages ? test::FakeSurvey::Gages() : nullptr; }
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
        "UNITS,feet,Feet\n"
        "HORIZONTAL_DATUM,nad83,NAD83\n"
        "PROJECTION,1702,Louisiana South\n",
        ",");
    CurrentModuleContext().SetValueDomain(table);
  }
  void TearDown() override { ResetSharedValueDomain(); }

  static Texts Written(FakeSurvey& survey, const std::string& prefix = "") {
    RecordingPropertySet set;
    SetMetadataValuesFromEM(set, survey);
    return set.Under(prefix);
  }
};

TEST_F(MetadataWriterTest, SurveyHeaderValuesGoToTheirPathsInOrder) {
  FakeSurvey survey;
  EXPECT_EQ(Written(survey),
            (Texts{"idinfo/citation/citeinfo/title=levee.em", "idinfo/citation/citeinfo/origin=Acme Surveys",
                   "idinfo/descript/supplinf=Rain delay", "spref/vertdef/altsys/altdatum=NAVD 1988",
                   "spref/vertdef/altsys/altUnits=FEET", "idinfo/citation/citeinfo/pubdate=Wednesday, March 1, 2023",
                   "idinfo/citation/serinfo/sername=Levee Reach 4", "idinfo/citation/serinfo/issue=J-17",
                   "idinfo/citation/keywords/place/placekey=Bayou Teche", "spref/horizsys/planar/mapproj/mapprojn=1702",
                   "spref/horizsys/planar/gridsys/gridsysn=State Plane Coordinate System NAD83 (1986)",
                   "spref/horizsys/geodetic/horizdn=NAD83 (1986)",
                   "spref/horizsys/planar/gridsys/spcs/spcszone=LOUISIANA SOUTH",
                   "spref/vertdef/depthsys/depthdn=2004.65", "spref/horizsys/planar/planci/plandu=FEET",
                   // An EM survey always offers its benchmark and gage lists, even empty.
                   "halden/vertcntl=", "halden/gages="}));
}

TEST_F(MetadataWriterTest, ListsAreIndexedRecordsWithDefinedValuesOnlyInAFixedOrder) {
  FakeSurvey survey;
  auto bm = std::make_shared<FakeBenchmark>();
  bm->name = "BM 12";
  bm->permanent = true;
  bm->pid = "AU1234";
  bm->verticalDatum = "NAVD88";
  bm->epoch = "2004.65";
  bm->documented = 10.25;
  bm->adjustment = 0.12;
  bm->description = " brass disk";
  survey.benchmarks = {bm};
  auto reading = std::make_shared<FakeGage>();
  reading->waterSurfaceElevation = 2.5;
  reading->name = "Teche at Keystone";
  reading->code = "TIDE";
  reading->mllw = 0.75;
  reading->description = "staff gage ";
  survey.gages = {reading};
  survey.equipment = {std::make_shared<FakeEquipment>("TOTAL STATION", "123", "ABC")};
  survey.crew = {std::make_shared<FakeCrewMember>("SMITH")};
  auto noon = std::make_shared<FakeWeather>();
  noon->stamp = Date(2023, 3, 2, 12, 0);
  noon->temperature = "75";
  noon->cloud = "OVERCAST";
  noon->windSpeed = "10 MPH";
  survey.weather = {noon};
  EXPECT_EQ(
      Written(survey, "halden/"),
      (Texts{"vertcntl=", "vertcntl/permbm= (action 3)", "vertcntl/permbm[0]/name=BM 12",
             "vertcntl/permbm[0]/status=PBM", "vertcntl/permbm[0]/pid=AU1234", "vertcntl/permbm[0]/vdatum=NAVD88",
             "vertcntl/permbm[0]/epoch=2004.65", "vertcntl/permbm[0]/documentedelevation=10.25",
             "vertcntl/permbm[0]/measuredelevation=", "vertcntl/permbm[0]/adjustment=0.12",
             "vertcntl/permbm[0]/descript= brass disk", "gages=", "gages/gageread= (action 3)",
             "gages/gageread[0]/wselevation=2.5", "gages/gageread[0]/name=Teche at Keystone",
             "gages/gageread[0]/id=TIDE", "gages/gageread[0]/lmsl=", "gages/gageread[0]/mllw=0.75",
             // Undated; how a date is written is pinned with the real reader (MetadataWorkspaceTest).
             "gages/gageread[0]/date=", "gages/gageread[0]/descript=staff gage ", "equip=",
             "equip/instrument= (action 3)", "equip/instrument[0]/name=TOTAL STATION", "equip/instrument[0]/model=ABC",
             "equip/instrument[0]/serial=123", "crew=", "crew/person= (action 3)", "crew/person[0]/name=SMITH",
             "weather=", "weather/obs= (action 3)", "weather/obs[0]/datetime=3/2/2023", "weather/obs[0]/temperature=75",
             "weather/obs[0]/humidity=", "weather/obs[0]/pressure=", "weather/obs[0]/cloud=OVERCAST",
             "weather/obs[0]/windspeed=10 MPH", "weather/obs[0]/winddirection="}));
  // Further records follow under the next index: a temporary benchmark, and
  // an observation without a time stamp, which writes no datetime.
  survey.benchmarks.push_back(std::make_shared<FakeBenchmark>());
  survey.weather.push_back(std::make_shared<FakeWeather>());
  EXPECT_EQ(Written(survey, "halden/vertcntl/permbm[1]/status"), Texts{"=TBM"});
  EXPECT_EQ(Written(survey, "halden/weather/obs[1]/"),
            (Texts{"temperature=", "humidity=", "pressure=", "cloud=", "windspeed=", "winddirection="}));
  // A reader without benchmarks or gages: empty lists write no section
  // except the gages'.
  FakeSurvey bare;
  bare.offersBenchmarks = bare.offersGages = false;
  EXPECT_EQ(Written(bare, "halden/"), Texts{"gages="});
}

TEST_F(MetadataWriterTest, FailureKeepsEarlierWritesAndIsReportedOnce) {
  auto reading = std::make_shared<FakeGage>();
  reading->name = "A";
  FakeSurvey survey;
  survey.gages = {reading};
  RecordingPropertySet set;
  set.failOnPath = "halden/gages/gageread[0]/name";
  CapturingNotifier notifier;
  ScopedNotifier capture(&notifier);
  SetMetadataValuesFromEM(set, survey);  // must not throw
  const Texts written = set.Under();
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(written.front(), "idinfo/citation/citeinfo/title=levee.em");
  EXPECT_EQ(written.back(), "halden/gages/gageread[0]/wselevation=");
  ASSERT_EQ(notifier.kinds, std::vector<NoticeKind>{NoticeKind::ErrorWindow});
  EXPECT_NE(notifier.texts[0].find("SetMetadataValuesFromEM"), std::string::npos);
  EXPECT_NE(notifier.texts[0].find("disk full"), std::string::npos);
}

TEST_F(MetadataWriterTest, TraverseValuesGoToTheirPathsInOrder) {
  FakeTraverse traverse;  // titled "Levee", zone 1702, NAD83, in feet
  traverse.date = Date(2019, 7, 4);
  traverse.fieldBook = "FB 221";
  traverse.epoch = "2011";
  RecordingPropertySet set;
  SetMetadataValuesFromTraverse(set, traverse);
  EXPECT_EQ(set.Under(),
            (Texts{"idinfo/citation/citeinfo/pubdate=Thursday, July 4, 2019", "idinfo/citation/serinfo/sername=Levee",
                   "idinfo/citation/serinfo/issue=FB 221", "spref/horizsys/planar/mapproj/mapprojn=1702",
                   "spref/horizsys/planar/gridsys/gridsysn=State Plane Coordinate System NAD83 (2011)",
                   "spref/horizsys/geodetic/horizdn=NAD83 (2011)",
                   // Zone and units as the traverse gives them, not looked up.
                   "spref/horizsys/planar/gridsys/spcs/spcszone=1702", "spref/horizsys/planar/planci/plandu=Feet"}));
  traverse.date = DateTime::Undefined();
  RecordingPropertySet undated;
  SetMetadataValuesFromTraverse(undated, traverse);
  EXPECT_EQ(undated.Under("idinfo/citation/citeinfo/pubdate"), Texts{});
}

TEST(MetadataFileTest, XmlFileExistsOnlyForARegularCompanionFile) {
  test::TempDir folder;
  std::filesystem::create_directories(folder / "c.em.xml");  // a folder, not a document
  test::WriteFile(folder / "a.em.xml", "<metadata/>");
  EXPECT_TRUE(XMLFileExists(folder.path(), "a.em"));
  EXPECT_FALSE(XMLFileExists(folder.path(), "b.em"));
  EXPECT_FALSE(XMLFileExists(folder.path(), "c.em"));
  EXPECT_FALSE(XMLFileExists(folder.path(), "a"));
}

}  // namespace
}  // namespace veldrane
