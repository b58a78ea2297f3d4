// `veldrane export PATH -o OUT [-f FORMAT]`: copies every feature class of a
// folder of survey files (or of one survey file) into any vector format GDAL
// writes, GeoPackage by default, through the OGR driver. A progress bar goes
// to standard error; the summary, with the problems found in the files, to
// standard output.
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/survey_file.h"
#include "model/text.h"

#if VELDRANE_WITH_GDAL
#include <ostream>

#include "gdal/survey_export.h"
#include "gdal/survey_report.h"
#endif

namespace veldrane::cli {
namespace {

#if VELDRANE_WITH_GDAL

class ExportCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override {
    auto* sub = app.add_subcommand("export", "Copy survey files into a GIS format (GeoPackage by default)");
    sub->footer(
        "Every feature class becomes one layer of OUT, named like the class (\"levee.em\n"
        "CrossSections\"). FORMAT is a GDAL vector driver name: GPKG, \"ESRI Shapefile\",\n"
        "FlatGeobuf, GML, ... OUT is written beside its final place and moved there only\n"
        "when complete. --overwrite replaces an existing OUT file, or in an existing OUT\n"
        "folder the files of the layers written (other files stay); never the input.\n"
        "A database (-f PostgreSQL -o \"PG:dbname=... host=...\") gets one table per\n"
        "class, all in one transaction; tables of the export already there make it fail\n"
        "before anything is written, unless --overwrite (which replaces just those).\n"
        "Exit status: 0 when OUT was written, 1 when it was written without some survey\n"
        "files that could not be read (each is named), 2 when nothing was written.");
    sub->add_option("path", path_, "A folder of survey files, or one survey file")->required();
    sub->add_option("-o,--output", output_, "The file (or folder, for some formats, or database) to write")
        ->required();
    sub->add_option("-f,--format", format_, "GDAL vector format name")->default_val("GPKG");
    sub->add_flag("--overwrite", overwrite_, "Replace OUT when it exists");
    sub->add_flag("--with-errors", withErrors_, "Also write the problems found as a table \"Errors\"");
    sub->add_flag("-q,--quiet", quiet_, "No progress bar");
    return sub;
  }

  int Run(std::ostream& out, std::ostream& err) override {
    const int readable = ReportUnreadable("export", path_, err);
    if (readable == kExitUnreadable) return kExitUnreadable;
    ogr::RegisterDriversForTools();
    ogr::OpenedSurveys opened = ogr::OpenSurveys(path_);
    for (const std::string& message : opened.messages) err << "veldrane export: " << ToValidUtf8(message) << '\n';
    if (!opened.dataset) {
      err << "veldrane export: " << ShownName(path_) << ": not a survey file or a folder of survey files\n";
      return kExitUnreadable;
    }
    const std::size_t files = ogr::SurveyFileNames(*opened.dataset).size();

    ogr::StderrProgressState progress;
    ogr::ExportRequest request;
    request.output = output_;
    request.format = format_;
    request.overwrite = overwrite_;
    request.includeErrors = withErrors_;
    if (!quiet_) {
      request.progress = ogr::StderrProgress;
      request.progressData = &progress;
    }
    err.flush();
    ogr::ExportResult result;
    {
      // Problems found while the layers are read are counted below rather
      // than shown as raw GDAL warnings through the progress bar.
      ogr::ProblemRecordFilter records(*opened.dataset);
      result = ogr::ExportSurveys(*opened.dataset, request);
    }
    ogr::RecountProblems(*opened.dataset, opened.problems);
    if (!result.ok) {
      err << "veldrane export: " << ToValidUtf8(result.problem) << '\n';
      return kExitUnreadable;
    }
    out << "exported " << result.layers << (result.layers == 1 ? " layer, " : " layers, ") << result.features
        << (result.features == 1 ? " feature" : " features") << " from " << files
        << (files == 1 ? " survey file" : " survey files") << " to " << ShownOutput() << " (" << format_ << ")\n";
    out << "problems: " << ogr::FormatProblemSummary(opened.problems);
    if (opened.problems.total.Total() > 0) out << "; 'veldrane check " << ShownName(path_) << "' lists them";
    out << '\n';
    return readable;
  }

 private:
  std::string ShownOutput() const {
    return ogr::IsDatabaseTarget(format_, output_) ? ToValidUtf8(ogr::WithoutPassword(output_)) : ShownName(output_);
  }

  std::string path_;
  std::string output_;
  std::string format_ = "GPKG";
  bool overwrite_ = false;
  bool withErrors_ = false;
  bool quiet_ = false;
};

#else

class ExportCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override {
    auto* sub = app.add_subcommand("export", "Copy survey files into a GIS format (needs GDAL)");
    sub->add_option("path", path_, "A folder of survey files, or one survey file")->required();
    sub->add_option("-o,--output", output_, "The file to write")->required();
    sub->add_option("-f,--format", format_, "GDAL vector format name");
    return sub;
  }
  int Run(std::ostream&, std::ostream& err) override {
    err << "veldrane export: this build of veldrane has no GDAL support\n";
    return kExitUnreadable;
  }

 private:
  std::string path_;
  std::string output_;
  std::string format_;
};

#endif

}  // namespace

std::unique_ptr<Command> MakeExportCommand() { return std::make_unique<ExportCommand>(); }

}  // namespace veldrane::cli
