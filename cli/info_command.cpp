// `veldrane info PATH`: what a folder of survey files (or one survey file)
// offers as GIS data, read through the OGR driver exactly as any GDAL client
// sees it: the survey files, their feature classes with geometry type and
// feature count, extent, coordinate system, and the problems found.
#include <map>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "model/text.h"

#if VELDRANE_WITH_GDAL
#include <algorithm>
#include <ostream>
#include <vector>

#include <ogrsf_frmts.h>

#include "gdal/ogr_veldrane.h"
#include "gdal/survey_report.h"
#endif

namespace veldrane::cli {
namespace {

#if VELDRANE_WITH_GDAL

// The classes of one survey file.
std::vector<OGRLayer*> LayersOf(GDALDataset& dataset, const std::string& file) {
  std::vector<OGRLayer*> layers;
  for (OGRLayer* layer : ogr::SurveyLayers(dataset)) {
    const char* owner = layer->GetMetadataItem(ogr::kSurveyFileItem);
    if (owner != nullptr && file == owner) layers.push_back(layer);
  }
  return layers;
}

std::string ExtentText(OGRLayer& layer) {
  OGREnvelope extent;
  if (layer.GetExtent(&extent, TRUE) != OGRERR_NONE) return "none";
  return ogr::FormatCoordinate(extent.MinX) + ", " + ogr::FormatCoordinate(extent.MinY) + " .. " +
         ogr::FormatCoordinate(extent.MaxX) + ", " + ogr::FormatCoordinate(extent.MaxY);
}

// Feature counts of every layer, taken before anything is printed: reading
// the layers may find problems (counted in the summary, not shown as raw
// GDAL warnings).
std::map<OGRLayer*, GIntBig> CountFeatures(GDALDataset& dataset) {
  std::map<OGRLayer*, GIntBig> counts;
  ogr::ProblemRecordFilter records(dataset);
  for (OGRLayer* layer : ogr::SurveyLayers(dataset)) counts[layer] = layer->GetFeatureCount(TRUE);
  return counts;
}

void PrintSurveyFile(GDALDataset& dataset, const std::string& file, const ogr::SurveyProblems& problems,
                     const std::map<OGRLayer*, GIntBig>& featureCounts, std::ostream& out) {
  const std::vector<OGRLayer*> layers = LayersOf(dataset, file);
  out << '\n' << ToValidUtf8(file) << '\n';
  const auto counts = problems.byFile.find(file);
  const std::string problemText =
      ogr::FormatProblemCounts(counts != problems.byFile.end() ? counts->second : ogr::ProblemCounts{});
  if (layers.empty()) {
    out << "  no feature classes\n";
    out << "  problems: " << problemText << '\n';
    return;
  }
  out << "  coordinate system: " << ogr::CoordinateSystemText(layers.front()->GetSpatialRef()) << '\n';
  out << "  extent: " << ExtentText(*layers.front()) << '\n';
  out << "  problems: " << problemText << '\n';
  std::size_t nameWidth = 0, typeWidth = 0;
  for (OGRLayer* layer : layers) {
    nameWidth = std::max(nameWidth, std::string(layer->GetName()).size());
    typeWidth = std::max(typeWidth, ogr::GeometryTypeText(layer->GetGeomType()).size());
  }
  for (OGRLayer* layer : layers) {
    const std::string name = layer->GetName();
    const std::string type = ogr::GeometryTypeText(layer->GetGeomType());
    const auto known = featureCounts.find(layer);
    const GIntBig count = known != featureCounts.end() ? known->second : layer->GetFeatureCount(TRUE);
    out << "  " << ToValidUtf8(name) << std::string(nameWidth - name.size() + 2, ' ') << type
        << std::string(typeWidth - type.size() + 2, ' ') << count << (count == 1 ? " feature" : " features")
        << '\n';
  }
}

class InfoCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override {
    auto* sub = app.add_subcommand("info", "Describe survey files as GIS layers (through the OGR driver)");
    sub->footer(
        "Lists every survey file of PATH with its coordinate system, extent, the number\n"
        "of problems found in it and its feature classes (layer name, geometry type,\n"
        "feature count), then the problems of all files together.\n"
        "Exit status: 0 when PATH could be opened, 2 otherwise.");
    sub->add_option("path", path_, "A folder of survey files, or one survey file")->required();
    return sub;
  }

  int Run(std::ostream& out, std::ostream& err) override {
    ogr::RegisterDriversForTools();
    ogr::OpenedSurveys opened = ogr::OpenSurveys(path_);
    for (const std::string& message : opened.messages) err << "veldrane info: " << ToValidUtf8(message) << '\n';
    if (!opened.dataset) {
      err << "veldrane info: " << ToValidUtf8(path_) << ": not a survey file or a folder of survey files\n";
      return kExitUnreadable;
    }
    GDALDataset& dataset = *opened.dataset;
    const std::vector<std::string> files = ogr::SurveyFileNames(dataset);
    const std::size_t layerCount = ogr::SurveyLayers(dataset).size();
    out << ToValidUtf8(path_) << ": " << files.size() << (files.size() == 1 ? " survey file, " : " survey files, ")
        << layerCount << (layerCount == 1 ? " feature class" : " feature classes") << '\n';
    const std::map<OGRLayer*, GIntBig> featureCounts = CountFeatures(dataset);
    ogr::RecountProblems(dataset, opened.problems);
    for (const std::string& file : files) PrintSurveyFile(dataset, file, opened.problems, featureCounts, out);
    out << "\nproblems: " << ogr::FormatProblemSummary(opened.problems);
    if (opened.problems.total.Total() > 0) out << "; 'veldrane check " << ToValidUtf8(path_) << "' lists them";
    out << '\n';
    return kExitOk;
  }

 private:
  std::string path_;
};

#else

class InfoCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override {
    auto* sub = app.add_subcommand("info", "Describe survey files as GIS layers (needs GDAL)");
    sub->add_option("path", path_, "A folder of survey files, or one survey file")->required();
    return sub;
  }
  int Run(std::ostream&, std::ostream& err) override {
    err << "veldrane info: this build of veldrane has no GDAL support\n";
    return kExitUnreadable;
  }

 private:
  std::string path_;
};

#endif

}  // namespace

std::unique_ptr<Command> MakeInfoCommand() { return std::make_unique<InfoCommand>(); }

}  // namespace veldrane::cli
