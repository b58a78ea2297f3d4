#include "cli/check_command.h"

#include <set>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/error_format.h"
#include "config/error_log.h"
#include "cli/survey_file.h"
#include "cli/survey_json.h"
#include "model/text.h"

namespace veldrane::cli {
namespace {

// Counts and prints (or collects, for --json) the records of one file.
class CheckReport {
 public:
  CheckReport(bool json, std::ostream& out) : json_(json), out_(out), records_(OrderedJson::array()) {}

  void AddFile(const std::string& path, ISurveyErrorQueue& queue) {
    ++files_;
    // A record met again (the same problem found when the file was read and
    // again when a member was computed) is listed once, as in the error log.
    std::set<std::string> listed;
    while (!queue.IsEmpty()) {
      const auto error = queue.Pop();
      if (!error) continue;
      const std::string line = FormatErrorLine(error->Filename().empty() ? path : error->Filename(),
                                               error->LineNumber(), error->severity(), error->Description());
      if (!listed.insert(line).second) continue;
      if (error->severity() >= 1) ++errors_;
      else ++warnings_;
      if (json_) {
        auto record = ErrorToJson(*error);
        if (error->Filename().empty()) record["Filename"] = ToValidUtf8(path);
        records_.push_back(std::move(record));
      } else {
        out_ << line << '\n';
      }
    }
  }

  void AddUnreadable() { ++unreadable_; }

  void Finish() {
    if (json_) out_ << records_.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    else out_ << FormatCheckSummary(files_, errors_, warnings_, unreadable_) << '\n';
  }

  int ExitStatus() const {
    if (unreadable_ > 0) return kExitUnreadable;
    return errors_ > 0 ? kExitDataErrors : kExitOk;
  }

 private:
  bool json_;
  std::ostream& out_;
  OrderedJson records_;
  int files_ = 0;
  int errors_ = 0;
  int warnings_ = 0;
  int unreadable_ = 0;
};

// Keeps the report and the messages about unreadable paths in reading
// order when both go to the same terminal. `message` is DescribeProblem's.
void Unreadable(CheckReport& report, std::ostream& out, std::ostream& err, const std::string& message) {
  out.flush();
  err << "veldrane check: " << message << '\n';
  report.AddUnreadable();
}

class CheckCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override {
    auto* sub = app.add_subcommand("check", "Read survey files and list every problem found in them");
    sub->footer(
        "Each problem is printed as FILE:LINE: SEVERITY: DESCRIPTION (severity warning,\n"
        "error or fatal), followed by a summary line.\n"
        "Exit status: 0 no errors (warnings allowed), 1 some file has errors,\n"
        "2 a path could not be read at all.\n");
    sub->add_option("paths", paths_, "Survey files (.em .cl .830 .pro .27 .83 .bl) or folders of them")
        ->required();
    sub->add_flag("--json", json_, "Print one JSON array of error records instead of text");
    return sub;
  }

  int Run(std::ostream& out, std::ostream& err) override {
    CheckReport report(json_, out);
    std::vector<std::string> problems;
    const auto files = ExpandSurveyPaths(paths_, problems);
    for (const auto& problem : problems) Unreadable(report, out, err, problem);
    for (const auto& file : files) {
      const auto opened = OpenForReading(file);
      const auto queue = ErrorQueueOf(opened.object);
      if (!opened.object || !queue) {
        Unreadable(report, out, err, DescribeProblem(file, opened.problem));
        continue;
      }
      ComputeDerivedMembers(*opened.object);
      report.AddFile(file, *queue);
    }
    report.Finish();
    return report.ExitStatus();
  }

 private:
  std::vector<std::string> paths_;
  bool json_ = false;
};

}  // namespace

std::unique_ptr<Command> MakeCheckCommand() { return std::make_unique<CheckCommand>(); }

}  // namespace veldrane::cli
