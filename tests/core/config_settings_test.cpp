#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "config/file_system.h"
#include "config/reg_helper.h"
#include "config/settings_paths.h"
#include "config/settings_store.h"
#include "model/notifier.h"
#include "tests/core/capturing_notifier.h"
#include "tests/core/temp_dir.h"

namespace veldrane {
namespace {

namespace fs = std::filesystem;

using test::CapturingNotifier;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Sets (or unsets, with nullopt) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// ---------------------------------------------------------------------------
// The settings file

TEST(SettingsStoreTest, TextAndIntegerValuesReadBackWithTheirTypes) {
  TempDir dir;
  const SettingsStore store(dir / "sub" / "settings.ini", dir / "none.ini");
  std::error_code ec;
  // Text that looks like a number, control characters and the empty text
  // must come back as text.
  const RegValueList values = {{"DomainFilePath", std::string("/opt/my tables/DOMAINS.csv")},
                               {"Retries", std::int32_t{42}},
                               {"Offset", std::int32_t{-1}},
                               {"Padded", std::string("  dword:12 ")},
                               {"Lines", std::string("a\r\nb\t\"q\" c:\\x")},
                               {"Empty", std::string()}};
  for (const auto& [name, value] : values) ASSERT_TRUE(store.SetValue(kVeldranePathsKey, name, value, ec)) << name;

  const auto text = ReadFile(dir / "sub" / "settings.ini");
  EXPECT_NE(text.find("[Software\\Fennick\\Veldrane\\Paths]\n"), std::string::npos) << text;
  EXPECT_NE(text.find("DomainFilePath=/opt/my tables/DOMAINS.csv\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Retries=dword:0000002a\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Offset=dword:ffffffff\n"), std::string::npos) << text;

  // A fresh store reads the file again.
  const SettingsStore again(dir / "sub" / "settings.ini", dir / "none.ini");
  for (const auto& [name, value] : values) EXPECT_EQ(again.GetValue(kVeldranePathsKey, name), value) << name;
  EXPECT_EQ(again.GetValue(kVeldranePathsKey, "Missing"), std::nullopt);
  // Registry names do not depend on case.
  EXPECT_EQ(again.GetValue("software\\fennick\\veldrane\\paths", "RETRIES"), RegValue(std::int32_t{42}));
}

TEST(SettingsStoreTest, RewritingReplacesValuesAndKeepsCommentsWithoutLeavingTemporaryFiles) {
  TempDir dir;
  WriteFile(dir / "settings.ini", "; installed by the site admin\r\n[Software\\Fennick\\Veldrane\\Paths]\r\n"
                                  "# keep this note\r\nPrjPath=/old\r\n");
  const SettingsStore store(dir / "settings.ini", dir / "none.ini");
  std::error_code ec;
  ASSERT_TRUE(store.SetValue(kVeldranePathsKey, "prjpath", std::string("/new"), ec));
  const auto text = ReadFile(dir / "settings.ini");
  EXPECT_NE(text.find("; installed by the site admin\n"), std::string::npos) << text;
  EXPECT_NE(text.find("# keep this note\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("/old"), std::string::npos) << text;
  EXPECT_EQ(store.GetValue(kVeldranePathsKey, "PrjPath"), RegValue(std::string("/new")));
  EXPECT_EQ(ListFiles(dir.path()), std::vector<std::string>{"settings.ini"});
}

TEST(SettingsStoreTest, MalformedLinesAreIgnoredAndTheRestIsRead) {
  using namespace std::string_literals;
  const auto doc = SettingsDocument::Parse(
      "\xEF\xBB\xBFtop=1\r[unterminated\rjunk line\r=no name\r[A\\B]\rbad=dword:xyz\rbad2=dword:123456789\r"
      "bad3=sz:\"open\rgood= spaced value \rnum = DWORD:FF\r\0tail"s);
  ASSERT_NE(doc.Find("", "top"), nullptr);
  EXPECT_EQ(*doc.Find("", "top"), RegValue(std::string("1")));
  EXPECT_EQ(doc.Find("A\\B", "bad"), nullptr);
  EXPECT_EQ(doc.Find("A\\B", "bad2"), nullptr);
  EXPECT_EQ(doc.Find("A\\B", "bad3"), nullptr);
  ASSERT_NE(doc.Find("A\\B", "good"), nullptr);
  EXPECT_EQ(*doc.Find("A\\B", "good"), RegValue(std::string("spaced value")));
  ASSERT_NE(doc.Find("A\\B", "num"), nullptr);
  EXPECT_EQ(*doc.Find("A\\B", "num"), RegValue(std::int32_t{255}));
  EXPECT_FALSE(doc.HasKey("unterminated"));
}

TEST(SettingsStoreTest, SystemFileFillsInWhatTheUserFileLacks) {
  TempDir dir;
  WriteFile(dir / "system.ini", "[K]\nShared=system\nOnlySystem=dword:7\n");
  WriteFile(dir / "user.ini", "[K]\nShared=user\n");
  const SettingsStore store(dir / "user.ini", dir / "system.ini");
  EXPECT_EQ(store.GetValue("K", "Shared"), RegValue(std::string("user")));
  EXPECT_EQ(store.GetValue("K", "OnlySystem"), RegValue(std::int32_t{7}));
  const RegValueList expected = {{"Shared", std::string("user")}, {"OnlySystem", std::int32_t{7}}};
  EXPECT_EQ(store.GetValues("K"), expected);
  // Writes never touch the system file.
  std::error_code ec;
  ASSERT_TRUE(store.SetValue("K", "OnlySystem", std::int32_t{8}, ec));
  EXPECT_EQ(ReadFile(dir / "system.ini"), "[K]\nShared=system\nOnlySystem=dword:7\n");
  EXPECT_EQ(store.GetValue("K", "OnlySystem"), RegValue(std::int32_t{8}));
}

TEST(SettingsStoreTest, EnvironmentOverridesWinForTheConfigurationPathsOnly) {
  TempDir dir;
  WriteFile(dir / "user.ini", "[Software\\Fennick\\Veldrane\\Paths]\nDomainFilePath=/from/file\n"
                              "[Other]\nDomainFilePath=/other/file\n");
  const SettingsStore store(dir / "user.ini", dir / "none.ini");
  ScopedEnv domains("VELDRANE_DOMAINFILEPATH", "/from/env/DOMAINS.csv");
  ScopedEnv prj("VELDRANE_PRJPATH", std::string());  // empty does not override
  EXPECT_EQ(store.GetValue(kVeldranePathsKey, "DomainFilePath"), RegValue(std::string("/from/env/DOMAINS.csv")));
  EXPECT_EQ(store.GetValue("Other", "DomainFilePath"), RegValue(std::string("/other/file")));
  EXPECT_EQ(store.GetValue(kVeldranePathsKey, "PrjPath"), std::nullopt);

  // Without any file, the override alone makes the key present.
  const SettingsStore bare(dir / "absent.ini", dir / "none.ini");
  EXPECT_TRUE(bare.KeyExists(kVeldranePathsKey));
  const RegValueList expected = {{"DomainFilePath", std::string("/from/env/DOMAINS.csv")}};
  EXPECT_EQ(bare.GetValues(kVeldranePathsKey), expected);
}

TEST(SettingsStoreTest, DefaultLocationsFollowTheEnvironment) {
  {
    ScopedEnv file("VELDRANE_SETTINGS", "/tmp/explicit.ini");
    EXPECT_EQ(DefaultUserSettingsFile(), fs::path("/tmp/explicit.ini"));
  }
  ScopedEnv noFile("VELDRANE_SETTINGS", std::nullopt);
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(DefaultUserSettingsFile(), fs::path("/cfg/veldrane/settings.ini"));
  }
  ScopedEnv noXdg("XDG_CONFIG_HOME", std::nullopt);
  ScopedEnv home("HOME", "/home/crew");
  EXPECT_EQ(DefaultUserSettingsFile(), fs::path("/home/crew/.config/veldrane/settings.ini"));
  ScopedEnv noSystem("VELDRANE_SYSTEM_SETTINGS", std::nullopt);
  EXPECT_EQ(DefaultSystemSettingsFile(), fs::path("/etc/veldrane/settings.ini"));
}

// ---------------------------------------------------------------------------
// RegHelper

TEST(RegHelperTest, MissingKeyWarnsAndGivesTheDefaultButMissingValueGivesNothingSilently) {
  TempDir dir;
  WriteFile(dir / "user.ini", "[Software\\Fennick\\Veldrane\\Paths]\nRetries=dword:0000000c\n");
  const RegHelper reg(SettingsStore(dir / "user.ini", dir / "none.ini"));
  CapturingNotifier notes;
  ScopedNotifier scope(&notes);

  EXPECT_EQ(reg.GetKeyValue("Software\\Fennick\\Nothing", "X", Hive::LocalMachine, std::string("/d/x.csv")),
            RegValue(std::string("/d/x.csv")));
  ASSERT_EQ(notes.texts.size(), 1u);
  EXPECT_EQ(notes.texts[0], "Warning: Could not find key in the registry. Using Default value: /d/x.csv");
  EXPECT_EQ(notes.kinds[0], NoticeKind::MessageBox);

  EXPECT_EQ(reg.GetKeyValue(kVeldranePathsKey, "PrjPath", Hive::LocalMachine, std::string("/d")), RegValue{});
  EXPECT_EQ(reg.GetKeyValue(kVeldranePathsKey, "Retries", Hive::LocalMachine, std::string("/d")),
            RegValue(std::int32_t{12}));
  EXPECT_EQ(notes.texts.size(), 1u);
}

TEST(RegHelperTest, SetKeyValueWritesTextAndIntegersOnlyIntoExistingKeys) {
  TempDir dir;
  const RegHelper reg(SettingsStore(dir / "user.ini", dir / "none.ini"));
  EXPECT_FALSE(reg.SetKeyValue("K\\Sub", "V", std::string("x"), kRegSz));
  EXPECT_FALSE(FileExists(dir / "user.ini"));
  reg.CreateKey("K\\Sub");
  EXPECT_TRUE(reg.KeyExists("K\\Sub"));
  EXPECT_TRUE(reg.KeyExists("K"));  // a key with keys below it exists
  EXPECT_TRUE(reg.SetKeyValue("K\\Sub", "Text", std::int32_t{5}, kRegSz));
  EXPECT_TRUE(reg.SetKeyValue("K\\Sub", "Count", std::string("42"), kRegDword));
  EXPECT_FALSE(reg.SetKeyValue("K\\Sub", "Bad", std::string("4.5"), kRegDword));
  EXPECT_FALSE(reg.SetKeyValue("K\\Sub", "Big", std::string("4294967296"), kRegDword));
  EXPECT_FALSE(reg.SetKeyValue("K\\Sub", "Binary", std::string("00"), 3));
  const RegValueList expected = {{"Text", std::string("5")}, {"Count", std::int32_t{42}}};
  EXPECT_EQ(reg.GetKeyValues("K\\Sub"), expected);
}

TEST(RegHelperTest, DeleteKeyTakesTheKeysBelowAndHiveValuesAreListedWithAnEmptyPath) {
  TempDir dir;
  WriteFile(dir / "user.ini", "Top=dword:1\n[A\\B]\nx=1\n[A\\B\\C]\ny=2\n[A\\BB]\nz=3\n");
  const RegHelper reg(SettingsStore(dir / "user.ini", dir / "none.ini"));
  const RegValueList hive = {{"Top", std::int32_t{1}}};
  EXPECT_EQ(reg.GetKeyValues(""), hive);
  reg.DeleteKey("A\\B");
  EXPECT_FALSE(reg.KeyExists("A\\B"));
  EXPECT_FALSE(reg.KeyExists("A\\B\\C"));
  EXPECT_TRUE(reg.KeyExists("A\\BB"));  // a sibling whose name merely starts the same stays
  EXPECT_EQ(reg.GetKeyValues(""), hive);
}

TEST(RegHelperTest, CreateKeyFailureShowsTheSystemErrorCode) {
  TempDir dir;
  WriteFile(dir / "blocker", "a file where a folder is needed");
  const RegHelper reg(SettingsStore(dir / "blocker" / "settings.ini", dir / "none.ini"));
  CapturingNotifier notes;
  ScopedNotifier scope(&notes);
  reg.CreateKey("K");
  ASSERT_EQ(notes.texts.size(), 1u);
  EXPECT_EQ(notes.texts[0].rfind("Error ", 0), 0u) << notes.texts[0];
  EXPECT_NE(notes.texts[0], "Error 0");
}

// ---------------------------------------------------------------------------
// Configuration paths

class SettingsPathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettingsPathsCache();
    SetLibraryFolderForTesting(dir_.path() / "lib");
    fs::create_directories(dir_.path() / "lib");
  }
  void TearDown() override {
    SetLibraryFolderForTesting(std::nullopt);
    ResetSettingsPathsCache();
  }

  TempDir dir_;
  ScopedEnv settings_{"VELDRANE_SETTINGS", (dir_.path() / "user.ini").string()};
  ScopedEnv system_{"VELDRANE_SYSTEM_SETTINGS", (dir_.path() / "system.ini").string()};
  ScopedEnv domainsEnv_{"VELDRANE_DOMAINFILEPATH", std::nullopt};
  ScopedEnv coordsysEnv_{"VELDRANE_COORDSYSFILEPATH", std::nullopt};
  ScopedEnv prjEnv_{"VELDRANE_PRJPATH", std::nullopt};
  CapturingNotifier notes_;
  ScopedNotifier scope_{&notes_};
};

TEST_F(SettingsPathsTest, CopiesBesideTheLibraryWinWithoutConsultingTheSettings) {
  const auto lib = dir_.path() / "lib";
  WriteFile(lib / "DOMAINS.csv", "h\n");
  WriteFile(lib / "COORDSYS.csv", "h\n");
  fs::create_directories(lib / "coordsys");
  EXPECT_EQ(DomainFilePath(), (lib / "DOMAINS.csv").string());
  EXPECT_EQ(CoordSysFilePath(), (lib / "COORDSYS.csv").string());
  EXPECT_EQ(PrjPath(), (lib / "coordsys").string());
  EXPECT_TRUE(notes_.texts.empty());
}

TEST_F(SettingsPathsTest, WithoutCopyOrKeyTheDefaultIsUsedAfterOneWarningPerResource) {
  const auto lib = dir_.path() / "lib";
  // Wrong kinds beside the library do not count: a folder named like a
  // table, a file named like the projection folder.
  fs::create_directories(lib / "DOMAINS.csv");
  WriteFile(lib / "coordsys", "not a folder");
  const auto data = BuiltInDataFolder();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(DomainFilePath(), (data / "DOMAINS.csv").string());
    EXPECT_EQ(CoordSysFilePath(), (data / "COORDSYS.csv").string());
    EXPECT_EQ(PrjPath(), (data / "coordsys").string());
  }
  const std::vector<std::string> expected = {
      "Warning: Could not find key in the registry. Using Default value: " + (data / "DOMAINS.csv").string(),
      "Warning: Could not find key in the registry. Using Default value: " + (data / "COORDSYS.csv").string(),
      "Warning: Could not find key in the registry. Using Default value: " + (data / "coordsys").string()};
  EXPECT_EQ(notes_.texts, expected);

  // After a reset the resource is resolved, and warned about, again.
  ResetSettingsPathsCache();
  DomainFilePath();
  EXPECT_EQ(notes_.texts.size(), 4u);
}

TEST_F(SettingsPathsTest, StoredPathsAndEnvironmentOverridesAreUsedWhenNothingIsBesideTheLibrary) {
  WriteFile(dir_.path() / "system.ini",
            "[Software\\Fennick\\Veldrane\\Paths]\nDomainFilePath=/site/DOMAINS.csv\nPrjPath=/site/prj\n");
  WriteFile(dir_.path() / "user.ini", "[Software\\Fennick\\Veldrane\\Paths]\nCoordSysFilePath=/me/COORDSYS.csv\n");
  ScopedEnv prj("VELDRANE_PRJPATH", "/env/prj");
  EXPECT_EQ(DomainFilePath(), "/site/DOMAINS.csv");
  EXPECT_EQ(CoordSysFilePath(), "/me/COORDSYS.csv");
  EXPECT_EQ(PrjPath(), "/env/prj");
  EXPECT_TRUE(notes_.texts.empty());
  // Resolved once: later changes are seen only after a reset.
  WriteFile(dir_.path() / "user.ini", "[Software\\Fennick\\Veldrane\\Paths]\nCoordSysFilePath=/changed.csv\n");
  EXPECT_EQ(CoordSysFilePath(), "/me/COORDSYS.csv");
  ResetSettingsPathsCache();
  EXPECT_EQ(CoordSysFilePath(), "/changed.csv");
}

TEST_F(SettingsPathsTest, KeyWithoutTheValueFallsBackToTheDefaultSilently) {
  WriteFile(dir_.path() / "user.ini", "[Software\\Fennick\\Veldrane\\Paths]\n");
  EXPECT_EQ(DomainFilePath(), (BuiltInDataFolder() / "DOMAINS.csv").string());
  EXPECT_TRUE(notes_.texts.empty());
}

TEST(SettingsPathsStagedTest, TheTestProgramFindsTheTablesStagedBesideIt) {
  ResetSettingsPathsCache();
  const auto folder = fs::canonical(LibraryFolder());
  EXPECT_EQ(folder, fs::canonical(VELDRANE_STAGE_DIR));
  EXPECT_EQ(fs::canonical(DomainFilePath()), folder / "DOMAINS.csv");
  EXPECT_EQ(fs::canonical(CoordSysFilePath()), folder / "COORDSYS.csv");
  EXPECT_EQ(fs::canonical(PrjPath()), folder / "coordsys");
}

}  // namespace
}  // namespace veldrane
