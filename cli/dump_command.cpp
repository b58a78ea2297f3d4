#include "cli/dump_command.h"

#include <exception>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/survey_file.h"
#include "cli/survey_json.h"

namespace veldrane::cli {
namespace {

class DumpCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override {
    auto* sub = app.add_subcommand("dump", "Print everything read from one survey file as JSON");
    sub->footer(
        "Prints one JSON object: {\"file\", \"kind\": \"survey\" or \"traverse\", \"survey\" or\n"
        "\"traverse\": every member of the model in order, \"errors\": the error records}.\n"
        "Absent values keep their markers (0.0001 for numbers, 2000-12-31T00:00:00 for\n"
        "dates, 9999999 for point ids).\n"
        "Exit status: 0 when the file could be read, 2 otherwise.\n");
    sub->add_option("file", file_, "Survey file (.em .cl .830 .pro .27 .83 .bl)")->required();
    sub->add_flag("--compact", compact_, "Print the JSON on one line");
    return sub;
  }

  int Run(std::ostream& out, std::ostream& err) override {
    const auto opened = OpenForReading(file_);
    if (!opened.object) {
      err << "veldrane dump: " << DescribeProblem(file_, opened.problem) << '\n';
      return kExitUnreadable;
    }
    std::string text;
    try {
      const auto document = SurveyFileToJson(file_, opened.object);
      text = document.dump(compact_ ? -1 : 2, ' ', false, nlohmann::json::error_handler_t::replace);
    } catch (const std::exception& e) {
      err << "veldrane dump: " << DescribeProblem(file_, e.what()) << '\n';
      return kExitUnreadable;
    }
    out << text << '\n';
    return kExitOk;
  }

 private:
  std::string file_;
  bool compact_ = false;
};

}  // namespace

std::unique_ptr<Command> MakeDumpCommand() { return std::make_unique<DumpCommand>(); }

}  // namespace veldrane::cli
