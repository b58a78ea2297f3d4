// The pugixml-backed metadata document: element paths, the two write
// actions, text forms, defensive loading and whole-or-nothing saving.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <functional>

#include "config/metadata_writer.h"
#include "host/pugi_xml_property_set.h"
#include "tests/core/temp_dir.h"

namespace veldrane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

using ScratchFolder = test::TempDir;
using test::ReadFile;
using test::WriteFile;

const std::string kEmptyDocument = std::string(kDeclaration) + "<metadata />\n";

// ---------------------------------------------------------------------------
// Paths and actions

TEST(PugiXmlPropertySetTest, SetCreatesMissingParentsAndReplacesTheValue) {
  PugiXmlPropertySet set;
  set.SetProperty("idinfo/citation/citeinfo/title", std::string("first"));
  set.SetProperty("idinfo/citation/citeinfo/title", std::string("levee.em"));
  set.SetProperty("idinfo/citation/citeinfo/origin", std::string("Acme"));
  EXPECT_EQ(set.GetProperty("idinfo/citation/citeinfo/title"), "levee.em");
  EXPECT_EQ(set.GetProperty("idinfo/citation/citeinfo/title[1]"), std::nullopt);
  EXPECT_EQ(set.GetProperty("idinfo/citation/serinfo"), std::nullopt);
  // A replaced value stays in its place ahead of later siblings; how the
  // document is laid out is pinned with a stored document below.
  const std::string xml = set.GetXml();
  EXPECT_LT(xml.find("<title>levee.em</title>"), xml.find("<origin>Acme</origin>")) << xml;
}

TEST(PugiXmlPropertySetTest, NumbersBecomeShortestLocaleFreeText) {
  PugiXmlPropertySet set;
  set.SetProperty("a", 12.5);
  set.SetProperty("b", 0.0001);
  set.SetProperty("c", -3.0);
  set.SetProperty("d", 1234567.891);
  set.SetProperty("e", 0.1 + 0.2);
  EXPECT_EQ(set.GetProperty("a"), "12.5");
  EXPECT_EQ(set.GetProperty("b"), "0.0001");
  EXPECT_EQ(set.GetProperty("c"), "-3");
  EXPECT_EQ(set.GetProperty("d"), "1234567.891");
  EXPECT_EQ(set.GetProperty("e"), "0.30000000000000004");
}

TEST(PugiXmlPropertySetTest, AddStartsARecordAfterTheOnesOfTheSameName) {
  PugiXmlPropertySet set;
  ASSERT_EQ(set.LoadFromText("<metadata><halden><gages><gageread><name>old</name></gageread>"
                             "<note>kept</note></gages></halden></metadata>",
                             "stored.xml"),
            nullptr);
  set.SetProperty("halden/gages/gageread", std::string(), 0, kXmlAddProperty);
  set.SetProperty("halden/gages/gageread[1]/name", std::string("new"));
  set.SetProperty("halden/gages/gageread[0]/wselevation", 2.5);
  EXPECT_EQ(set.GetProperty("halden/gages/gageread[0]/name"), "old");
  EXPECT_EQ(set.GetProperty("halden/gages/gageread[0]/wselevation"), "2.5");
  EXPECT_EQ(set.GetProperty("halden/gages/gageread[1]/name"), "new");
  EXPECT_EQ(set.GetProperty("halden/gages/gageread[2]"), std::nullopt);
  // The new record comes before the other elements of the section.
  const std::string xml = set.GetXml();
  EXPECT_LT(xml.find("<name>new</name>"), xml.find("<note>kept</note>")) << xml;
}

TEST(PugiXmlPropertySetTest, SettingASectionStartsItOverButKeepsItsAttributes) {
  PugiXmlPropertySet set;
  ASSERT_EQ(set.LoadFromText("<metadata><halden><vertcntl kind=\"survey\"><permbm><name>A</name></permbm>"
                             "<permbm><name>B</name></permbm></vertcntl></halden></metadata>",
                             "stored.xml"),
            nullptr);
  set.SetProperty("halden/vertcntl", std::string());
  set.SetProperty("halden/vertcntl/permbm", std::string(), 0, kXmlAddProperty);
  set.SetProperty("halden/vertcntl/permbm[0]/name", std::string("C"));
  EXPECT_EQ(set.GetProperty("halden/vertcntl/permbm[0]/name"), "C");
  EXPECT_EQ(set.GetProperty("halden/vertcntl/permbm[1]"), std::nullopt);
  EXPECT_NE(set.GetXml().find("<vertcntl kind=\"survey\">"), std::string::npos);
}

TEST(PugiXmlPropertySetTest, AnIndexMayNameOnlyAnExistingOrTheNextElement) {
  PugiXmlPropertySet set;
  set.SetProperty("halden/crew/person[0]/name", std::string("SMITH"));
  set.SetProperty("halden/crew/person[1]/name", std::string("JONES"));
  EXPECT_EQ(set.GetProperty("halden/crew/person[1]/name"), "JONES");
  EXPECT_THROW(set.SetProperty("halden/crew/person[3]/name", std::string("GAP")), std::invalid_argument);
  EXPECT_EQ(set.GetProperty("halden/crew/person[2]"), std::nullopt);
  // A refused path creates none of its missing parents either.
  EXPECT_THROW(set.SetProperty("spref/horizsys/planar[1]/x", std::string("v")), std::invalid_argument);
  EXPECT_EQ(set.GetProperty("spref"), std::nullopt);
}

TEST(PugiXmlPropertySetTest, MalformedPathsAndUnknownModesAreRefused) {
  PugiXmlPropertySet set;
  for (const std::string path : {"", "/a", "a/", "a//b", "a[", "a[]", "a[x]", "a[-1]", "a[0]b", "1a", "a b", "a<b",
                                 "a[1234567890]"}) {
    EXPECT_THROW(set.SetProperty(path, std::string("v")), std::invalid_argument) << path;
  }
  EXPECT_THROW(set.SetProperty("a/b[0]", std::string(), 0, kXmlAddProperty), std::invalid_argument);
  EXPECT_THROW(set.SetProperty("a", std::string(), 1, kXmlSetProperty), std::invalid_argument);
  EXPECT_THROW(set.SetProperty("a", std::string(), 0, 2), std::invalid_argument);
  EXPECT_EQ(set.GetXml(), kEmptyDocument);
}

TEST(PugiXmlPropertySetTest, TextIsEscapedAndMadeCarriable) {
  PugiXmlPropertySet set;
  set.SetProperty("a", std::string("R&D <north> \"bank\""));
  set.SetProperty("b", std::string("caf\xE9"));            // Windows-1252 e acute
  set.SetProperty("c", std::string("bell\x07here\x1B"));  // no XML document may hold these
  EXPECT_EQ(set.GetProperty("b"), "caf\xC3\xA9");
  EXPECT_EQ(set.GetProperty("c"), "bell\xEF\xBF\xBDhere\xEF\xBF\xBD");
  const std::string xml = set.GetXml();
  EXPECT_NE(xml.find("<a>R&amp;D &lt;north&gt; \"bank\"</a>"), std::string::npos) << xml;
  PugiXmlPropertySet reread;
  ASSERT_EQ(reread.LoadFromText(xml, "x.xml"), nullptr);
  EXPECT_EQ(reread.GetProperty("a"), "R&D <north> \"bank\"");
  EXPECT_EQ(reread.GetXml(), xml);
}

// ---------------------------------------------------------------------------
// Loading

TEST(PugiXmlPropertySetLoadTest, KeepsCommentsAttributesAndCdataOfAStoredDocument) {
  ScratchFolder folder("veldrane_meta_load_ok");
  WriteFile(folder / "a.em.xml",
             "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
             "<!-- written by hand -->\r\n"
             "<metadata lang=\"en\">\r\n"
             "  <idinfo><keywords><theme><themekey>levee</themekey></theme></keywords></idinfo>\r\n"
             "  <distinfo><![CDATA[a < b]]></distinfo>\r\n"
             "  <note>Caf\xE9</note>\r\n"
             "</metadata>\r\n");
  PugiXmlPropertySet set;
  ASSERT_EQ(set.LoadFromFile(folder / "a.em.xml"), nullptr);
  EXPECT_EQ(set.GetProperty("idinfo/keywords/theme/themekey"), "levee");
  EXPECT_EQ(set.GetProperty("note"), "Caf\xC3\xA9");
  EXPECT_EQ(set.GetXml(), std::string(kDeclaration) +
                              "<!-- written by hand -->\n"
                              "<metadata lang=\"en\">\n"
                              "  <idinfo>\n"
                              "    <keywords>\n"
                              "      <theme>\n"
                              "        <themekey>levee</themekey>\n"
                              "      </theme>\n"
                              "    </keywords>\n"
                              "  </idinfo>\n"
                              "  <distinfo><![CDATA[a < b]]></distinfo>\n"
                              "  <note>Caf\xC3\xA9</note>\n"
                              "</metadata>\n");
}

TEST(PugiXmlPropertySetLoadTest, ReadsUtf16WithByteOrderMark) {
  const std::string ascii = "<metadata><a>x</a></metadata>";
  std::string utf16 = "\xFF\xFE";
  for (char c : ascii) {
    utf16.push_back(c);
    utf16.push_back('\0');
  }
  PugiXmlPropertySet set;
  ASSERT_EQ(set.LoadFromText(utf16, "wide.xml"), nullptr);
  EXPECT_EQ(set.GetProperty("a"), "x");
}

struct HostileCase {
  const char* name;
  std::string text;
  const char* reason;  // part of the description
};

std::string Nested(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "<e>";
  for (int i = 0; i < depth; ++i) text += "</e>";
  return text;
}

TEST(PugiXmlPropertySetLoadTest, HostileOrBrokenFilesGiveAnErrorRecordAndAnEmptyDocument) {
  const std::vector<HostileCase> cases{
      {"external entity",
       "<!DOCTYPE metadata [<!ENTITY xxe SYSTEM \"file:///etc/passwd\">]><metadata>&xxe;</metadata>", "DOCTYPE"},
      {"deep nesting", Nested(10000), "nested deeper than 256"},
      {"one level too deep", Nested(257), "nested deeper than 256"},
      {"binary", std::string("\x00\x01\xFF\xFE\x00<\x00", 7) + std::string(100, '\x9C'), ""},
      {"empty", "", "exactly one root element"},
      {"two roots", "<metadata/><metadata/>", "exactly one root element"},
      {"trailing garbage", "<metadata/>junk", "text outside the root element"},
      {"repeated attribute", "<metadata a=\"1\" a=\"2\"/>", "attribute repeated"},
      {"unclosed", "<metadata><idinfo>", ""},
  };
  for (const auto& c : cases) {
    PugiXmlPropertySet set;
    set.SetProperty("left/over", std::string("from before"));
    const auto error = set.LoadFromText(c.text, "hostile.xml");
    ASSERT_NE(error, nullptr) << c.name;
    EXPECT_EQ(error->Filename(), "hostile.xml") << c.name;
    EXPECT_EQ(error->severity(), 1) << c.name;
    EXPECT_EQ(error->Description().rfind("Invalid metadata document : ", 0), 0u) << c.name;
    EXPECT_NE(error->Description().find(c.reason), std::string::npos) << c.name << ": " << error->Description();
    EXPECT_EQ(set.GetXml(), kEmptyDocument) << c.name;
  }
  EXPECT_EQ(PugiXmlPropertySet().LoadFromText(Nested(256), "deep.xml"), nullptr);  // nesting up to the limit
}

TEST(PugiXmlPropertySetLoadTest, ParseErrorsNameTheLine) {
  PugiXmlPropertySet set;
  const auto error = set.LoadFromText("<metadata>\r\n<a>\r\n</b>\n</metadata>", "x.xml");
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->LineNumber(), 3);
  EXPECT_NE(error->Description().find("mismatch"), std::string::npos) << error->Description();
}

TEST(PugiXmlPropertySetLoadTest, OversizedAndMissingFilesAreRefusedWithoutReading) {
  ScratchFolder folder("veldrane_meta_load_big");
  const fs::path big = folder / "big.em.xml";
  WriteFile(big, "<metadata>");
  fs::resize_file(big, kMaxXmlFileBytes + 1);  // sparse: costs no disk
  PugiXmlPropertySet set;
  auto error = set.LoadFromFile(big);
  ASSERT_NE(error, nullptr);
  EXPECT_NE(error->Description().find("larger than 64 MB"), std::string::npos);
  EXPECT_EQ(error->Filename(), big.string());

  error = set.LoadFromFile(folder / "missing.xml");
  ASSERT_NE(error, nullptr);
  EXPECT_NE(error->Description().find("cannot read the file"), std::string::npos);
  EXPECT_EQ(set.GetXml(), kEmptyDocument);
}

// ---------------------------------------------------------------------------
// Saving

// A save that cannot be made says why and leaves what was there: a folder
// in the way, a folder that is missing, a read-only document (kept by hand).
TEST(PugiXmlPropertySetSaveTest, AFailedSaveChangesNothing) {
  struct Case {
    const char* what;
    std::function<void(const fs::path&)> prepare;
    const char* target;
    const char* reason;
  } cases[] = {
      {"folder in the way", [](const fs::path& f) { fs::create_directories(f / "a.em.xml"); }, "a.em.xml",
       "Cannot save metadata"},
      {"missing folder", [](const fs::path& f) { WriteFile(f / "a.em.xml", "<metadata><mine>hand kept</mine></metadata>"); },
       "no such folder/a.em.xml", "Cannot save metadata"},
      {"read-only document",
       [](const fs::path& f) {
         WriteFile(f / "a.em.xml", "<metadata><mine>hand kept</mine></metadata>");
         fs::permissions(f / "a.em.xml", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
       },
       "a.em.xml", "read-only"},
  };
  for (const Case& c : cases) {
    ScratchFolder folder("veldrane_meta_save_fail");
    c.prepare(folder.path());
    const std::string before = fs::is_regular_file(folder / "a.em.xml") ? ReadFile(folder / "a.em.xml") : "";
    PugiXmlPropertySet set;
    set.SetProperty("a", std::string("b"));
    const auto error = set.SaveAsFile(folder / c.target);
    ASSERT_NE(error, nullptr) << c.what;
    EXPECT_NE(error->Description().find(c.reason), std::string::npos) << c.what << ": " << error->Description();
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"a.em.xml"}) << c.what;
    if (!before.empty()) {
      EXPECT_EQ(ReadFile(folder / "a.em.xml"), before) << c.what;
    } else {
      EXPECT_TRUE(fs::is_directory(folder / "a.em.xml")) << c.what;
    }
    fs::permissions(folder / "a.em.xml", fs::perms::owner_all, fs::perm_options::add);
  }
}

}  // namespace
}  // namespace veldrane
