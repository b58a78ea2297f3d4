// The settings file that stands in for the registry, the registry helper
// over it, and the configuration paths resolved through them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/file_system.h"
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
using Texts = std::vector<std::string>;

// Sets (or unsets, with nullopt) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(name, value);
  }
  ~ScopedEnv() { Set(name_, old_); }

 private:
  static void Set(const char* name, const std::optional<std::string>& value) {
    value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
  }
  const char* name_;
  std::optional<std::string> old_;
};

TEST(SettingsStoreTest, ValuesReadBackWithTheirTypesAndRewritingKeepsComments) {
  TempDir dir;
  const SettingsStore store(dir / "sub" / "settings.ini", dir / "none.ini");
  std::error_code ec;
  // Text that looks like a number, control characters and the empty text
  // come back as text.
  const RegValueList values = {{"DomainFilePath", std::string("/opt/my tables/DOMAINS.csv")},
                               {"Retries", std::int32_t{42}},
                               {"Offset", std::int32_t{-1}},
                               {"Padded", std::string("  dword:12 ")},
                               {"Lines", std::string("a\r\nb\t\"q\" c:\\x")},
                               {"Empty", std::string()}};
  for (const auto& [name, value] : values) ASSERT_TRUE(store.SetValue(kVeldranePathsKey, name, value, ec)) << name;
  const auto text = ReadFile(dir / "sub" / "settings.ini");
  for (const char* line : {"[Software\\Fennick\\Veldrane\\Paths]\n", "DomainFilePath=/opt/my tables/DOMAINS.csv\n",
                           "Retries=dword:0000002a\n", "Offset=dword:ffffffff\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << " in " << text;
  const SettingsStore again(dir / "sub" / "settings.ini", dir / "none.ini");
  EXPECT_EQ(again.GetValues(kVeldranePathsKey), values);
  EXPECT_EQ(again.GetValue(kVeldranePathsKey, "Missing"), std::nullopt);
  // Registry names do not depend on case.
  EXPECT_EQ(again.GetValue("software\\fennick\\veldrane\\paths", "RETRIES"), RegValue(std::int32_t{42}));

  WriteFile(dir / "settings.ini",
            "; installed by the site admin\r\n[Software\\Fennick\\Veldrane\\Paths]\r\n"
            "# keep this note\r\nPrjPath=/old\r\n");
  const SettingsStore commented(dir / "settings.ini", dir / "none.ini");
  ASSERT_TRUE(commented.SetValue(kVeldranePathsKey, "prjpath", std::string("/new"), ec));
  const auto rewritten = ReadFile(dir / "settings.ini");
  for (const char* kept : {"; installed by the site admin\n", "# keep this note\n"})
    EXPECT_NE(rewritten.find(kept), std::string::npos) << rewritten;
  EXPECT_EQ(rewritten.find("/old"), std::string::npos) << rewritten;
  EXPECT_EQ(commented.GetValue(kVeldranePathsKey, "PrjPath"), RegValue(std::string("/new")));
  EXPECT_EQ(ListFiles(dir.path()), Texts{"settings.ini"});  // no temporary file left
}

TEST(SettingsStoreTest, MalformedLinesAreIgnoredAndTheRestIsRead) {
  using namespace std::string_literals;
  const auto doc = SettingsDocument::Parse(
      "\xEF\xBB\xBFtop=1\r[unterminated\rjunk line\r=no name\r[A\\B]\rbad=dword:xyz\rbad2=dword:123456789\r"
      "bad3=sz:\"open\rgood= spaced value \rnum = DWORD:FF\r\0tail"s);
  EXPECT_EQ(doc.Values(""), (RegValueList{{"top", std::string("1")}}));
  EXPECT_EQ(doc.Values("A\\B"), (RegValueList{{"good", std::string("spaced value")}, {"num", std::int32_t{255}}}));
  EXPECT_FALSE(doc.HasKey("unterminated"));
}

TEST(SettingsStoreTest, TheUserFileTheSystemFileAndTheEnvironment) {
  TempDir dir;
  WriteFile(dir / "system.ini", "[K]\nShared=system\nOnlySystem=dword:7\n");
  WriteFile(dir / "user.ini",
            "[K]\nShared=user\n[Software\\Fennick\\Veldrane\\Paths]\nDomainFilePath=/from/file\n"
            "[Other]\nDomainFilePath=/other/file\n");
  const SettingsStore store(dir / "user.ini", dir / "system.ini");
  // The system file fills in what the user file lacks; writes never touch it.
  EXPECT_EQ(store.GetValues("K"), (RegValueList{{"Shared", std::string("user")}, {"OnlySystem", std::int32_t{7}}}));
  std::error_code ec;
  ASSERT_TRUE(store.SetValue("K", "OnlySystem", std::int32_t{8}, ec));
  EXPECT_EQ(ReadFile(dir / "system.ini"), "[K]\nShared=system\nOnlySystem=dword:7\n");
  EXPECT_EQ(store.GetValue("K", "OnlySystem"), RegValue(std::int32_t{8}));
  // Environment overrides win for the configuration paths only; an empty
  // one does not count; with no file at all the override makes the key.
  ScopedEnv domains("VELDRANE_DOMAINFILEPATH", "/from/env/DOMAINS.csv");
  ScopedEnv prj("VELDRANE_PRJPATH", std::string());
  EXPECT_EQ(store.GetValue(kVeldranePathsKey, "DomainFilePath"), RegValue(std::string("/from/env/DOMAINS.csv")));
  EXPECT_EQ(store.GetValue("Other", "DomainFilePath"), RegValue(std::string("/other/file")));
  EXPECT_EQ(store.GetValue(kVeldranePathsKey, "PrjPath"), std::nullopt);
  const SettingsStore bare(dir / "absent.ini", dir / "none.ini");
  EXPECT_TRUE(bare.KeyExists(kVeldranePathsKey));
  EXPECT_EQ(bare.GetValues(kVeldranePathsKey),
            (RegValueList{{"DomainFilePath", std::string("/from/env/DOMAINS.csv")}}));
}

// The files named by VELDRANE_SETTINGS and VELDRANE_SYSTEM_SETTINGS are
// read by SettingsPathsTest; without the first, the user's file follows XDG.
TEST(SettingsStoreTest, TheUserFileFollowsXdgThenHome) {
  ScopedEnv noFile("VELDRANE_SETTINGS", std::nullopt);
  ScopedEnv home("HOME", "/home/crew");
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(DefaultUserSettingsFile(), fs::path("/cfg/veldrane/settings.ini"));
  }
  ScopedEnv noXdg("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(DefaultUserSettingsFile(), fs::path("/home/crew/.config/veldrane/settings.ini"));
}

class SettingsPathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettingsPathsCache();
    SetLibraryFolderForTesting(lib_);
    fs::create_directories(lib_);
  }
  void TearDown() override {
    SetLibraryFolderForTesting(std::nullopt);
    ResetSettingsPathsCache();
  }
  Texts Paths() const { return {DomainFilePath(), CoordSysFilePath(), PrjPath()}; }

  TempDir dir_;
  fs::path lib_ = dir_.path() / "lib";
  ScopedEnv settings_{"VELDRANE_SETTINGS", (dir_.path() / "user.ini").string()};
  ScopedEnv system_{"VELDRANE_SYSTEM_SETTINGS", (dir_.path() / "system.ini").string()};
  ScopedEnv domainsEnv_{"VELDRANE_DOMAINFILEPATH", std::nullopt};
  ScopedEnv coordsysEnv_{"VELDRANE_COORDSYSFILEPATH", std::nullopt};
  ScopedEnv prjEnv_{"VELDRANE_PRJPATH", std::nullopt};
  CapturingNotifier notes_;
  ScopedNotifier scope_{&notes_};
};

TEST_F(SettingsPathsTest, CopiesBesideTheLibraryWinWithoutConsultingTheSettings) {
  WriteFile(lib_ / "DOMAINS.csv", "h\n");
  WriteFile(lib_ / "COORDSYS.csv", "h\n");
  fs::create_directories(lib_ / "coordsys");
  EXPECT_EQ(Paths(),
            (Texts{(lib_ / "DOMAINS.csv").string(), (lib_ / "COORDSYS.csv").string(), (lib_ / "coordsys").string()}));
  EXPECT_EQ(notes_.texts, Texts{});
}

TEST_F(SettingsPathsTest, WithoutCopyOrKeyTheDefaultIsUsedAfterOneWarningPerResource) {
  // Wrong kinds beside the library do not count.
  fs::create_directories(lib_ / "DOMAINS.csv");
  WriteFile(lib_ / "coordsys", "not a folder");
  const auto data = BuiltInDataFolder();
  const Texts defaults{(data / "DOMAINS.csv").string(), (data / "COORDSYS.csv").string(), (data / "coordsys").string()};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Paths(), defaults);
  Texts warnings;
  for (const auto& path : defaults)
    warnings.push_back("Warning: Could not find key in the registry. Using Default value: " + path);
  EXPECT_EQ(notes_.texts, warnings);
  // A key without the value falls back on the default silently. (That a
  // reset resolves again is pinned by the stored paths' test.)
  WriteFile(dir_.path() / "user.ini", "[Software\\Fennick\\Veldrane\\Paths]\n");
  ResetSettingsPathsCache();
  EXPECT_EQ(Paths(), defaults);
  EXPECT_EQ(notes_.texts.size(), 3u);
}

TEST_F(SettingsPathsTest, StoredPathsAndOverridesAreUsedWhenNothingIsBesideTheLibrary) {
  WriteFile(dir_.path() / "system.ini",
            "[Software\\Fennick\\Veldrane\\Paths]\nDomainFilePath=/site/DOMAINS.csv\nPrjPath=/site/prj\n");
  WriteFile(dir_.path() / "user.ini", "[Software\\Fennick\\Veldrane\\Paths]\nCoordSysFilePath=/me/COORDSYS.csv\n");
  ScopedEnv prj("VELDRANE_PRJPATH", "/env/prj");
  EXPECT_EQ(Paths(), (Texts{"/site/DOMAINS.csv", "/me/COORDSYS.csv", "/env/prj"}));
  EXPECT_EQ(notes_.texts, Texts{});
  // Resolved once: later changes are seen only after a reset.
  WriteFile(dir_.path() / "user.ini", "[Software\\Fennick\\Veldrane\\Paths]\nCoordSysFilePath=/changed.csv\n");
  EXPECT_EQ(CoordSysFilePath(), "/me/COORDSYS.csv");
  ResetSettingsPathsCache();
  EXPECT_EQ(CoordSysFilePath(), "/changed.csv");
}

}  // namespace
}  // namespace veldrane
