#include "cli/dump_command.h"

#include <exception>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/json_writer.h"
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
    // The JSON is written while the model is walked; a failure part way
    // (the file stops being readable) leaves what was written and the message.
    try {
      JsonWriter writer(out, !compact_);
      WriteSurveyFile(writer, file_, opened.object);
    } catch (const std::exception& e) {
      out.flush();
      err << "veldrane dump: " << DescribeProblem(file_, e.what()) << '\n';
      return kExitUnreadable;
    }
    out << '\n';
    return kExitOk;
  }

 private:
  std::string file_;
  bool compact_ = false;
};

}  // namespace

std::unique_ptr<Command> MakeDumpCommand() { return std::make_unique<DumpCommand>(); }

}  // namespace veldrane::cli
