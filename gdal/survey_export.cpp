#include "gdal/survey_export.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include <cpl_string.h>
#include <gdal_utils.h>
#include <ogrsf_frmts.h>

#include "gdal/ogr_veldrane.h"
#include "gdal/survey_report.h"

namespace veldrane::ogr {
namespace {

namespace fs = std::filesystem;

// The layers to copy, as a dataset of their own, so the copy needs no list
// of layer names on a command line (survey file names may look like options).
class LayerSelection final : public GDALDataset {
 public:
  explicit LayerSelection(std::vector<OGRLayer*> layers) : layers_(std::move(layers)) {}
  int GetLayerCount() override { return static_cast<int>(layers_.size()); }
  OGRLayer* GetLayer(int index) override {
    return index >= 0 && index < GetLayerCount() ? layers_[static_cast<std::size_t>(index)] : nullptr;
  }
  int TestCapability(const char*) override { return FALSE; }

 private:
  std::vector<OGRLayer*> layers_;
};

// A fresh, empty folder beside the target; removed with everything in it
// unless released.
class ScratchFolder {
 public:
  explicit ScratchFolder(const fs::path& besides) {
    std::string pattern = (besides / ".veldrane-export-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    if (path_.empty()) return;
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

std::string CheckFormat(const std::string& format) {
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(format.c_str());
  if (driver == nullptr) return "unknown output format \"" + format + "\"";
  if (!CPLFetchBool(driver->GetMetadata(), GDAL_DCAP_VECTOR, false))
    return "\"" + format + "\" is not a vector format";
  if (!CPLFetchBool(driver->GetMetadata(), GDAL_DCAP_CREATE, false) &&
      !CPLFetchBool(driver->GetMetadata(), GDAL_DCAP_CREATECOPY, false))
    return "GDAL cannot write \"" + format + "\"";
  return std::string();
}

bool FormatNeedsFieldWidths(const std::string& format) {
  return EQUAL(format.c_str(), "ESRI Shapefile") || EQUAL(format.c_str(), "MapInfo File");
}

// Moves everything GDAL wrote from the scratch folder into `folder`.
std::string MoveIntoPlace(const fs::path& scratch, const fs::path& folder, bool overwrite,
                          std::vector<std::string>& written) {
  std::error_code ec;
  std::vector<fs::path> entries;
  for (const auto& entry : fs::directory_iterator(scratch, ec)) entries.push_back(entry.path());
  if (ec) return "cannot list " + scratch.string() + ": " + ec.message();
  for (const fs::path& entry : entries) {
    const fs::path target = folder / entry.filename();
    if (fs::exists(target, ec) && !overwrite) return target.string() + " exists (use --overwrite to replace it)";
  }
  for (const fs::path& entry : entries) {
    const fs::path target = folder / entry.filename();
    // rename() replaces a file in one step; a folder has to go first.
    if (fs::is_directory(target, ec)) fs::remove_all(target, ec);
    fs::rename(entry, target, ec);
    if (ec) return "cannot move the output to " + target.string() + ": " + ec.message();
    written.push_back(target.string());
  }
  return std::string();
}

}  // namespace

ExportResult ExportSurveys(GDALDataset& source, const ExportRequest& request) {
  ExportResult result;
  if (request.output.empty()) {
    result.problem = "no output path";
    return result;
  }
  result.problem = CheckFormat(request.format);
  if (!result.problem.empty()) return result;

  const fs::path output(request.output);
  std::error_code ec;
  if (fs::exists(output, ec) && !request.overwrite) {
    result.problem = request.output + " exists (use --overwrite to replace it)";
    return result;
  }
  const fs::path folder = output.has_parent_path() ? output.parent_path() : fs::path(".");
  fs::create_directories(folder, ec);
  ScratchFolder scratch(folder);
  if (scratch.Path().empty()) {
    result.problem = "cannot create a temporary folder in " + folder.string();
    return result;
  }

  std::vector<OGRLayer*> layers = SurveyLayers(source);
  if (request.includeErrors) {
    if (OGRLayer* errors = source.GetLayerByName(kErrorLayerName)) layers.push_back(errors);
  }
  for (OGRLayer* layer : layers) {
    const GIntBig count = layer->GetFeatureCount(TRUE);
    if (count > 0) result.features += count;
  }
  result.layers = static_cast<int>(layers.size());
  LayerSelection selection(std::move(layers));

  CPLStringList arguments;
  arguments.AddString("-f");
  arguments.AddString(request.format.c_str());
  // Field sizes of the survey classes are nominal (longer values are passed
  // on unchanged), so formats that enforce or warn about widths get none;
  // only the formats that cannot store a text field without one keep them.
  if (!FormatNeedsFieldWidths(request.format)) arguments.AddString("-unsetFieldWidth");
  if (request.progress != nullptr) arguments.AddString("-progress");
  std::unique_ptr<GDALVectorTranslateOptions, decltype(&GDALVectorTranslateOptionsFree)> options(
      GDALVectorTranslateOptionsNew(arguments.List(), nullptr), &GDALVectorTranslateOptionsFree);
  if (!options) {
    result.problem = "GDAL refused the translation options";
    return result;
  }
  if (request.progress != nullptr)
    GDALVectorTranslateOptionsSetProgress(options.get(), request.progress, request.progressData);

  const std::string scratchOutput = (scratch.Path() / output.filename()).string();
  GDALDatasetH sourceHandle = GDALDataset::ToHandle(&selection);
  int usageError = FALSE;
  CPLErrorReset();
  GDALDatasetH written = GDALVectorTranslate(scratchOutput.c_str(), nullptr, 1, &sourceHandle, options.get(),
                                             &usageError);
  if (written == nullptr) {
    result.problem = "GDAL could not write " + request.format + " output";
    if (CPLGetLastErrorType() >= CE_Failure) result.problem += std::string(": ") + CPLGetLastErrorMsg();
    return result;
  }
  GDALClose(written);
  if (CPLGetLastErrorType() >= CE_Failure) {
    result.problem = std::string("GDAL failed while writing: ") + CPLGetLastErrorMsg();
    return result;
  }
  result.problem = MoveIntoPlace(scratch.Path(), folder, request.overwrite, result.written);
  result.ok = result.problem.empty();
  return result;
}

int CPL_STDCALL StderrProgress(double complete, const char* /*message*/, void* data) {
  auto* state = static_cast<StderrProgressState*>(data);
  if (state == nullptr) return TRUE;
  // 40 ticks of 2.5 %: every fourth prints the percentage, the others a dot.
  const int tick = std::max(0, std::min(40, static_cast<int>(complete * 40.0 + 1e-9)));
  if (tick <= state->lastTick) return TRUE;
  for (int t = state->lastTick + 1; t <= tick; ++t) {
    if (t % 4 == 0) std::fprintf(stderr, "%d", t * 10 / 4);
    else std::fputc('.', stderr);
  }
  state->lastTick = tick;
  if (tick == 40) std::fputs(" - done.\n", stderr);
  std::fflush(stderr);
  return TRUE;
}

}  // namespace veldrane::ogr
