// `veldrane info PATH`: what a folder of survey files (or one survey file)
// offers as GIS data, read through the OGR driver exactly as any GDAL client
// sees it: the survey files, their feature classes with geometry type and
// feature count, extent, coordinate system, and the problems found.
#include <map>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/survey_file.h"
#include "model/text.h"

#if VELDRANE_WITH_GDAL
#include <algorithm>
#include <ostream>
#include <vector>

#include <cpl_conv.h>
#include <ogrsf_frmts.h>

#include "gdal/ogr_veldrane.h"
#include "gdal/survey_report.h"
#endif

namespace veldrane::cli {
namespace {

#if VELDRANE_WITH_GDAL

// The classes of every survey file, by the file's name as its layers give it
// (valid UTF-8), found in one pass over the layers.
using LayersByFile = std::map<std::string, std::vector<OGRLayer*>>;
LayersByFile LayersOfEachFile(GDALDataset& dataset) {
  LayersByFile layers;
  for (OGRLayer* layer : ogr::SurveyLayers(dataset)) {
    if (const char* owner = layer->GetMetadataItem(ogr::kSurveyFileItem)) layers[owner].push_back(layer);
  }
  return layers;
}

// The text of each coordinate system, worked out once per distinct system:
// finding the EPSG code of a system read from a projection file searches
// PROJ's database, and a folder of many files that share one system would
// otherwise spend most of its time there.
class CoordinateSystemTexts {
 public:
  const std::string& Of(const OGRSpatialReference* reference) {
    std::string key;
    if (reference != nullptr) {
      char* wkt = nullptr;
      if (reference->exportToWkt(&wkt) == OGRERR_NONE && wkt != nullptr) key = wkt;
      CPLFree(wkt);
    }
    auto [known, added] = texts_.try_emplace(key);
    if (added) known->second = ogr::CoordinateSystemText(reference);
    return known->second;
  }

 private:
  std::map<std::string, std::string> texts_;
};

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

void PrintSurveyFile(const LayersByFile& layersByFile, const std::string& file, const ogr::SurveyProblems& problems,
                     const std::map<OGRLayer*, GIntBig>& featureCounts, CoordinateSystemTexts& systems,
                     std::ostream& out) {
  const auto found = layersByFile.find(ToValidUtf8(file));
  const std::vector<OGRLayer*> layers = found != layersByFile.end() ? found->second : std::vector<OGRLayer*>{};
  out << '\n' << ShownName(file) << '\n';
  const auto counts = problems.byFile.find(file);
  const std::string problemText =
      ogr::FormatProblemCounts(counts != problems.byFile.end() ? counts->second : ogr::ProblemCounts{});
  if (layers.empty()) {
    out << "  no feature classes\n";
    out << "  problems: " << problemText << '\n';
    return;
  }
  out << "  coordinate system: " << systems.Of(layers.front()->GetSpatialRef()) << '\n';
  out << "  extent: " << ExtentText(*layers.front()) << '\n';
  out << "  problems: " << problemText << '\n';
  std::size_t nameWidth = 0, typeWidth = 0;
  for (OGRLayer* layer : layers) {
    nameWidth = std::max(nameWidth, ShownName(layer->GetName()).size());
    typeWidth = std::max(typeWidth, ogr::GeometryTypeText(layer->GetGeomType()).size());
  }
  for (OGRLayer* layer : layers) {
    const std::string name = ShownName(layer->GetName());
    const std::string type = ogr::GeometryTypeText(layer->GetGeomType());
    const auto known = featureCounts.find(layer);
    const GIntBig count = known != featureCounts.end() ? known->second : layer->GetFeatureCount(TRUE);
    out << "  " << name << std::string(nameWidth - name.size() + 2, ' ') << type
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
        "Exit status: 0 when PATH could be opened, 1 when survey files of the folder\n"
        "could not be read (each is named), 2 when PATH could not be read.");
    sub->add_option("path", path_, "A folder of survey files, or one survey file")->required();
    return sub;
  }

  int Run(std::ostream& out, std::ostream& err) override {
    const int readable = ReportUnreadable("info", path_, err);
    if (readable == kExitUnreadable) return kExitUnreadable;
    ogr::RegisterDriversForTools();
    ogr::OpenedSurveys opened = ogr::OpenSurveys(path_);
    for (const std::string& message : opened.messages) err << "veldrane info: " << ToValidUtf8(message) << '\n';
    if (!opened.dataset) {
      err << "veldrane info: " << ShownName(path_) << ": not a survey file or a folder of survey files\n";
      return kExitUnreadable;
    }
    GDALDataset& dataset = *opened.dataset;
    const std::vector<std::string> files = ogr::SurveyFileNames(dataset);
    const std::size_t layerCount = ogr::SurveyLayers(dataset).size();
    out << ShownName(path_) << ": " << files.size() << (files.size() == 1 ? " survey file, " : " survey files, ")
        << layerCount << (layerCount == 1 ? " feature class" : " feature classes") << '\n';
    const std::map<OGRLayer*, GIntBig> featureCounts = CountFeatures(dataset);
    ogr::RecountProblems(dataset, opened.problems);
    const LayersByFile layersByFile = LayersOfEachFile(dataset);
    CoordinateSystemTexts systems;
    for (const std::string& file : files)
      PrintSurveyFile(layersByFile, file, opened.problems, featureCounts, systems, out);
    out << "\nproblems: " << ogr::FormatProblemSummary(opened.problems);
    if (opened.problems.total.Total() > 0) out << "; 'veldrane check " << ShownName(path_) << "' lists them";
    out << '\n';
    return readable;
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
