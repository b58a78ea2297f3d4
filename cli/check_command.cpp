#include "cli/check_command.h"

#include <cstdint>
#include <exception>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/error_format.h"
#include "cli/json_writer.h"
#include "cli/ordered_work.h"
#include "cli/survey_file.h"
#include "cli/survey_json.h"
#include "config/error_log.h"
#include "model/notifier.h"

namespace veldrane::cli {
namespace {

struct Notice {
  NoticeKind kind;
  std::string title;
  std::string text;
};

// Keeps what reading a file tells a person, to be told on the main thread in
// file order.
class NoticeRecorder : public INotifier {
 public:
  explicit NoticeRecorder(std::vector<Notice>& notices) : notices_(notices) {}
  void Notify(NoticeKind kind, const std::string& title, const std::string& text) override {
    notices_.push_back({kind, title, text});
  }

 private:
  std::vector<Notice>& notices_;
};

// One problem of a file, as listed: the record's file name (the checked path
// when the record names none) and its printed line.
struct CheckRecord {
  std::string filename;
  std::int32_t line;
  std::string description;
  std::int32_t severity;
  std::string text;
};

// What reading one file gave.
struct FileCheck {
  std::vector<Notice> notices;
  // Why the file could not be read; empty when it was.
  std::string problem;
  std::vector<CheckRecord> records;
};

// Reads one file and takes its records off the queue. A record met again
// (the same problem found when the file was read and again when a member was
// computed) is listed once, as in the error log.
void ReadRecords(const std::string& path, FileCheck& result) {
  const auto opened = OpenForReading(path);
  const auto queue = ErrorQueueOf(opened.object);
  if (!opened.object || !queue) {
    result.problem = DescribeProblem(path, opened.problem);
    return;
  }
  ComputeDerivedMembers(*opened.object);
  std::set<std::string> listed;
  while (!queue->IsEmpty()) {
    const auto error = queue->Pop();
    if (!error) continue;
    const std::string filename = error->Filename().empty() ? path : error->Filename();
    std::string text = FormatErrorLine(filename, error->LineNumber(), error->severity(), error->Description());
    if (!listed.insert(text).second) continue;
    result.records.push_back({filename, error->LineNumber(), error->Description(), error->severity(), std::move(text)});
  }
}

FileCheck CheckFile(const std::string& path) {
  FileCheck result;
  NoticeRecorder recorder(result.notices);
  ScopedNotifier notifier(&recorder);
  try {
    ReadRecords(path, result);
  } catch (const std::exception& e) {
    result.records.clear();
    result.problem = DescribeProblem(path, std::string("reading failed: ") + e.what());
  }
  return result;
}

// Counts and prints (or collects, for --json) the records of each file.
class CheckReport {
 public:
  CheckReport(bool json, std::ostream& out, std::ostream& err)
      : json_(json), out_(out), err_(err), records_(collected_, true) {
    if (json_) records_.BeginArray();
  }

  void Add(const FileCheck& file) {
    for (const auto& notice : file.notices) CurrentNotifier().Notify(notice.kind, notice.title, notice.text);
    if (!file.problem.empty()) return AddUnreadable(file.problem);
    ++files_;
    for (const auto& record : file.records) {
      if (record.severity >= 1) ++errors_;
      else ++warnings_;
      if (json_) WriteErrorRecord(records_, record.filename, record.line, record.description, record.severity);
      else out_ << record.text << '\n';
    }
  }

  // Keeps the report and the messages about unreadable paths in reading
  // order when both go to the same terminal. `message` is DescribeProblem's.
  void AddUnreadable(const std::string& message) {
    out_.flush();
    err_ << "veldrane check: " << message << '\n';
    ++unreadable_;
  }

  void Finish() {
    if (json_) {
      records_.EndArray();
      records_.Flush();
      out_ << collected_.str() << '\n';
    } else {
      out_ << FormatCheckSummary(files_, errors_, warnings_, unreadable_) << '\n';
    }
  }

  int ExitStatus() const {
    if (unreadable_ > 0) return kExitUnreadable;
    return errors_ > 0 ? kExitDataErrors : kExitOk;
  }

 private:
  bool json_;
  std::ostream& out_;
  std::ostream& err_;
  std::ostringstream collected_;
  JsonWriter records_;
  int files_ = 0;
  int errors_ = 0;
  int warnings_ = 0;
  int unreadable_ = 0;
};

unsigned AllCores() { return std::max(1u, std::thread::hardware_concurrency()); }

class CheckCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override {
    auto* sub = app.add_subcommand("check", "Read survey files and list every problem found in them");
    sub->footer(
        "Each problem is printed as FILE:LINE: SEVERITY: DESCRIPTION (severity warning,\n"
        "error or fatal), followed by a summary line. Files are read on several cores\n"
        "at once; the output is in file order all the same.\n"
        "Exit status: 0 no errors (warnings allowed), 1 some file has errors,\n"
        "2 a path could not be read at all.\n");
    sub->add_option("paths", paths_, "Survey files (.em .cl .830 .pro .27 .83 .bl) or folders of them")
        ->required();
    sub->add_flag("--json", json_, "Print one JSON array of error records instead of text");
    sub->add_option("-j,--jobs", jobs_, "Files read at once (default: one per core)")
        ->check(CLI::PositiveNumber);
    return sub;
  }

  int Run(std::ostream& out, std::ostream& err) override {
    CheckReport report(json_, out, err);
    std::vector<std::string> problems;
    const auto files = ExpandSurveyPaths(paths_, problems);
    for (const auto& problem : problems) report.AddUnreadable(problem);
    ForEachInOrder<FileCheck>(
        files.size(), jobs_, [&](std::size_t i) { return CheckFile(files[i]); },
        [&](const FileCheck& file) { report.Add(file); });
    report.Finish();
    return report.ExitStatus();
  }

 private:
  std::vector<std::string> paths_;
  bool json_ = false;
  unsigned jobs_ = AllCores();
};

}  // namespace

std::unique_ptr<Command> MakeCheckCommand() { return std::make_unique<CheckCommand>(); }

}  // namespace veldrane::cli
