// Survey files wherever GDAL reaches them: the samples packed into zip and
// tar archives, gzipped, copied into /vsimem/ and served over HTTP on a
// loopback port read with the same layers, features and errors as the
// samples folder on disk; damaged sources give error records or a clear
// message; nothing is written where nothing can be.
#include <cpl_vsi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "config/file_access.h"
#include "gdal/vsi_file_access.h"
#include "host/pugi_xml_property_set.h"
#include "tests/gdal/ogr_driver_test_support.h"

namespace veldrane::ogr::test {
namespace {

const fs::path kSamples = fs::path(VELDRANE_SOURCE_DIR) / "samples";
const char* const kSampleNames[] = {"borrow_pit.em", "centerline.pro", "channel_hydro.em", "control.83",
                                    "field_mistakes.em", "levee.bl", "levee.em", "old_route.830", "profile.em"};

// Every layer's features and the "Errors" layer as text, with `folder` (the
// part of each file's path that differs between sources) taken out.
std::string Rendered(const std::string& path, const std::string& folder) {
  const GDALDatasetUniquePtr dataset = OpenWithDriver(path, /*errorLayer=*/true);
  if (!dataset) return "cannot open " + path;
  std::string text;
  for (OGRLayer* layer : dataset->GetLayers()) {
    text += std::string(layer->GetName()) + "\n";
    for (auto& feature : *layer) text += Describe(*feature) + "\n";
  }
  for (std::size_t at; !folder.empty() && (at = text.find(folder + "/")) != std::string::npos;)
    text.erase(at, folder.size() + 1);
  return text;
}

class OgrDriverVsi : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    out_ = new ScratchFolder();
    const std::string fixture = std::string(VELDRANE_SOURCE_DIR) + "/tests/gdal/vsi_fixture.py";
    ASSERT_EQ(std::system(("python3 " + fixture + " archives " + kSamples.string() + " " + Out("")).c_str()), 0);
    std::vector<std::string> files(std::begin(kSampleNames), std::end(kSampleNames));
    files.push_back("CODES.DAT");
    for (const std::string& name : files) {
      const std::string bytes = ReadFile(kSamples / name);
      VSIFCloseL(VSIFileFromMemBuffer(("/vsimem/veldrane/samples/" + name).c_str(),
                                      reinterpret_cast<GByte*>(CPLStrdup(bytes.c_str())), bytes.size(), TRUE));
    }
    setenv("NO_PROXY", "127.0.0.1", 1);
    CPLSetConfigOption("GDAL_HTTP_TIMEOUT", "20");
    server_ = popen(("python3 " + fixture + " serve " + Out("http") + " " + Out("port")).c_str(), "w");
    ASSERT_NE(server_, nullptr);
    for (int i = 0; i < 300 && !fs::exists(Out("port")); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
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

TEST_F(OgrDriverVsi, FoldersReadAsTheSamplesFolderOnDisk) {
  const std::string expected = Rendered(kSamples.string(), kSamples.string());
  ASSERT_NE(expected.find("levee.em CrossSections"), std::string::npos);
  for (const std::string& folder : {"/vsizip/" + Out("stored.zip"), "/vsizip/" + Out("deflated.zip"),
                                   "/vsizip/" + Out("nested.zip") + "/jobs/2011", "/vsitar/" + Out("samples.tar"),
                                   "/vsitar/" + Out("samples.tgz"), std::string("/vsimem/veldrane/samples"), Url()}) {
    SCOPED_TRACE(folder);
    EXPECT_EQ(Rendered(folder, folder), expected);
  }
}

TEST_F(OgrDriverVsi, SingleFilesReadAsOnDisk) {
  for (const std::string name : kSampleNames) {
    SCOPED_TRACE(name);
    const std::string expected = Rendered((kSamples / name).string(), kSamples.string());
    EXPECT_EQ(Rendered("/vsigzip/" + Out("gz/" + name + ".gz"), "/vsigzip/" + Out("gz")), expected);
    EXPECT_EQ(Rendered(Url() + "/" + name, Url()), expected);
    EXPECT_EQ(Rendered("/vsizip/" + Out("stored.zip") + "/" + name, "/vsizip/" + Out("stored.zip")), expected);
    if (name == "control.83") {  // a zip of this file alone
      EXPECT_EQ(Rendered("/vsizip/" + Out("one.zip") + "/" + name, "/vsizip/" + Out("one.zip")), expected);
    }
  }
}

// A damaged file reads up to the damage and says so in an error record; a
// file GDAL cannot find at all (a missing member, one the damage took)
// gives GDAL's message.
TEST_F(OgrDriverVsi, DamagedSourcesGiveErrorRecordsOrAClearMessage) {
  std::vector<std::string> paths = {"/vsizip/" + Out("stored.zip") + "/missing.em", Url() + "/missing.em"};
  for (const std::string name : kSampleNames) {
    paths.push_back("/vsitar/" + Out("cut/" + name + ".tar") + "/" + name);
    paths.push_back("/vsigzip/" + Out("cut/" + name + ".gz"));
    paths.push_back(Url() + "/drop/" + name);
  }
  int recorded = 0;
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    CapturedMessages messages;
    if (const auto dataset = OpenWithDriver(path, true, GDAL_OF_VERBOSE_ERROR)) {
      const std::string errors = Rendered(path, "");
      EXPECT_NE(errors.find("|Cannot read " + SurveyNameOf(path) + ": "), std::string::npos) << errors;
      ++recorded;
    } else {
      // GDAL's own: "... does not exist in the file system ..." naming the
      // path, or the HTTP status.
      const auto failures = messages.Of(CE_Failure);
      EXPECT_TRUE(std::any_of(failures.begin(), failures.end(), [&](const std::string& m) {
        return m.find(path) != std::string::npos || m.find("HTTP response code: 404") != std::string::npos;
      }));
    }
  }
  EXPECT_GE(recorded, 20);
}

TEST_F(OgrDriverVsi, NothingIsWrittenWhereNothingCanBe) {
  RegisterDriver();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(kDriverName);
  const std::string zipped = "/vsizip/" + Out("stored.zip") + "/levee.em";
  struct Case {
    CPLErr (*operation)(GDALDriver&, const std::string&);
    std::string path, message;
  };
  const Case cases[] = {
      {[](GDALDriver& d, const std::string& p) { return d.Delete(p.c_str()); }, zipped,
       "Veldrane: " + zipped + " cannot be deleted: /vsizip/ is read-only"},
      {[](GDALDriver& d, const std::string& p) { return d.Rename("/vsimem/veldrane/samples/x.em", p.c_str()); },
       "/vsimem/veldrane/samples/levee.em",
       "cannot be renamed: survey files and their metadata are written to plain files only, not to /vsimem/"},
  };
  for (const Case& c : cases) {
    CapturedMessages messages;
    EXPECT_EQ(c.operation(*driver, c.path), CE_Failure);
    ASSERT_EQ(messages.Of(CE_Failure).size(), 1u);
    EXPECT_NE(messages.Of(CE_Failure)[0].find(c.message), std::string::npos) << messages.Of(CE_Failure)[0];
  }
  // Reading is never affected: a survey file is copied out of the archive.
  ScratchFolder target;
  EXPECT_EQ(driver->CopyFiles((target.path() / "levee.em").c_str(), zipped.c_str()), CE_None);
  EXPECT_EQ(ReadFile(target.path() / "levee.em"), ReadFile(kSamples / "levee.em"));
  VsiFileAccess access;
  FileAccessScope scope(access);
  const auto failure = NewXmlPropertySet()->SaveAsFile(zipped + ".xml");
  ASSERT_NE(failure, nullptr);
  EXPECT_EQ(failure->Description(), "Cannot save metadata : " + zipped + ".xml cannot be written: /vsizip/ is read-only");
}

TEST_F(OgrDriverVsi, AFolderIsListedOncePerAccess) {
  const auto add = [](const std::string& name) { VSIFCloseL(VSIFOpenL(("/vsimem/veldrane/once/" + name).c_str(), "wb")); };
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
