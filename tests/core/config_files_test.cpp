#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "config/error_log.h"
#include "config/file_system.h"
#include "config/module_context.h"
#include "config/settings_paths.h"
#include "readers/survey_file_utils.h"
#include "model/notifier.h"
#include "model/survey_error.h"
#include "tests/core/capturing_notifier.h"
#include "tests/core/temp_dir.h"

namespace veldrane {
namespace {

namespace fs = std::filesystem;

using test::CapturingNotifier;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// ---------------------------------------------------------------------------
// File system services

TEST(FileSystemTest, FilesAndFoldersAreToldApartListedByNameAndReadVerbatim) {
  TempDir dir;
  WriteFile(dir / "b.em", "one\r\ntwo\rthree\n");
  WriteFile(dir / "A.830", "a");
  WriteFile(dir / "c.pro", "c");
  fs::create_directories(dir / "sub.em");
  WriteFile(dir / "sub.em" / "inner.em", "x");
  EXPECT_TRUE(FileExists(dir / "b.em"));
  EXPECT_FALSE(FileExists(dir / "sub.em"));
  EXPECT_TRUE(FolderExists(dir / "sub.em"));
  EXPECT_FALSE(FolderExists(dir / "b.em"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_EQ(ListFiles(dir.path()), (std::vector<std::string>{"A.830", "b.em", "c.pro"}));
  EXPECT_THROW(ListFiles(dir / "missing"), fs::filesystem_error);
  EXPECT_EQ(ReadAllText(dir / "b.em"), "one\r\ntwo\rthree\n");
  EXPECT_THROW(ReadAllText(dir / "missing.em"), fs::filesystem_error);
}

TEST(FileSystemTest, MovingOntoAnExistingFileFailsAndChangesNothing) {
  TempDir dir;
  WriteFile(dir / "a.em", "source");
  WriteFile(dir / "b.em", "target");
  EXPECT_THROW(MoveFile(dir / "a.em", dir / "b.em"), fs::filesystem_error);
  EXPECT_EQ(ReadFile(dir / "a.em"), "source");
  EXPECT_EQ(ReadFile(dir / "b.em"), "target");
  fs::create_directories(dir / "folder");
  EXPECT_THROW(MoveFile(dir / "a.em", dir / "folder"), fs::filesystem_error);
  EXPECT_EQ(ReadFile(dir / "a.em"), "source");

  MoveFile(dir / "a.em", dir / "c.em");
  EXPECT_FALSE(FileExists(dir / "a.em"));
  EXPECT_EQ(ReadFile(dir / "c.em"), "source");
  EXPECT_THROW(MoveFile(dir / "a.em", dir / "d.em"), fs::filesystem_error);
  EXPECT_FALSE(FileExists(dir / "d.em"));
}

TEST(FileSystemTest, CopyReplacesTheTargetAndDeleteRemovesOnlyFiles) {
  TempDir dir;
  WriteFile(dir / "a.em", std::string(200000, 'x') + "end");
  WriteFile(dir / "b.em", "old");
  CopyFileReplace(dir / "a.em", dir / "b.em");
  EXPECT_EQ(ReadFile(dir / "b.em"), ReadFile(dir / "a.em"));
  EXPECT_THROW(CopyFileReplace(dir / "missing", dir / "b.em"), fs::filesystem_error);
  EXPECT_EQ(ReadFile(dir / "b.em").size(), 200003u);
  DeleteFile(dir / "b.em");
  EXPECT_FALSE(FileExists(dir / "b.em"));
  EXPECT_THROW(DeleteFile(dir / "b.em"), fs::filesystem_error);
  fs::create_directories(dir / "folder");
  EXPECT_THROW(DeleteFile(dir / "folder"), fs::filesystem_error);
  EXPECT_TRUE(FolderExists(dir / "folder"));
  EXPECT_EQ(ListFiles(dir.path()), std::vector<std::string>{"a.em"});
}

TEST(FileSystemTest, FailedReplacementKeepsTheOldFileWhole) {
  TempDir dir;
  WriteFile(dir / "a.em", "precious");
  // A read-only folder refuses the temporary file (root may still write it,
  // in which case the replacement simply succeeds).
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
  bool replaced = true;
  try {
    WriteFileAtomically(dir / "a.em", "replacement");
  } catch (const fs::filesystem_error&) {
    replaced = false;
  }
  fs::permissions(dir.path(), fs::perms::owner_all);
  EXPECT_EQ(ReadFile(dir / "a.em"), replaced ? "replacement" : "precious");
  EXPECT_EQ(ListFiles(dir.path()), std::vector<std::string>{"a.em"});
}

TEST(FileSystemTest, AReplacementKeepsPermissionsAndLinksAndClearsWhatDeadWritersLeft) {
  TempDir dir;
  fs::create_directories(dir / "real");
  WriteFile(dir / "private.xml", "old");
  fs::permissions(dir / "private.xml", fs::perms::owner_read | fs::perms::owner_write);
  WriteFile(dir / "real" / "doc.xml", "old");
  fs::create_symlink("real/doc.xml", dir / "linked.xml");
  // Left by writers that were killed: a process that is gone (no process
  // has an id this large), and this one, which still runs.
  const std::string dead = "private.xml.veldrane-2147483646-0.tmp";
  const std::string alive = "private.xml.veldrane-" + std::to_string(::getpid()) + "-7.tmp";
  WriteFile(dir / dead, "half");
  WriteFile(dir / alive, "busy");

  WriteFileAtomically(dir / "private.xml", "new");
  WriteFileAtomically(dir / "linked.xml", "new");
  EXPECT_EQ(ReadFile(dir / "private.xml"), "new");
  EXPECT_EQ(fs::status(dir / "private.xml").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(fs::is_symlink(dir / "linked.xml"));
  EXPECT_EQ(ReadFile(dir / "real" / "doc.xml"), "new");
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"linked.xml", "private.xml", alive, "real"}));
}

// FIFOs, which once made every reader wait for a writer, are tried end to
// end by tests/scripts/cli_odd_files.sh under a time limit.
TEST(FileSystemTest, OnlyRegularFilesAreOpenedForReadingWithTheSystemsReasonOtherwise) {
  TempDir dir;
  WriteFile(dir / "a.em", "x");
  fs::create_symlink("loop.em", dir / "loop.em");
  const std::pair<std::string, std::string> cases[] = {
      {"a.em", ""},
      {".", "not a regular file"},
      {"loop.em", "Too many levels of symbolic links"},
      {"missing.em", "No such file or directory"},
      {std::string(300, 'x') + ".em", "File name too long"}};
  for (const auto& [name, why] : cases) EXPECT_EQ(RegularFileProblem(dir / name), why) << name;
}

TEST(FileSystemTest, PathPartsComeFromThePathText) {
  const fs::path p = fs::path("/data") / "job 12" / "a.em.xml";
  EXPECT_EQ(FileName(p), "a.em.xml");
  EXPECT_EQ(BaseName(p), "a.em");
  EXPECT_EQ(Extension(p), "xml");
  EXPECT_EQ(Extension("/data/README"), "");
  EXPECT_EQ(BaseName("/data/README"), "README");
}

// ---------------------------------------------------------------------------
// Survey file utilities

TEST(SurveyFileUtilsTest, MetadataFileCountsOnlyWhileItsSurveyFileExists) {
  TempDir dir;
  WriteFile(dir / "a.em", "x");
  WriteFile(dir / "a.em.XML", "<m/>");
  WriteFile(dir / "b.em.xm", "<m/>");
  EXPECT_TRUE(IsValidSurveyMetadataFile((dir / "a.em.XML").string()));
  EXPECT_FALSE(IsValidSurveyMetadataFile((dir / "b.em.xm").string()));
  EXPECT_FALSE(IsValidSurveyMetadataFile((dir / "c.em.xml").string()));
  EXPECT_FALSE(IsValidSurveyMetadataFile(".xml"));
  fs::remove(dir / "a.em");
  EXPECT_FALSE(IsValidSurveyMetadataFile((dir / "a.em.XML").string()));
}

// Module state belongs to the context installed on the thread at work (a
// dataset's, on whatever thread reads it), else to the thread's own.
TEST(ModuleContextTest, ProceduresWorkForTheContextInstalledOnTheirThread) {
  SetCurrentSurveyFile("/a/main.em");
  ModuleContext dataset;
  std::string seenByThread = "unset";
  std::thread([&] {
    seenByThread = CurrentSurveyFile();
    ModuleContextScope scope(dataset);
    SetCurrentSurveyFile("/a/worker.em");
    ErrorLog().PullError(GenericSurveyError("/a/worker.em", 3, "Late", 1));
    SetLibraryFolderForTesting(fs::path("/nowhere"));
  }).join();
  EXPECT_EQ(seenByThread, "");
  EXPECT_EQ(CurrentSurveyFile(), "/a/main.em");
  EXPECT_EQ(ErrorLog().FindFile("/a/worker.em"), nullptr);
  EXPECT_EQ(dataset.CurrentSurveyFile(), "/a/worker.em");
  EXPECT_EQ(dataset.ErrorLog().ErrorCount(), 1u);
  {
    ModuleContextScope outer(dataset);
    ModuleContext inner;
    {
      ModuleContextScope nested(inner);
      EXPECT_EQ(&CurrentModuleContext(), &inner);
    }
    EXPECT_EQ(&CurrentModuleContext(), &dataset);
    EXPECT_EQ(LibraryFolder(), fs::path("/nowhere"));
  }
  EXPECT_NE(LibraryFolder(), fs::path("/nowhere"));
  // A derived context keeps the configuration, not the log or the file.
  const auto derived = dataset.Derive();
  EXPECT_EQ(derived->SettingsPaths().libraryFolderOverride, fs::path("/nowhere"));
  EXPECT_EQ(derived->ErrorLog().ErrorCount(), 0u);
  EXPECT_EQ(derived->CurrentSurveyFile(), "");
  SetCurrentSurveyFile("");
}

TEST(SurveyFileUtilsTest, OpeningAFileAgainReplacesItsEntriesInTheErrorLog) {
  TempDir dir;
  const auto path = (dir / "a.em").string();
  ErrorLog().Clear();
  ErrorLog().PullError(GenericSurveyError("/other.em", 1, "Kept", 1));
  WriteFile(path, "#H00 EM09\n#H02 3/32/2011\n#H02 13/01/2011\n");
  auto survey = GetSurveyFile(path);
  ASSERT_NE(survey, nullptr);
  EXPECT_EQ(CurrentSurveyFile(), path);
  const auto* listed = ErrorLog().FindFile(path);
  ASSERT_NE(listed, nullptr);
  EXPECT_EQ(listed->errors.size(), 2u);      // what each says is the EM reader's (EMReadTest)
  EXPECT_TRUE(survey->Errors()->IsEmpty());  // moved into the log

  // The corrected file: its earlier complaints disappear, others stay.
  WriteFile(path, "#H00 EM09\n#H02 3/30/2011\n");
  GetSurveyFile(path);
  listed = ErrorLog().FindFile(path);
  EXPECT_TRUE(listed == nullptr || listed->errors.empty()) << listed->errors.front().text;
  EXPECT_NE(ErrorLog().FindFile("/other.em"), nullptr);
  ErrorLog().Clear();
  SetCurrentSurveyFile("");
}

TEST(SurveyFileUtilsTest, FactoryFailuresReachSurveyCallersButTraverseFailuresAreReported) {
  TempDir dir;
  WriteFile(dir / "a.txt", "x");
  EXPECT_THROW(GetSurveyFile((dir / "a.txt").string()), RaisedError);
  EXPECT_EQ(CurrentSurveyFile(), (dir / "a.txt").string());
  CapturingNotifier notes;
  ScopedNotifier scope(&notes);
  EXPECT_EQ(GetTraverseFile((dir / "a.txt").string()), nullptr);
  ASSERT_EQ(notes.texts.size(), 1u);
  EXPECT_NE(notes.texts[0].find("GetTraverseFile"), std::string::npos) << notes.texts[0];
  SetCurrentSurveyFile("");
}

// ---------------------------------------------------------------------------
// Error log model

std::shared_ptr<GenericSurveyError> Err(const std::string& file, int line, const std::string& text, int severity = 1) {
  return std::make_shared<GenericSurveyError>(file, line, text, severity);
}

// Grouping by file, the node texts and keys, and a queue pulled a second
// time are pinned with the window over the log (ErrorLogWindowTest); here
// what it does not show: the key leaves the severity out, a queue's own
// repeats count once, and a removed file's errors are new again.
TEST(ErrorLogTest, AnErrorIsListedOnceUntilItsFileIsRemoved) {
  ErrorLogModel log;
  EXPECT_TRUE(log.PullError(*Err("/s/b.em", 12, "Bad record", 1)));
  EXPECT_FALSE(log.PullError(*Err("/s/b.em", 12, "Bad record", 2)));  // same key, other severity
  EXPECT_TRUE(log.PullError(*Err("/s/b.em", 12, "Bad record!", 1)));
  GenericSurveyErrorQueue queue;
  queue.Push(Err("/s/a.em", 1, "One"));
  queue.Push(Err("/s/a.em", 2, "Two"));
  queue.Push(Err("/s/a.em", 1, "One"));
  EXPECT_TRUE(log.PullErrors(queue));
  EXPECT_TRUE(queue.IsEmpty());
  ASSERT_EQ(log.Files().size(), 2u);
  EXPECT_EQ(log.Files()[0].errors[0].severity, 1);
  EXPECT_EQ(log.ErrorCount(), 4u);
  log.RemoveSurveyFileFromErrorTreeGUI("/s/b.em");
  EXPECT_EQ(log.FindFile("/s/b.em"), nullptr);
  EXPECT_EQ(log.ErrorCount(), 2u);
  EXPECT_TRUE(log.PullError(*Err("/s/b.em", 12, "Bad record")));
  EXPECT_EQ(log.Files().back().path, "/s/b.em");
}

TEST(ErrorLogTest, ListenersSeeEveryChangeAndMayLeaveOrFailWhileBeingCalled) {
  ErrorLogModel log;
  std::vector<std::string> events;
  int selfRemoving = 0;
  int id = 0;
  log.Subscribe([](const ErrorLogEvent&) { throw std::runtime_error("observer failure"); });
  id = log.Subscribe([&](const ErrorLogEvent&) {
    ++selfRemoving;
    log.Unsubscribe(id);
  });
  const int recorder = log.Subscribe([&](const ErrorLogEvent& e) {
    switch (e.kind) {
      case ErrorLogEventKind::FileAdded: events.push_back("file " + e.file); break;
      case ErrorLogEventKind::ErrorAdded: events.push_back("error " + e.entry->text); break;
      case ErrorLogEventKind::FileRemoved: events.push_back("removed " + e.file); break;
      case ErrorLogEventKind::ShowRequested: events.push_back("show"); break;
      case ErrorLogEventKind::Cleared: events.push_back("cleared"); break;
    }
  });
  GenericSurveyErrorQueue q;
  q.Push(Err("/s/a.em", 4, "Four"));
  log.PullErrors(q);
  log.RemoveSurveyFileFromErrorTreeGUI("/s/a.em");
  log.Unsubscribe(recorder);
  log.PullError(*Err("/s/a.em", 5, "Five"));
  EXPECT_EQ(events, (std::vector<std::string>{"file /s/a.em", "error (Line : 4) Four", "show", "removed /s/a.em"}));
  EXPECT_EQ(selfRemoving, 1);
  EXPECT_EQ(log.ErrorCount(), 1u);
}

}  // namespace
}  // namespace veldrane
