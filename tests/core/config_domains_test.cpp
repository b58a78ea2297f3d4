// The value domain and coordinate system tables: loading rules, lookups,
// bounding boxes and projection files, and the shipped tables themselves.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "config/coordinate_system_domain.h"
#include "config/error_log.h"
#include "config/module_context.h"
#include "config/settings_paths.h"
#include "config/value_domain.h"
#include "model/notifier.h"
#include "tests/core/capturing_notifier.h"
#include "tests/core/fake_survey.h"
#include "tests/core/temp_dir.h"

namespace veldrane {
namespace {

using test::CapturingNotifier;
using test::TempDir;
using test::WriteFile;
using Texts = std::vector<std::string>;
using Keys = std::vector<std::pair<const char*, const char*>>;

// Each lookup as "DOMAIN/KEY=VALUE"; a missing domain as "DOMAIN/KEY raises".
Texts Lookups(const SurveyValueDomain& domains, const Keys& keys) {
  Texts out;
  for (const auto& [domain, key] : keys) {
    try {
      out.push_back(std::string(domain) + "/" + key + "=" + domains.LookupValue(domain, key));
    } catch (const RaisedError&) {
      out.push_back(std::string(domain) + "/" + key + " raises");
    }
  }
  return out;
}

TEST(ValueDomainTest, LoadingAndLookingUp) {
  struct Case {
    const char* what;
    const char* table;
    const char* delimiter;
    Keys keys;
    Texts values;
    Texts notices;
  };
  const Case cases[] = {
      {"fields are trimmed and upper-cased; keys are looked up trimmed in any case; any line break",
       "CODE,HEADER,IS NOT DATA\r\n  code , ab ,  Alpha Beta \r\nCODE,XY,Ex Why\r\nUNITS,ft,Feet\rUNITS,M,meters\n",
       ",",
       {{"CODE", "ab"},
        {"CODE", "  Ab "},
        {" CODE ", "xy"},
        {"CODE", "HEADER"},
        {"UNITS", "FT"},
        {"UNITS", "m"},
        {"code", "AB"},
        {"DATUM", "X"}},
       {"CODE/ab=ALPHA BETA", "CODE/  Ab =ALPHA BETA", " CODE /xy=EX WHY", "CODE/HEADER=", "UNITS/FT=FEET",
        "UNITS/m=METERS", "code/AB raises", "DATUM/X raises"}, {}},
      {"lines of other field counts are ignored silently",
       "h\nCODE,TWO\nCODE,FOUR,X,Y\nCODE,THREE,ok\n\n",
       ",",
       {{"CODE", "TWO"}, {"CODE", "THREE"}},
       {"CODE/TWO=", "CODE/THREE=OK"}, {}},
      {"a repeated key is reported with its line and the first definition stays",
       "h\nCODE,AB,first\ncode,ab ,second\nCODE,CD,after\nUNITS,AB,other domain\n",
       ",",
       {{"CODE", "AB"}, {"CODE", "CD"}, {"UNITS", "AB"}},
       {"CODE/AB=FIRST", "CODE/CD=AFTER", "UNITS/AB=OTHER DOMAIN"},
       {"This key is already associated with an element of this collection : code,ab ,second"}},
      {"a delimiter of several characters",
       "h\nCODE||AB||a,b\nCODE,CD,x\n",
       "||",
       {{"CODE", "AB"}, {"CODE", "CD"}},
       {"CODE/AB=A,B", "CODE/CD="}, {}},
  };
  for (const auto& c : cases) {
    SurveyValueDomain domains;
    CapturingNotifier notes;
    ScopedNotifier scope(&notes);
    domains.LoadTableText(c.table, c.delimiter);
    EXPECT_EQ(Lookups(domains, c.keys), c.values) << c.what;
    EXPECT_EQ(notes.texts, c.notices) << c.what;
  }
  SurveyValueDomain domains;
  domains.LoadTableText("h\nCODE,XY,1\nCODE,AB,2\n", ",");
  EXPECT_EQ(domains.LookupKeys("CODE"), (Texts{"XY", "AB"}));
  EXPECT_THROW(domains.LookupKeys("UNITS"), RaisedError);
}

TEST(ValueDomainTest, UnreadableFileGivesAnEmptyTableAfterOneMessage) {
  TempDir dir;
  WriteFile(dir / "DOMAINS.csv", "h\nCODE,AB,x\n");
  SurveyValueDomain domains(dir / "DOMAINS.csv");
  ASSERT_TRUE(domains.HasDomain("CODE"));
  CapturingNotifier notes;
  ScopedNotifier scope(&notes);
  domains.LoadTable(dir / "missing.csv", ",");
  EXPECT_EQ(domains.DomainCount(), 0u);
  ASSERT_EQ(notes.texts.size(), 1u);
  EXPECT_NE(notes.texts[0].find((dir / "missing.csv").string()), std::string::npos) << notes.texts[0];
  domains.LoadTable(dir / "DOMAINS.csv");  // without a delimiter nothing is loaded, and that is no failure
  EXPECT_EQ(domains.DomainCount(), 0u);
  EXPECT_EQ(notes.texts.size(), 1u);
}

TEST(CoordinateSystemTableTest, KeysBoxesAndLoadingRules) {
  SurveyCoordinateSystemDomain table;
  CapturingNotifier notes;
  ScopedNotifier scope(&notes);
  // Key parts trimmed and upper-cased; a blank box registers the id alone;
  // bad ids and repeated keys are reported, other field counts skipped.
  table.LoadTableText(
      "P,D,E,U,a,b,c,d,ID\n 17 , NAD83 ,1986, feet ,0,0,100,100,12\nZ,NAD27,,FEET,,,,,26782\nY,NAD27,,FEET,1,2,x,4,99\n"
      "A,D,E,U,0,0,1,1,abc\nA,D,E,U,0,0,1,1\nA,D,E,U,0,0,1,1,5,6\nA,D,E,U,0,0,1,1,7.5\nA,D,E,U,0,0,1,1,7\n"
      "a,d,e,u,0,0,9,9,8\n");
  EXPECT_EQ(notes.texts, (Texts{"Coordinate system id is not a whole number : A,D,E,U,0,0,1,1,abc",
                                "Coordinate system id is not a whole number : A,D,E,U,0,0,1,1,7.5",
                                "This key is already associated with an element of this collection : "
                                "a,d,e,u,0,0,9,9,8"}));
  EXPECT_EQ(table.LookupCoordinateSystemId("17", "nad83", "1986", "feet"), 12);
  EXPECT_EQ(table.LookupCoordinateSystemId(" 17", "NAD83", "1986", "FEET"), 0);  // lookups do not trim
  EXPECT_EQ(table.LookupCoordinateSystemId("Z", "NAD27", "", "FEET"), 26782);
  EXPECT_EQ(table.LookupCoordinateSystemId("A", "D", "E", "U"), 7);
  // The box is inclusive; an id without one (or with a bad one) has none.
  EXPECT_TRUE(table.IsInBoundingBox(12, 100, 50));
  EXPECT_TRUE(table.IsInBoundingBox(12, 0, 0));
  EXPECT_FALSE(table.IsInBoundingBox(12, 100.001, 50));
  EXPECT_FALSE(table.IsInBoundingBox(12, 50, -0.001));
  EXPECT_FALSE(table.HasBoundingBox(26782));
  EXPECT_FALSE(table.HasBoundingBox(99));
  EXPECT_FALSE(table.HasBoundingBox(8));
  EXPECT_EQ(table.LookupMaxY(26782), 0.0);
  try {
    table.IsPointInBoundingBox(26782, *test::MakePoint(1, 1, 0));
    FAIL() << "a system without a box cannot be tested";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Number(), 909125);
    EXPECT_EQ(e.Source(), "Ordane.SurveyCoordinateSystemDomain");
    EXPECT_EQ(e.Description(), "Coordinate Reference System has no Bounding Box");
  }
}

TEST(CoordinateSystemTableTest, BoundingBoxTestsReadTheRightCoordinates) {
  SurveyCoordinateSystemDomain table;
  // A box much wider than tall, so swapped coordinates fall outside.
  table.LoadTableText("h\n1702,NAD83,,FEET,1000,10,5000,20,3452\n");
  test::FakeGage gage, swapped;
  gage.easting = swapped.northing = 3000;
  gage.northing = swapped.easting = 15;
  EXPECT_TRUE(table.IsPointInBoundingBox(3452, *test::MakePoint(3000, 15, 0)));
  EXPECT_TRUE(table.IsGageInBoundingBox(3452, gage));
  EXPECT_TRUE(table.IsTraversePointInBoundingBox(3452, *test::MakeTraversePoint(3000, 15)));
  EXPECT_FALSE(table.IsGageInBoundingBox(3452, swapped));
}

TEST(CoordinateSystemTableTest, AttributeListsAndProjectionFiles) {
  TempDir dir;
  WriteFile(dir / "12.prj", "PROJCS[\"Test\"]\r\n");
  WriteFile(dir / "COORDSYS.csv",
            "h\n1702,NAD83,,FEET,0,0,1,1,12\n1701,NAD27,,FEET,,,,,13\n"
            "1702,nad83,2011,METERS,,,,,3\n1703,WGS84,,FEET,,,,,4\n");
  SurveyCoordinateSystemDomain table(dir / "COORDSYS.csv", dir.path().string());
  // Distinct values in first appearance order.
  EXPECT_EQ(table.GetProjections(), (Texts{"1702", "1701", "1703"}));
  EXPECT_EQ(table.GetDatums(), (Texts{"NAD83", "NAD27", "WGS84"}));
  EXPECT_EQ(table.GetHorizontalEpochs(), (Texts{"", "2011"}));
  EXPECT_EQ(table.GetUnits(), (Texts{"FEET", "METERS"}));
  // The projection file is named by the id, in the projection folder.
  EXPECT_EQ(table.LookupCoordinateSystemPrjFileName("1702", "NAD83", "", "FEET"), (dir / "12.prj").string());
  EXPECT_EQ(table.LookupCoordinateSystemPrj("1702", "NAD83", "", "FEET"), "PROJCS[\"Test\"]\r\n");
  EXPECT_EQ(table.LookupCoordinateSystemPrjFileName("1701", "NAD27", "", "FEET"), "");
  EXPECT_EQ(table.LookupCoordinateSystemPrj("99", "NAD83", "", "FEET"), "");
}

// Points the calling thread's configuration at tables in a temporary folder.
class ConfiguredTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.path() / "coordsys");
    SetLibraryFolderForTesting(dir_.path());
    Reset();
  }
  void TearDown() override {
    SetLibraryFolderForTesting(std::nullopt);
    Reset();
    ErrorLog().Clear();
    SetCurrentSurveyFile("");
  }
  static void Reset() {
    ResetSettingsPathsCache();
    ResetSharedValueDomain();
    ResetSharedCoordinateSystemDomain();
  }

  TempDir dir_;
};

TEST_F(ConfiguredTablesTest, CodeDescriptionPrefersTheSurveysOwnDictionary) {
  WriteFile(dir_ / "DOMAINS.csv", "h\nCODE,TOE,toe of slope\nCODE,AB,from domains\n");
  CodeDictionary codes;
  LoadCodeDictionaryText("AB;x;Alpha\nZZ\n", codes);
  EXPECT_EQ(CodeDescription("AB", codes), "Alpha");
  EXPECT_EQ(CodeDescription("toe", codes), "TOE OF SLOPE");
  EXPECT_EQ(CodeDescription("ZZ", codes), "");
  EXPECT_EQ(DomainValueLookup("NO_SUCH_DOMAIN", "AB"), "");
}

TEST_F(ConfiguredTablesTest, CoordinateSystemCheckTranslatesThroughTheDomainsAndLogsProblems) {
  WriteFile(dir_ / "DOMAINS.csv",
            "h\nPROJECTION,LA SOUTH,1702\nHORIZONTAL_DATUM,NAD 83,NAD83\nUNITS,US SURVEY FEET,FEET\n");
  WriteFile(dir_ / "COORDSYS.csv", "h\n1702,NAD83,,FEET,0,0,1,1,3452\n");
  SetCurrentSurveyFile("/surveys/a.em");
  // The epoch domain is missing: reported, and the epoch counts as empty.
  EXPECT_EQ(CheckCoordinateSystem("la south", "nad 83", "2011", "us survey feet"), 3452);
  SetCurrentSurveyFile("/surveys/b.830");
  EXPECT_EQ(CheckCoordinateSystem("LA SOUTH", "NAD 83", "", "METERS"), 0);
  EXPECT_EQ(CoordinateSystemIdLookup("1702", "NAD83", "", "FEET"), 3452);
  Texts logged;
  for (const auto& file : ErrorLog().Files())
    for (const auto& e : file.errors) logged.push_back(FormatErrorLine(e));
  EXPECT_EQ(logged, (Texts{"/surveys/a.em: error: Attribute HORIZONTAL_EPOCH has invalid value \"2011\"",
                           "/surveys/b.830: error: Attribute HORIZONTAL_EPOCH has invalid value \"\"",
                           "/surveys/b.830: error: Invalid Coordinate System Parameters; Check values of Horizontal "
                           "Datum, Zone, and Units attributes. For PRO and Corvid830 files, check that the T01,T02, "
                           "and T03 records are formatted correctly."}));
}

// Every thread and context shares the process's one copy of a table: a
// factory made, a thread started or a handle dropped loads nothing again.
TEST_F(ConfiguredTablesTest, EachTableIsLoadedOncePerProcessWhateverThreadAsks) {
  WriteFile(dir_ / "DOMAINS.csv", "h\nCODE,AB,a\nCODE,AB,again\n");
  WriteFile(dir_ / "COORDSYS.csv", "h\n1702,NAD83,,FEET,0,0,1,1,3452\n");
  CapturingNotifier loads;  // the repeated key is reported by every load
  ScopedNotifier scope(&loads);
  const auto domains = SharedValueDomain();
  const auto systems = SharedCoordinateSystemDomain();
  const auto configuration = CurrentModuleContext().Derive();
  std::shared_ptr<const SurveyValueDomain> otherDomains;
  std::shared_ptr<const SurveyCoordinateSystemDomain> otherSystems;
  std::thread([&] {
    ModuleContextScope other(*configuration);
    ResetSharedValueDomain();
    ResetSharedCoordinateSystemDomain();
    otherDomains = SharedValueDomain();
    otherSystems = SharedCoordinateSystemDomain();
  }).join();
  EXPECT_EQ(otherDomains, domains);
  EXPECT_EQ(otherSystems, systems);
  Reset();
  EXPECT_EQ(SharedValueDomain(), domains);
  EXPECT_EQ(loads.texts.size(), 1u);
}

// ---------------------------------------------------------------------------
// The shipped tables

class ShippedTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ScopedNotifier scope(&notes_);
    domains_.LoadTable(std::string(VELDRANE_SOURCE_DIR) + "/config/DOMAINS.csv", ",");
    systems_.LoadTable(std::string(VELDRANE_SOURCE_DIR) + "/config/COORDSYS.csv");
    systems_.SetProjectionFolder(std::string(VELDRANE_SOURCE_DIR) + "/coordsys");
  }
  std::int32_t Resolve(const std::string& projection, const std::string& datum, const std::string& epoch,
                       const std::string& units) const {
    return systems_.LookupCoordinateSystemId(
        domains_.LookupValue("PROJECTION", projection), domains_.LookupValue("HORIZONTAL_DATUM", datum),
        domains_.LookupValue("HORIZONTAL_EPOCH", epoch), domains_.LookupValue("UNITS", units));
  }

  CapturingNotifier notes_;
  SurveyValueDomain domains_;
  SurveyCoordinateSystemDomain systems_;
};

TEST_F(ShippedTablesTest, SpellingsUsedBySurveyCrewsResolveToTheirEpsgCodes) {
  EXPECT_TRUE(notes_.texts.empty()) << notes_.texts.front();
  for (const char* domain : {"CODE", "PROJECTION", "HORIZONTAL_DATUM", "HORIZONTAL_EPOCH", "UNITS", "VERTICAL_DATUM"})
    EXPECT_TRUE(domains_.HasDomain(domain)) << domain;
  // EM headers spell the zone, datum, epoch and units out; fixed-column and
  // traverse files write the zone code itself. State plane zones are not
  // defined in every unit.
  const std::pair<std::array<const char*, 4>, std::int32_t> cases[] = {
      {{"LA SOUTH", "NAD83", "2011", "US SURVEY FEET"}, 6479},
      {{"1702", "NAD83", "", "FEET"}, 3452},
      {{"1702", "NAD27", "", "Feet"}, 26782},
      {{"UTM Zone 15N", "WGS 84", "", "M"}, 32615},
      {{"LA NORTH", "NAD83", "HARN", "FEET"}, 3456},
      {{"LA SOUTH", "NAD83 (NSRS2007)", "2007", "FEET"}, 3553},
      {{"LA SOUTH", "NAD83", "N/A", "FEET"}, 3452},
      {{"UTM15N", "NAD83", "", "FEET"}, 0},
      {{"LA SOUTH", "NAD83", "", "INTERNATIONAL FEET"}, 0}};
  for (const auto& [key, id] : cases) EXPECT_EQ(Resolve(key[0], key[1], key[2], key[3]), id) << key[0];
  // Every zone spelling resolves with every unit spelling (UTM in metres),
  // and UTM with every datum spelling.
  for (const auto& projection : domains_.LookupKeys("PROJECTION")) {
    const bool utm = domains_.LookupValue("PROJECTION", projection).rfind("UTM", 0) == 0;
    for (const auto& unit : domains_.LookupKeys("UNITS")) {
      if (!utm || domains_.LookupValue("UNITS", unit) == "METERS") {
        EXPECT_NE(Resolve(projection, "NAD83", "", unit), 0) << projection << " / " << unit;
      }
    }
  }
  for (const auto& datum : domains_.LookupKeys("HORIZONTAL_DATUM"))
    EXPECT_NE(Resolve("UTM 15N", datum, "", "METERS"), 0) << datum;
}

TEST_F(ShippedTablesTest, EveryIdHasAProjectionFileAndABoxAroundItsZone) {
  std::set<std::int32_t> ids;
  for (const auto& entry : systems_.Entries()) ids.insert(entry.second);
  for (const auto id : ids) {
    EXPECT_LT(systems_.LookupMinX(id), systems_.LookupMaxX(id)) << id;
    EXPECT_LT(systems_.LookupMinY(id), systems_.LookupMaxY(id)) << id;
    EXPECT_EQ(systems_.PrjTextForId(id).rfind("PROJCS[", 0), 0u) << id;
  }
  // Baton Rouge (30.45 N, 91.15 W) in NAD83 / Louisiana South (ftUS) and in
  // WGS 84 / UTM zone 15N; its metre coordinates lie outside the feet box.
  EXPECT_TRUE(systems_.IsInBoundingBox(3452, 3338602.3, 709193.5));
  EXPECT_TRUE(systems_.IsInBoundingBox(32615, 677632.8, 3370104.4));
  EXPECT_FALSE(systems_.IsInBoundingBox(3452, 1017611.0, 216162.0));
}

}  // namespace
}  // namespace veldrane
