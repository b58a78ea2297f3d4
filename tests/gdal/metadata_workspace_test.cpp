// Metadata through the workspace helper, end to end: a real EM file read by
// the survey factory, the stored document beside it, the shipped value
// domains, and the pugixml document saved back.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/value_domain.h"
#include "host/pugi_xml_property_set.h"
#include "model/notifier.h"
#include "plugin/svy_workspace_helper.h"
#include "tests/core/capturing_notifier.h"
#include "tests/core/temp_dir.h"

namespace veldrane {
namespace {

using test::CapturingNotifier;

namespace fs = std::filesystem;

// Header, a permanent benchmark with elevation and datum, a temporary one
// with only a measured elevation, one complete gage reading and one crew
// member; no equipment, no weather. Lines end in CR LF as field files do.
constexpr const char* kLeveeEm =
    "#H00 EM09\r\n"
    "#H01 A.EM\r\n"
    "#H02 3/1/2023\r\n"
    "#H04 NAD83\r\n"
    "#H05 J-17\r\n"
    "#H06 US SURVEY FEET\r\n"
    "#H07 LA SOUTH\r\n"
    "#H09 ACME\r\n"
    "#H16 1986\r\n"
    "#H20 LEVEE REACH 4\r\n"
    "#V01 BM 1\r\n"
    "#V02 10.25\r\n"
    "#V03 2004.65\r\n"
    "#V04 NAVD88\r\n"
    "#T01 TBM 3\r\n"
    "#T06 -2.5\r\n"
    "#G01 TIDE\r\n"
    "#G02 KEYSTONE\r\n"
    "#G03 2.5\r\n"
    "#G04 1030\r\n"
    "#C01 SMITH\r\n";

// The same survey without a survey date (#H02).
constexpr const char* kUndatedEm =
    "#H00 EM09\r\n"
    "#H01 B.EM\r\n"
    "#H04 NAD83\r\n";

constexpr const char* kStoredDocument =
    "<?xml version=\"1.0\"?>\n"
    "<!-- kept by the project office -->\n"
    "<metadata>\n"
    "  <idinfo>\n"
    "    <citation><citeinfo><title>old title</title><pubdate>20110314</pubdate></citeinfo></citation>\n"
    "    <keywords><theme><themekt>None</themekt><themekey>levee</themekey></theme></keywords>\n"
    "  </idinfo>\n"
    "  <distinfo><distrib>District office</distrib></distinfo>\n"
    "</metadata>\n";

class MetadataWorkspaceTest : public ::testing::Test {
 protected:
  void SetUp() override { workspace_.SetWorkspacePath(folder_.string()); }

  void Write(const std::string& name, const std::string& bytes) { test::WriteFile(folder_ / name, bytes); }
  std::string Read(const std::string& name) const { return test::ReadFile(folder_ / name); }
  std::vector<std::string> Names() const { return dir_.Names(); }

  test::TempDir dir_{"veldrane_meta_ws_"};
  const fs::path folder_ = dir_.path();
  SvyWorkspaceHelper workspace_;
  CapturingNotifier notifier_;
};

TEST_F(MetadataWorkspaceTest, DocumentIsFilledFromTheSurveyFileAlone) {
  Write("a.em", kLeveeEm);
  ScopedNotifier capture(&notifier_);
  EXPECT_TRUE(workspace_.CanEditMetadata());
  const auto doc = workspace_.Metadata("a.em:CrossSections");
  ASSERT_NE(doc, nullptr);
  EXPECT_TRUE(notifier_.texts.empty());
  // Where each value goes is pinned in the metadata writer tests, and the
  // title read from the header in the tests below; here the shipped domains
  // translate, benchmarks come in declaration order and a reading's time is
  // written out.
  EXPECT_EQ(doc->GetProperty("spref/horizsys/planar/gridsys/spcs/spcszone"),
            DomainValueLookup("PROJECTION", "LA SOUTH"));
  EXPECT_EQ(doc->GetProperty("halden/vertcntl/permbm[0]/documentedelevation"), "10.25");
  EXPECT_EQ(doc->GetProperty("halden/vertcntl/permbm[1]/measuredelevation"), "-2.5");
  EXPECT_EQ(doc->GetProperty("halden/vertcntl/permbm[2]"), std::nullopt);
  EXPECT_EQ(doc->GetProperty("halden/gages/gageread[0]/date"), "3/1/2023 10:30:00 AM");
  EXPECT_EQ(doc->GetProperty("halden/crew/person[0]/name"), "SMITH");
  EXPECT_EQ(doc->GetProperty("halden/equip"), std::nullopt);
  EXPECT_EQ(doc->GetProperty("halden/weather"), std::nullopt);
}

TEST_F(MetadataWorkspaceTest, StoredDocumentKeepsWhatTheFileDoesNotSay) {
  Write("b.em", kUndatedEm);
  Write("b.em.xml", kStoredDocument);
  ScopedNotifier capture(&notifier_);
  const auto doc = workspace_.Metadata("b.em");
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->GetProperty("idinfo/citation/citeinfo/title"), "B.EM");
  // No survey date in the file: the stored one stays.
  EXPECT_EQ(doc->GetProperty("idinfo/citation/citeinfo/pubdate"), "20110314");
  EXPECT_EQ(doc->GetProperty("idinfo/keywords/theme/themekey"), "levee");
  EXPECT_EQ(doc->GetProperty("distinfo/distrib"), "District office");
  const std::string xml = doc->GetXml();
  EXPECT_NE(xml.find("<!-- kept by the project office -->"), std::string::npos);
  // The stored elements keep their place ahead of the new ones.
  EXPECT_LT(xml.find("<keywords>"), xml.find("<descript>"));
  EXPECT_LT(xml.find("<distinfo>"), xml.find("<spref>"));
  EXPECT_TRUE(notifier_.texts.empty());
}

TEST_F(MetadataWorkspaceTest, SavedDocumentReadsBackAndRefillingChangesNothing) {
  Write("a.em", kLeveeEm);
  Write("a.em.xml", kStoredDocument);
  const auto first = workspace_.Metadata("a.em");
  ASSERT_NE(first, nullptr);
  workspace_.SetMetadata("a.em:CrossSections", *first);
  EXPECT_EQ(Read("a.em.xml"), first->GetXml());
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.em", "a.em.xml"}));
  // Filling the saved document again rebuilds the repeated sections
  // instead of adding records to them.
  const auto second = workspace_.Metadata("a.em");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->GetXml(), first->GetXml());
}

TEST_F(MetadataWorkspaceTest, AReadOnlyStoredDocumentIsNeverOverwritten) {
  Write("a.em", kLeveeEm);
  Write("a.em.xml", kStoredDocument);
  fs::permissions(folder_ / "a.em.xml", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const auto doc = workspace_.Metadata("a.em");
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->GetProperty("idinfo/keywords/theme/themekey"), "levee");  // still read
  workspace_.SetMetadata("a.em", *doc);
  EXPECT_EQ(Read("a.em.xml"), kStoredDocument);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.em", "a.em.xml"}));
}

TEST_F(MetadataWorkspaceTest, HostileStoredDocumentIsReportedAndReplacedByAnEmptyOne) {
  Write("a.em", kLeveeEm);
  Write("a.em.xml", "<!DOCTYPE m [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><metadata><t>&x;</t></metadata>");
  ScopedNotifier capture(&notifier_);
  const auto doc = workspace_.Metadata("a.em");
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->GetProperty("t"), std::nullopt);
  EXPECT_EQ(doc->GetProperty("idinfo/citation/citeinfo/title"), "A.EM");
  ASSERT_EQ(notifier_.kinds, std::vector<NoticeKind>{NoticeKind::MessageBox});
  EXPECT_NE(notifier_.texts[0].find("a.em.xml"), std::string::npos);
  EXPECT_NE(notifier_.texts[0].find("DOCTYPE"), std::string::npos);
}

TEST_F(MetadataWorkspaceTest, MissingOrUnreadableSurveyFilesGiveNoDocument) {
  ScopedNotifier capture(&notifier_);
  EXPECT_EQ(workspace_.Metadata("missing.em"), nullptr);
  EXPECT_TRUE(notifier_.texts.empty());

  Write("notes.txt", "not a survey");
  EXPECT_EQ(workspace_.Metadata("notes.txt"), nullptr);
  ASSERT_EQ(notifier_.kinds, std::vector<NoticeKind>{NoticeKind::ErrorWindow});
  EXPECT_NE(notifier_.texts[0].find("Metadata"), std::string::npos);
  EXPECT_NE(notifier_.texts[0].find("unrecognized survey/traverse extension"), std::string::npos);
}

TEST_F(MetadataWorkspaceTest, SaveIntoAVanishedFolderLeavesNothingBehind) {
  Write("a.em", kLeveeEm);
  const auto doc = workspace_.Metadata("a.em");
  ASSERT_NE(doc, nullptr);
  SvyWorkspaceHelper gone;
  gone.SetWorkspacePath((folder_ / "no such folder").string());
  gone.SetMetadata("a.em", *doc);  // failures are not reported, nor thrown
  EXPECT_EQ(Names(), std::vector<std::string>{"a.em"});
}

}  // namespace
}  // namespace veldrane
