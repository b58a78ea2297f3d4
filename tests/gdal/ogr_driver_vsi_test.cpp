// The samples zipped, tarred, gzipped, in /vsimem/ and on a loopback HTTP
// server read as on disk; damaged sources give error records or GDAL's
// message; nothing is written where nothing can be.
#include <cpl_vsi.h>

#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>

#include "gdal/vsi_file_access.h"
#include "host/pugi_xml_property_set.h"
#include "tests/gdal/ogr_driver_test_support.h"

namespace veldrane::ogr::test {
namespace {

const fs::path kSamples = fs::path(VELDRANE_SOURCE_DIR) / "samples";
const char* const kSampleNames[] = {"borrow_pit.em", "centerline.pro", "channel_hydro.em", "control.83",
                                    "field_mistakes.em", "levee.bl", "levee.em", "old_route.830", "profile.em"};

// Every layer's features and the "Errors" layer, with `folder` (where the
// file paths of two sources differ) taken out.
std::string Rendered(const std::string& path, const std::string& folder) {
  const GDALDatasetUniquePtr dataset = OpenWithDriver(path, /*errorLayer=*/true);
  if (!dataset) return "cannot open " + path;
  std::string text = DescribeLayers(*dataset);
  for (std::size_t at; !folder.empty() && (at = text.find(folder + "/")) != std::string::npos;)
    text.erase(at, folder.size() + 1);
  return text;
}

class OgrDriverVsi : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    out_ = new ScratchFolder();
    const std::string fixture = "python3 " + std::string(VELDRANE_SOURCE_DIR) + "/tests/gdal/vsi_fixture.py ";
    ASSERT_EQ(std::system((fixture + "archives " + kSamples.string() + " " + Out("")).c_str()), 0);
    ASSERT_TRUE(VSISync((kSamples.string() + "/").c_str(), "/vsimem/veldrane/samples", nullptr, nullptr, nullptr,
                        nullptr));
    CPLSetConfigOption("GDAL_HTTP_TIMEOUT", "20");
    server_ = popen((fixture + "serve " + kSamples.string() + " " + Out("port")).c_str(), "w");
    using std::chrono_literals::operator""ms;
    for (int i = 0; i < 300 && !fs::exists(Out("port")); ++i) std::this_thread::sleep_for(100ms);
    std::ifstream(Out("port")) >> port_;
    ASSERT_FALSE(port_.empty()) << "the HTTP server did not start";
  }
  static void TearDownTestSuite() {
    if (server_ != nullptr) pclose(server_);  // closing its input ends the server
    VSIRmdirRecursive("/vsimem/veldrane");
    delete out_;
  }
  static std::string Out(const std::string& name) { return (out_->path() / name).string(); }
  static std::string Url() { return "/vsicurl/http://127.0.0.1:" + port_; }

  static inline ScratchFolder* out_ = nullptr;
  static inline FILE* server_ = nullptr;
  static inline std::string port_;
};

// Every path kind, each against what the same folder or file gives on disk.
TEST_F(OgrDriverVsi, EveryPathKindReadsAsOnDisk) {
  struct Case {
    std::string path, folder, onDisk;
  };
  std::vector<Case> cases = {{"/vsizip/" + Out("one.zip") + "/control.83", "/vsizip/" + Out("one.zip"), "control.83"}};
  for (const std::string& folder : {"/vsizip/" + Out("stored.zip"), "/vsizip/" + Out("deflated.zip"),
                                    "/vsizip/" + Out("nested.zip") + "/jobs/2011", "/vsitar/" + Out("samples.tar"),
                                    "/vsitar/" + Out("samples.tgz"), std::string("/vsimem/veldrane/samples"), Url()})
    cases.push_back({folder, folder, ""});
  for (const std::string name : kSampleNames) {
    cases.push_back({"/vsigzip/" + Out("gz/" + name + ".gz"), "/vsigzip/" + Out("gz"), name});
    cases.push_back({Url() + "/" + name, Url(), name});
    cases.push_back({"/vsizip/" + Out("stored.zip") + "/" + name, "/vsizip/" + Out("stored.zip"), name});
  }
  ASSERT_NE(Rendered(kSamples.string(), kSamples.string()).find("levee.em CrossSections"), std::string::npos);
  for (const Case& c : cases)
    EXPECT_EQ(Rendered(c.path, c.folder), Rendered((kSamples / c.onDisk).string(), kSamples.string())) << c.path;
}

// A damaged file reads up to the damage and says so in an error record; a
// file GDAL cannot find (missing, or lost to the damage) gets GDAL's message.
TEST_F(OgrDriverVsi, DamagedSourcesGiveErrorRecordsOrAClearMessage) {
  std::vector<std::string> paths = {"/vsizip/" + Out("stored.zip") + "/missing.em", Url() + "/missing.em"};
  for (const std::string name : kSampleNames) {
    for (const std::string& path : {"/vsitar/" + Out("cut/" + name + ".tar") + "/" + name,
                                    "/vsigzip/" + Out("cut/" + name + ".gz"), Url() + "/drop/" + name})
      paths.push_back(path);
  }
  int recorded = 0;
  for (const std::string& path : paths) {
    CapturedMessages messages;
    if (OpenWithDriver(path, true, GDAL_OF_VERBOSE_ERROR)) {
      EXPECT_NE(Rendered(path, "").find("|Cannot read " + SurveyNameOf(path) + ": "), std::string::npos) << path;
      ++recorded;
      continue;
    }
    const auto failures = messages.Of(CE_Failure);  // naming the path, or the HTTP status
    EXPECT_TRUE(std::any_of(failures.begin(), failures.end(), [&](const std::string& m) {
      return m.find(path) != std::string::npos || m.find("HTTP response code: 404") != std::string::npos;
    })) << path;
  }
  EXPECT_GE(recorded, 20);
}

TEST_F(OgrDriverVsi, NothingIsWrittenWhereNothingCanBe) {
  RegisterDriver();
  GDALDriver& driver = *GetGDALDriverManager()->GetDriverByName(kDriverName);
  const std::string zipped = "/vsizip/" + Out("stored.zip") + "/levee.em";
  const std::string inMemory = "/vsimem/veldrane/samples/levee.em";
  CapturedMessages messages;
  EXPECT_EQ(driver.Delete(zipped.c_str()), CE_Failure);
  EXPECT_EQ(driver.Rename((inMemory + ".old").c_str(), inMemory.c_str()), CE_Failure);
  EXPECT_EQ(messages.Of(CE_Failure),
            (std::vector<std::string>{"Veldrane: " + zipped + " cannot be deleted: /vsizip/ is read-only",
                                      "Veldrane: " + inMemory + " cannot be renamed: survey files and their metadata "
                                                                "are written to plain files only, not to /vsimem/"}));
  // Reading is never affected: a survey file is copied out of the archive.
  ScratchFolder target;
  EXPECT_EQ(driver.CopyFiles((target.path() / "levee.em").c_str(), zipped.c_str()), CE_None);
  EXPECT_EQ(ReadFile(target.path() / "levee.em"), ReadFile(kSamples / "levee.em"));
  VsiFileAccess access;
  FileAccessScope scope(access);
  const auto failure = NewXmlPropertySet()->SaveAsFile(zipped + ".xml");
  ASSERT_NE(failure, nullptr);
  EXPECT_EQ(failure->Description(),
            "Cannot save metadata : " + zipped + ".xml cannot be written: /vsizip/ is read-only");
}

TEST_F(OgrDriverVsi, AFolderIsListedOncePerAccess) {
  const auto add = [](const std::string& n) { VSIFCloseL(VSIFOpenL(("/vsimem/veldrane/once/" + n).c_str(), "wb")); };
  add("a.em");
  VsiFileAccess access;
  EXPECT_EQ(access.ListFolder("/vsimem/veldrane/once").size(), 1u);
  add("b.em");
  EXPECT_EQ(access.KindOf("/vsimem/veldrane/once/b.em"), FileKind::Missing);
  EXPECT_EQ(access.OpenForReading("/vsimem/veldrane/once/b.em"), nullptr);
  EXPECT_EQ(VsiFileAccess().KindOf("/vsimem/veldrane/once/b.em"), FileKind::File);
}

}  // namespace
}  // namespace veldrane::ogr::test
