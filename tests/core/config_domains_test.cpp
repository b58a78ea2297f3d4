#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "config/coordinate_system_domain.h"
#include "config/error_log.h"
#include "config/file_system.h"
#include "config/module_context.h"
#include "config/settings_paths.h"
#include "config/survey_file_utils.h"
#include "config/value_domain.h"
#include "model/constants.h"
#include "model/features.h"
#include "model/notifier.h"
#include "tests/core/capturing_notifier.h"
#include "tests/core/fake_survey.h"
#include "tests/core/temp_dir.h"

namespace veldrane {
namespace {

namespace fs = std::filesystem;

using test::CapturingNotifier;
using test::TempDir;
using test::WriteFile;

const std::string kSourceConfig = std::string(VELDRANE_SOURCE_DIR) + "/config";
const std::string kSourcePrj = std::string(VELDRANE_SOURCE_DIR) + "/coordsys";

// ---------------------------------------------------------------------------
// Value domains

TEST(ValueDomainTest, FieldsAreTrimmedAndUpperCasedAndKeysLookedUpWithoutCase) {
  SurveyValueDomain domains;
  CapturingNotifier notes;
  ScopedNotifier scope(&notes);
  domains.LoadTableText("CODE,HEADER,IS NOT DATA\r\n  code , ab ,  Alpha Beta \r\nCODE,XY,Ex Why\r\n"
                        "UNITS,ft,Feet\rUNITS,M,meters\n",
                        ",");
  EXPECT_EQ(domains.LookupValue("CODE", "ab"), "ALPHA BETA");
  EXPECT_EQ(domains.LookupValue("CODE", "  Ab "), "ALPHA BETA");
  EXPECT_EQ(domains.LookupValue(" CODE ", "xy"), "EX WHY");
  EXPECT_EQ(domains.LookupValue("CODE", "HEADER"), "");
  EXPECT_EQ(domains.LookupValue("CODE", "nope"), "");
  EXPECT_EQ(domains.LookupValue("UNITS", "FT"), "FEET");
  EXPECT_EQ(domains.LookupValue("UNITS", "m"), "METERS");
  EXPECT_EQ(domains.LookupKeys("CODE"), (std::vector<std::string>{"AB", "XY"}));
  EXPECT_TRUE(notes.texts.empty());
}

TEST(ValueDomainTest, LinesOfOtherFieldCountsAreIgnoredSilently) {
  SurveyValueDomain domains;
  CapturingNotifier notes;
  ScopedNotifier scope(&notes);
  domains.LoadTableText("h\nCODE,TWO\nCODE,FOUR,X,Y\nCODE,THREE,ok\n\n", ",");
  EXPECT_EQ(domains.LookupKeys("CODE"), std::vector<std::string>{"THREE"});
  EXPECT_TRUE(notes.texts.empty());
}

TEST(ValueDomainTest, RepeatedKeyIsReportedWithTheLineAndTheFirstDefinitionStays) {
  SurveyValueDomain domains;
  CapturingNotifier notes;
  ScopedNotifier scope(&notes);
  domains.LoadTableText("h\nCODE,AB,first\ncode,ab ,second\nCODE,CD,after\nUNITS,AB,other domain\n", ",");
  EXPECT_EQ(domains.LookupValue("CODE", "AB"), "FIRST");
  EXPECT_EQ(domains.LookupValue("CODE", "CD"), "AFTER");
  EXPECT_EQ(domains.LookupValue("UNITS", "AB"), "OTHER DOMAIN");
  ASSERT_EQ(notes.texts.size(), 1u);
  EXPECT_EQ(notes.texts[0], "This key is already associated with an element of this collection : code,ab ,second");
}

TEST(ValueDomainTest, MissingDomainIsAnErrorForTheCallerAndDomainNamesKeepTheirCase) {
  SurveyValueDomain domains;
  domains.LoadTableText("h\nCODE,AB,x\n", ",");
  EXPECT_THROW(domains.LookupValue("UNITS", "FT"), RaisedError);
  EXPECT_THROW(domains.LookupValue("code", "AB"), RaisedError);
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
  // Without a delimiter nothing is loaded, and that is no failure.
  domains.LoadTable(dir / "DOMAINS.csv");
  EXPECT_EQ(domains.DomainCount(), 0u);
  EXPECT_EQ(notes.texts.size(), 1u);
}

TEST(ValueDomainTest, DelimiterMayBeLongerThanOneCharacter) {
  SurveyValueDomain domains;
  domains.LoadTableText("h\nCODE||AB||a,b\nCODE,CD,x\n", "||");
  EXPECT_EQ(domains.LookupValue("CODE", "AB"), "A,B");
  EXPECT_EQ(domains.LookupKeys("CODE"), std::vector<std::string>{"AB"});
}

// Points the calling thread's configuration at tables in a temporary folder.
class ConfiguredTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_.path() / "coordsys");
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
  WriteFile(dir_ / "COORDSYS.csv", "h\n");
  CodeDictionary codes;
  LoadCodeDictionaryText("AB;x;Alpha\nZZ\n", codes);
  EXPECT_EQ(CodeDescription("AB", codes), "Alpha");
  EXPECT_EQ(CodeDescription("toe", codes), "TOE OF SLOPE");
  EXPECT_EQ(CodeDescription("ZZ", codes), "");
  EXPECT_EQ(DomainValueLookup("NO_SUCH_DOMAIN", "AB"), "");
}

// ---------------------------------------------------------------------------
// Coordinate system table

TEST(CoordinateSystemTableTest, KeyPartsAreTrimmedAndUpperCasedAndTheBoxIsInclusive) {
  SurveyCoordinateSystemDomain table;
  table.LoadTableText("P,D,E,U,a,b,c,d,ID\n 17 , NAD83 ,1986, feet ,0,0,100,100,12\n");
  EXPECT_EQ(table.LookupCoordinateSystemId("17", "nad83", "1986", "feet"), 12);
  // Lookups convert case but do not trim.
  EXPECT_EQ(table.LookupCoordinateSystemId(" 17", "NAD83", "1986", "FEET"), 0);
  ASSERT_TRUE(table.HasBoundingBox(12));
  EXPECT_TRUE(table.IsInBoundingBox(12, 100, 50));
  EXPECT_TRUE(table.IsInBoundingBox(12, 0, 0));
  EXPECT_FALSE(table.IsInBoundingBox(12, 100.001, 50));
  EXPECT_FALSE(table.IsInBoundingBox(12, 50, -0.001));
  EXPECT_EQ(table.LookupMaxX(12), 100.0);
}

TEST(CoordinateSystemTableTest, BoundingBoxTestsReadTheRightCoordinates) {
  SurveyCoordinateSystemDomain table;
  // A box much wider than tall, so swapped coordinates fall outside.
  table.LoadTableText("h\n1702,NAD83,,FEET,1000,10,5000,20,3452\n");
  auto point = test::MakePoint(3000, 15, 0);
  test::FakeGage gage, swapped;
  gage.easting = 3000;
  gage.northing = 15;
  swapped.easting = 15;
  swapped.northing = 3000;
  auto traverse = test::MakeTraversePoint(3000, 15);
  EXPECT_TRUE(table.IsPointInBoundingBox(3452, *point));
  EXPECT_TRUE(table.IsGageInBoundingBox(3452, gage));
  EXPECT_TRUE(table.IsTraversePointInBoundingBox(3452, *traverse));
  EXPECT_FALSE(table.IsGageInBoundingBox(3452, swapped));
  EXPECT_EQ(table.LookupCoordinateSystemId("1702", "NAD83", "", "FEET"), 3452);
}

TEST(CoordinateSystemTableTest, BlankBoxRegistersTheIdWithoutABox) {
  SurveyCoordinateSystemDomain table;
  CapturingNotifier notes;
  ScopedNotifier scope(&notes);
  table.LoadTableText("h\nZ,NAD27,,FEET,,,,,26782\nY,NAD27,,FEET,1,2,x,4,99\n");
  EXPECT_EQ(table.LookupCoordinateSystemId("Z", "NAD27", "", "FEET"), 26782);
  EXPECT_FALSE(table.HasBoundingBox(26782));
  EXPECT_FALSE(table.HasBoundingBox(99));
  EXPECT_EQ(table.LookupMinX(26782), 0.0);
  EXPECT_EQ(table.LookupMaxY(26782), 0.0);
  auto point = test::MakePoint(1, 1, 0);
  try {
    table.IsPointInBoundingBox(26782, *point);
    FAIL() << "a system without a box cannot be tested";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Number(), 909125);
    EXPECT_EQ(e.Source(), "Ordane.SurveyCoordinateSystemDomain");
    EXPECT_EQ(e.Description(), "Coordinate Reference System has no Bounding Box");
  }
  EXPECT_TRUE(notes.texts.empty());
}

TEST(CoordinateSystemTableTest, BadIdsAndRepeatedKeysAreReportedAndSkippedOtherFieldCountsSilently) {
  SurveyCoordinateSystemDomain table;
  CapturingNotifier notes;
  ScopedNotifier scope(&notes);
  table.LoadTableText(
      "h\nA,D,E,U,0,0,1,1,abc\nA,D,E,U,0,0,1,1\nA,D,E,U,0,0,1,1,5,6\nA,D,E,U,0,0,1,1,7.5\nA,D,E,U,0,0,1,1,7\n"
      "a,d,e,u,0,0,9,9,8\n");
  EXPECT_EQ(table.LookupCoordinateSystemId("A", "D", "E", "U"), 7);
  EXPECT_EQ(table.KeyCount(), 1u);
  EXPECT_EQ(table.LookupMaxX(7), 1.0);
  EXPECT_FALSE(table.HasBoundingBox(8));
  const std::vector<std::string> expected = {
      "Coordinate system id is not a whole number : A,D,E,U,0,0,1,1,abc",
      "Coordinate system id is not a whole number : A,D,E,U,0,0,1,1,7.5",
      "This key is already associated with an element of this collection : a,d,e,u,0,0,9,9,8"};
  EXPECT_EQ(notes.texts, expected);
}

TEST(CoordinateSystemTableTest, AttributeListsAreDistinctInFirstAppearanceOrder) {
  SurveyCoordinateSystemDomain table;
  table.LoadTableText("h\n1702,NAD83,,FEET,,,,,1\n1701,NAD27,,FEET,,,,,2\n1702,nad83,2011,METERS,,,,,3\n"
                      "1703,WGS84,,FEET,,,,,4\n");
  EXPECT_EQ(table.GetProjections(), (std::vector<std::string>{"1702", "1701", "1703"}));
  EXPECT_EQ(table.GetDatums(), (std::vector<std::string>{"NAD83", "NAD27", "WGS84"}));
  EXPECT_EQ(table.GetHorizontalEpochs(), (std::vector<std::string>{"", "2011"}));
  EXPECT_EQ(table.GetUnits(), (std::vector<std::string>{"FEET", "METERS"}));
}

TEST(CoordinateSystemTableTest, ProjectionFilesAreFoundByIdInTheProjectionFolder) {
  TempDir dir;
  WriteFile(dir / "12.prj", "PROJCS[\"Test\"]\r\n");
  WriteFile(dir / "COORDSYS.csv", "h\n17,NAD83,,FEET,0,0,1,1,12\n18,NAD83,,FEET,0,0,1,1,13\n");
  SurveyCoordinateSystemDomain table(dir / "COORDSYS.csv", dir.path().string());
  EXPECT_EQ(table.LookupCoordinateSystemPrjFileName("17", "NAD83", "", "FEET"), (dir / "12.prj").string());
  EXPECT_EQ(table.LookupCoordinateSystemPrj("17", "NAD83", "", "FEET"), "PROJCS[\"Test\"]\r\n");
  EXPECT_EQ(table.LookupCoordinateSystemPrjFileName("18", "NAD83", "", "FEET"), "");
  EXPECT_EQ(table.LookupCoordinateSystemPrj("99", "NAD83", "", "FEET"), "");
}

TEST_F(ConfiguredTablesTest, CoordinateSystemCheckTranslatesThroughTheDomainsAndLogsProblems) {
  WriteFile(dir_ / "DOMAINS.csv",
            "h\nPROJECTION,LA SOUTH,1702\nHORIZONTAL_DATUM,NAD 83,NAD83\nUNITS,US SURVEY FEET,FEET\n");
  WriteFile(dir_ / "COORDSYS.csv", "h\n1702,NAD83,,FEET,0,0,1,1,3452\n");
  SetCurrentSurveyFile("/surveys/a.em");
  // The epoch domain is missing: reported, and the epoch counts as empty.
  EXPECT_EQ(CheckCoordinateSystem("la south", "nad 83", "2011", "us survey feet"), 3452);
  const auto* file = ErrorLog().FindFile("/surveys/a.em");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file->errors.size(), 1u);
  EXPECT_EQ(file->errors[0].description, "Attribute HORIZONTAL_EPOCH has invalid value \"2011\"");
  EXPECT_EQ(file->errors[0].line, 0);

  SetCurrentSurveyFile("/surveys/b.830");
  EXPECT_EQ(CheckCoordinateSystem("LA SOUTH", "NAD 83", "", "METERS"), 0);
  file = ErrorLog().FindFile("/surveys/b.830");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file->errors.size(), 2u);
  EXPECT_EQ(file->errors[1].description,
            "Invalid Coordinate System Parameters; Check values of Horizontal Datum, Zone, and Units attributes. For "
            "PRO and Corvid830 files, check that the T01,T02, and T03 records are formatted correctly.");
  EXPECT_EQ(CoordinateSystemIdLookup("1702", "NAD83", "", "FEET"), 3452);
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
  EXPECT_EQ(DomainValueLookup("CODE", "ab"), "A");
}

// ---------------------------------------------------------------------------
// The shipped tables

class ShippedTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ScopedNotifier scope(&notes_);
    domains_.LoadTable(kSourceConfig + "/DOMAINS.csv", ",");
    systems_.LoadTable(kSourceConfig + "/COORDSYS.csv");
    systems_.SetProjectionFolder(kSourcePrj);
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

TEST_F(ShippedTablesTest, LoadWithoutComplaintsAndHoldEveryDomainTheLibraryUses) {
  EXPECT_TRUE(notes_.texts.empty()) << notes_.texts.front();
  for (const char* domain : {"CODE", "PROJECTION", "HORIZONTAL_DATUM", "HORIZONTAL_EPOCH", "UNITS", "VERTICAL_DATUM"})
    EXPECT_TRUE(domains_.HasDomain(domain)) << domain;
  EXPECT_EQ(domains_.LookupValue("CODE", "we"), "WATER EDGE");
  EXPECT_EQ(domains_.LookupValue("VERTICAL_DATUM", "NAVD 88"), "NORTH AMERICAN VERTICAL DATUM OF 1988");
  EXPECT_GT(systems_.KeyCount(), 0u);
}

TEST_F(ShippedTablesTest, SpellingsUsedBySurveyCrewsResolveToTheirEpsgCodes) {
  // EM headers: #H07 LA SOUTH, #H04 NAD83, #H16 2011 or empty, #H06 US SURVEY FEET.
  EXPECT_EQ(Resolve("LA SOUTH", "NAD83", "2011", "US SURVEY FEET"), 6479);
  EXPECT_EQ(Resolve("LA SOUTH", "NAD83", "", "US SURVEY FEET"), 3452);
  // Fixed-column T01/T02/T03 and traverse files write the zone code itself.
  EXPECT_EQ(Resolve("1702", "NAD83", "", "FEET"), 3452);
  EXPECT_EQ(Resolve("1702", "NAD27", "", "Feet"), 26782);
  EXPECT_EQ(Resolve("Louisiana North", "NAD 1983", "", "meters"), 26981);
  EXPECT_EQ(Resolve("LA OFFSHORE", "NAD27", "", "FT"), 32099);
  EXPECT_EQ(Resolve("UTM Zone 15N", "WGS 84", "", "M"), 32615);
  EXPECT_EQ(Resolve("UTM 16", "NAD83(2011)", "", "METERS"), 6345);
  EXPECT_EQ(Resolve("LA NORTH", "NAD83", "HARN", "FEET"), 3456);
  EXPECT_EQ(Resolve("LA SOUTH", "NAD83 (NSRS2007)", "2007", "FEET"), 3553);
  EXPECT_EQ(Resolve("LA SOUTH", "NAD83", "N/A", "FEET"), 3452);
  // State plane zones are not defined in metres or feet of every datum.
  EXPECT_EQ(Resolve("UTM15N", "NAD83", "", "FEET"), 0);
  EXPECT_EQ(Resolve("LA SOUTH", "NAD83", "", "INTERNATIONAL FEET"), 0);
}

TEST_F(ShippedTablesTest, EveryIdHasAProjectionFileAndABoxAroundItsZone) {
  std::set<std::int32_t> ids;
  for (const auto& entry : systems_.Entries()) ids.insert(entry.second);
  for (const auto id : ids) {
    EXPECT_TRUE(systems_.HasBoundingBox(id)) << id;
    EXPECT_LT(systems_.LookupMinX(id), systems_.LookupMaxX(id)) << id;
    EXPECT_LT(systems_.LookupMinY(id), systems_.LookupMaxY(id)) << id;
    const auto prj = systems_.PrjTextForId(id);
    EXPECT_EQ(prj.rfind("PROJCS[", 0), 0u) << id;
  }
  EXPECT_NE(systems_.PrjTextForId(3452).find("Louisiana_South_FIPS_1702_Feet"), std::string::npos);
  EXPECT_NE(systems_.PrjTextForId(26782).find("NAD_1927_StatePlane_Louisiana_South_FIPS_1702"), std::string::npos);
  // Baton Rouge (30.45 N, 91.15 W) in NAD83 / Louisiana South (ftUS) and in
  // WGS 84 / UTM zone 15N.
  EXPECT_TRUE(systems_.IsInBoundingBox(3452, 3338602.3, 709193.5));
  EXPECT_TRUE(systems_.IsInBoundingBox(32615, 677632.8, 3370104.4));
  // The same point's metre coordinates lie outside the feet system's box.
  EXPECT_FALSE(systems_.IsInBoundingBox(3452, 1017611.0, 216162.0));
}

TEST_F(ShippedTablesTest, EveryStatePlaneSpellingResolvesWithEveryUnitSpelling) {
  const auto units = domains_.LookupKeys("UNITS");
  for (const auto& projection : domains_.LookupKeys("PROJECTION")) {
    const auto zone = domains_.LookupValue("PROJECTION", projection);
    for (const auto& unit : units) {
      const bool metres = domains_.LookupValue("UNITS", unit) == "METERS";
      if (zone.rfind("UTM", 0) == 0 && !metres) continue;
      EXPECT_NE(Resolve(projection, "NAD83", "", unit), 0) << projection << " / " << unit;
    }
  }
  for (const auto& datum : domains_.LookupKeys("HORIZONTAL_DATUM"))
    EXPECT_NE(Resolve("UTM 15N", datum, "", "METERS"), 0) << datum;
}

}  // namespace
}  // namespace veldrane
