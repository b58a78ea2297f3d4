// Reading through the calling thread's file access: survey text held in
// memory reads exactly as the same bytes in a file, a file that stops being
// readable part way is reported by every reader, and the plain access opens
// regular files only.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/survey_json.h"
#include "config/file_access.h"
#include "config/file_system.h"
#include "readers/survey_factory.h"
#include "tests/core/em_test_support.h"
#include "tests/core/reader_test_support.h"

namespace veldrane::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> SamplePaths() {
  std::vector<std::string> paths;
  for (const auto& entry : fs::directory_iterator(fs::path(VELDRANE_SOURCE_DIR) / "samples"))
    if (IsValidSurveyFile(entry.path().string())) paths.push_back(entry.path().string());
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::string Dump(const std::string& path, const std::shared_ptr<IInterface>& object) {
  return SurveyFileToJson(path, object).dump(1);
}

TEST(SurveyTextTest, EverySampleReadsFromMemoryAsFromItsFile) {
  const auto paths = SamplePaths();
  ASSERT_GE(paths.size(), 8u);
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    EXPECT_EQ(Dump(path, OpenSurveyText(path, ReadFile(path))), Dump(path, OpenSurveyFile(path)));
  }
}

using SurveyTextFolderTest = ScratchFileTest;

TEST_F(SurveyTextFolderTest, TextNotOnDiskFindsItsCodesAndBaselineBesideItsPath) {
  Write("CODES.DAT", "GND;ground\n");
  Write("line.bl", "#B01 0,0,0,A\n#B02 0,100,100,B\n");
  const std::string path = (dir_ / "new.em").string();
  const auto survey = std::dynamic_pointer_cast<ISurvey>(OpenSurveyText(
      path, "#B00 line.bl\n#X01 -50 50 50 50 0+50 XS\n1,50,-10,1,GND\n2,50,10,1,GND\n\n#H00 EM07\n"));
  ASSERT_NE(survey, nullptr);
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(survey->GetCustomCode("GND"), "ground");
  const auto sections = Collect(survey->CrossSections());
  ASSERT_EQ(sections.size(), 1u);
  EXPECT_EQ(sections[0]->BaselineIntersectX(), 0.0);
  EXPECT_EQ(sections[0]->BaselineIntersectY(), 50.0);
  const auto errors = Drain(*survey->Errors());
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].line, 6);
  EXPECT_EQ(errors[0].text, "Invalid File Format Version : EM07");
}

// Serves one file's bytes, failing as a dropped connection does once a read
// would go past `cut`; every other path is the plain file system's.
class CutShortAccess final : public IFileAccess {
 public:
  CutShortAccess(std::string path, std::size_t cut) : path_(std::move(path)), cut_(cut) {}
  std::unique_ptr<IReadableFile> OpenForReading(const std::string& path) override {
    if (path != path_) return PosixFileAccess().OpenForReading(path);
    return std::make_unique<CutFile>(ReadFile(path), cut_, path);
  }
  FileKind KindOf(const std::string& path) override { return PosixFileAccess().KindOf(path); }
  std::vector<FolderEntry> ListFolder(const std::string& folder) override {
    return PosixFileAccess().ListFolder(folder);
  }

 private:
  class CutFile final : public IReadableFile {
   public:
    CutFile(std::string bytes, std::size_t cut, std::string path)
        : bytes_(std::move(bytes)), cut_(cut), path_(std::move(path)) {}
    std::size_t Read(char* buffer, std::size_t size) override {
      const std::size_t got = std::min(size, bytes_.size() - position_);
      if (position_ + got > cut_) throw FileReadError("Cannot read " + path_ + ": connection dropped");
      bytes_.copy(buffer, got, position_);
      position_ += got;
      return got;
    }
    std::uint64_t Size() const override { return bytes_.size(); }

   private:
    std::string bytes_;
    std::size_t cut_, position_ = 0;
    std::string path_;
  };
  std::string path_;
  std::size_t cut_;
};

TEST(FileReadFailureTest, EveryReaderReportsAFileCutShortAndReturns) {
  for (const std::string& path : SamplePaths()) {
    SCOPED_TRACE(path);
    CutShortAccess access(path, fs::file_size(path) / 2);
    FileAccessScope scope(access);
    const OrderedJson dump = SurveyFileToJson(path, OpenSurveyFile(path));
    const auto& errors = dump["errors"];
    const auto dropped = std::count_if(errors.begin(), errors.end(), [&](const OrderedJson& e) {
      return e["Description"] == "Cannot read " + path + ": connection dropped" && e["severity"] == 1;
    });
    EXPECT_EQ(dropped, 1);
  }
  EXPECT_EQ(&CurrentFileAccess(), &PosixFileAccess());
}

using FileAccessTest = ScratchFileTest;

TEST_F(FileAccessTest, ThePlainAccessOpensRegularFilesOnly) {
  const std::string file = Write("a.em", "#H05 J\n");
  const std::string fifo = (dir_ / "pipe.em").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directories(dir_ / "sub.em");
  struct Case {
    std::string path;
    FileKind kind;
    bool opens;
  };
  const Case cases[] = {{file, FileKind::File, true},
                        {fifo, FileKind::Other, false},
                        {(dir_ / "sub.em").string(), FileKind::Folder, false},
                        {(dir_ / "none.em").string(), FileKind::Missing, false}};
  IFileAccess& access = PosixFileAccess();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(access.KindOf(c.path), c.kind);
    const auto opened = access.OpenForReading(c.path);
    ASSERT_EQ(opened != nullptr, c.opens);
    if (opened) {
      EXPECT_EQ(opened->Size(), 7u);
    }
  }
  auto entries = access.ListFolder(dir_.path().string());
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "a.em");
  EXPECT_EQ(entries[1].kind, FileKind::Other);
  EXPECT_EQ(entries[2].kind, FileKind::Folder);
}

}  // namespace
}  // namespace veldrane::test
