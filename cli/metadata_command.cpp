// `veldrane metadata FILE`: the metadata document of one survey file, that
// is, the document stored beside it (FILE.xml, or a new one) filled from the
// file's own values. Printed, or with --write saved back as FILE.xml.
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/survey_file.h"
#include "model/text.h"

#if defined(VELDRANE_WITH_GDAL)
#include "config/error_log.h"
#include "config/file_system.h"
#include "config/metadata_writer.h"
#include "host/pugi_xml_property_set.h"
#include "model/notifier.h"
#endif

namespace veldrane::cli {
namespace {

#if defined(VELDRANE_WITH_GDAL)
// Keeps what the writers report instead of letting it reach the terminal
// unannounced, so the command can fail with it.
class CollectingNotifier : public INotifier {
 public:
  void Notify(NoticeKind, const std::string&, const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

// Line breaks of a call-stack report become blanks: one message, one line.
std::string OneLine(const std::string& text) {
  std::string line;
  for (const char c : TrimBlanks(text)) {
    const bool brk = c == '\r' || c == '\n' || c == '\t';
    if (!brk) line.push_back(c);
    else if (!line.empty() && line.back() != ' ') line.push_back(' ');
  }
  return ToValidUtf8(line);
}
#endif

class MetadataCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override {
    auto* sub = app.add_subcommand("metadata", "Print (or save) the metadata XML of one survey file");
    sub->footer(
        "Loads FILE.xml when it exists (else starts an empty document), writes the\n"
        "survey's own header values, benchmarks, gages, equipment, crew and weather\n"
        "into it, and prints the document. With --write the document is saved as\n"
        "FILE.xml instead; a read-only FILE.xml, or one that cannot be loaded, is\n"
        "never replaced.\n"
        "Exit status: 0 when the document was printed or saved, 2 otherwise.");
    sub->add_option("file", file_, "Survey file (.em .cl .830 .pro .27 .83 .bl)")->required();
    sub->add_flag("--write", write_, "Save the document as FILE.xml instead of printing it");
    return sub;
  }

  int Run(std::ostream& out, std::ostream& err) override {
    try {
      return Produce(out, err);
    } catch (const std::exception& e) {
      return Fail(err, file_, e.what());
    }
  }

 private:
  int Produce(std::ostream& out, std::ostream& err) {
#if defined(VELDRANE_WITH_GDAL)
    const auto opened = OpenForReading(file_);
    if (!opened.object) return Fail(err, file_, opened.problem);

    const std::filesystem::path stored = MetadataPathFor(file_);
    GenericSurveyErrorQueue problems;
    const auto document = LoadMetadataFor(file_, &problems);
    const bool storedUnusable = !problems.IsEmpty();
    while (!problems.IsEmpty()) {
      const auto problem = problems.Pop();
      err << "veldrane metadata: "
          << FormatErrorLine(problem->Filename().empty() ? stored.string() : problem->Filename(), problem->LineNumber(),
                             problem->severity(), problem->Description())
          << '\n';
    }

    CollectingNotifier reports;
    {
      ScopedNotifier capture(&reports);
      if (!SetMetadataValuesFrom(*document, *opened.object)) return Fail(err, file_, "neither a survey nor a traverse");
    }
    if (!reports.texts.empty()) return Fail(err, file_, OneLine(reports.texts.front()));

    if (!write_) {
      out << document->GetXml();
      return kExitOk;
    }
    const std::string target = stored.string();
    if (storedUnusable) return Fail(err, target, "not replaced, since it could not be loaded");
    if (FileExists(stored) && IsArchiveAttributeSet(stored)) return Fail(err, target, "read-only, not replaced");
    if (const auto failure = document->SaveAsFile(stored)) return Fail(err, target, failure->Description());
    return kExitOk;
#else
    (void)out;
    return Fail(err, file_, "this build has no XML support (built without the GDAL host layer)");
#endif
  }

  static int Fail(std::ostream& err, const std::string& path, const std::string& why) {
    err << "veldrane metadata: " << DescribeProblem(path, why) << '\n';
    return kExitUnreadable;
  }

  std::string file_;
  bool write_ = false;
};

}  // namespace

std::unique_ptr<Command> MakeMetadataCommand() { return std::make_unique<MetadataCommand>(); }

}  // namespace veldrane::cli
