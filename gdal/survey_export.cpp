#include "gdal/survey_export.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <regex>
#include <set>
#include <system_error>

#include <cpl_string.h>
#include <gdal_utils.h>
#include <ogrsf_frmts.h>

#include "config/file_system.h"
#include "config/scratch_files.h"
#include "gdal/ogr_veldrane.h"
#include "gdal/survey_report.h"
#include "model/text.h"

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

constexpr const char* kScratchPrefix = ".veldrane-export-";

// A fresh, empty folder beside the target, named for this process (see
// config/scratch_files.h); removed with everything in it when dropped, or
// when the tool is interrupted. What an earlier, killed export left there is
// removed first.
class ScratchFolder {
 public:
  explicit ScratchFolder(const fs::path& besides) {
    RemoveLeftovers(besides, kScratchPrefix);
    std::string pattern = (besides / (ScratchNamePrefix(kScratchPrefix) + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
      error_ = errno;
      return;
    }
    path_ = pattern;
    guard_.emplace(path_);
  }
  ~ScratchFolder() {
    if (path_.empty()) return;
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& Path() const { return path_; }
  // Why it could not be made (an errno value), when Path() is empty.
  int Error() const { return error_; }

 private:
  fs::path path_;
  int error_ = 0;
  std::optional<ScratchGuard> guard_;
};

bool NamesFullDisk(const std::string& message) {
  for (const char* text : {"No space left on device", "disk is full", "Disk quota exceeded"})
    if (message.find(text) != std::string::npos) return true;
  return false;
}

// GDAL's messages while it writes: failures are kept to say why the export
// failed; warnings are passed on when the copy is done, without their hints
// at ogr2ogr options (the tool has none of them). Past a limit warnings are
// only counted, so a warning per feature cannot fill the memory.
class TranslationMessages {
 public:
  TranslationMessages() { CPLPushErrorHandlerEx(&TranslationMessages::Keep, this); }
  ~TranslationMessages() {
    CPLPopErrorHandler();
    for (const auto& [number, text] : warnings_) CPLError(CE_Warning, number, "%s", text.c_str());
    if (dropped_ > 0) CPLError(CE_Warning, CPLE_AppDefined, "%zu more warnings like these", dropped_);
  }
  TranslationMessages(const TranslationMessages&) = delete;
  TranslationMessages& operator=(const TranslationMessages&) = delete;
  const std::vector<std::string>& Failures() const { return failures_; }

 private:
  static void CPL_STDCALL Keep(CPLErr type, CPLErrorNum number, const char* text) {
    auto* self = static_cast<TranslationMessages*>(CPLGetErrorHandlerUserData());
    // Some drivers report a failed write without its cause, which errno
    // still holds: a full disk is named.
    const int error = errno;
    const std::string message = text != nullptr ? text : "";
    if (type >= CE_Failure && (error == ENOSPC || error == EDQUOT) && !NamesFullDisk(message))
      self->failures_.push_back(message + ": " + std::generic_category().message(error));
    else if (type >= CE_Failure)
      self->failures_.push_back(message);
    else if (type == CE_Warning && self->warnings_.size() < kKeptWarnings)
      self->warnings_.emplace_back(number, WithoutOptionHints(message));
    else if (type == CE_Warning) ++self->dropped_;
  }
  static constexpr std::size_t kKeptWarnings = 1000;
  std::vector<std::string> failures_;
  std::vector<std::pair<CPLErrorNum, std::string>> warnings_;
  std::size_t dropped_ = 0;
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

// The paths the export reads: the path it opened and every survey file (and
// metadata file) in it, without links or "..".
std::vector<fs::path> InputsOf(GDALDataset& source) {
  std::vector<fs::path> inputs;
  std::error_code ec;
  inputs.push_back(fs::weakly_canonical(source.GetDescription(), ec));
  const CPLStringList files(source.GetFileList(), TRUE);
  for (int i = 0; i < files.size(); ++i) inputs.push_back(fs::weakly_canonical(files[i], ec));
  return inputs;
}

// Whether replacing `target` would replace an input: the target is one, or a
// folder that holds one.
bool IsOrHoldsInput(const fs::path& target, const std::vector<fs::path>& inputs) {
  std::error_code ec;
  const fs::path resolved = fs::weakly_canonical(target, ec);
  for (const fs::path& input : inputs) {
    if (input.empty()) continue;
    if (std::mismatch(resolved.begin(), resolved.end(), input.begin(), input.end()).first == resolved.end())
      return true;
  }
  return false;
}

// Why `target` may not be replaced, or empty: it exists and --overwrite was
// not given, or it is (or holds) what is being exported.
std::string ReplaceProblem(const fs::path& target, bool overwrite, const std::vector<fs::path>& inputs) {
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(target, ec))) return std::string();
  if (!overwrite) return ShownName(target.string()) + " exists (use --overwrite to replace it)";
  if (IsOrHoldsInput(target, inputs))
    return ShownName(target.string()) + " is, or holds, the survey files being exported; it is not replaced";
  return std::string();
}

// Why what GDAL wrote at `written` cannot take the place of `target`. A file
// replaces a file; a folder (of a multi-file format) goes into an existing
// folder file by file, so the files in it that the export did not write stay.
std::string PlacementProblem(const fs::path& written, const fs::path& target, bool overwrite,
                             const std::vector<fs::path>& inputs) {
  std::string problem = ReplaceProblem(target, overwrite, inputs);
  std::error_code ec;
  const fs::file_status existing = fs::symlink_status(target, ec);
  if (!problem.empty() || !fs::exists(existing)) return problem;
  const bool isFolder = fs::is_directory(fs::symlink_status(written, ec));
  if (fs::is_directory(existing) != isFolder)
    return ShownName(target.string()) + (isFolder ? " is not a folder" : " is a folder") + "; it is not replaced";
  if (!isFolder) return std::string();
  for (const auto& entry : fs::directory_iterator(written)) {
    problem = PlacementProblem(entry.path(), target / entry.path().filename(), overwrite, inputs);
    if (!problem.empty()) return problem;
  }
  return std::string();
}

// Moves what GDAL wrote into place (checked by PlacementProblem): one atomic
// rename per file, or per folder where none is there yet.
void Place(const fs::path& written, const fs::path& target) {
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(written, ec)) && fs::is_directory(fs::symlink_status(target, ec))) {
    for (const auto& entry : fs::directory_iterator(written)) Place(entry.path(), target / entry.path().filename());
    FlushFolderOf(target / ".");
    return;
  }
  fs::rename(written, target);
}

// Moves everything GDAL wrote from the scratch folder into `folder`, each
// part flushed to disk first; nothing moves unless every part may.
std::string MoveIntoPlace(const fs::path& scratch, const fs::path& folder, bool overwrite,
                          const std::vector<fs::path>& inputs, std::vector<std::string>& written) {
  std::vector<fs::path> entries;
  try {
    for (const auto& entry : fs::directory_iterator(scratch)) entries.push_back(entry.path());
    for (const fs::path& entry : entries) {
      const std::string problem = PlacementProblem(entry, folder / entry.filename(), overwrite, inputs);
      if (!problem.empty()) return problem;
    }
    for (const fs::path& entry : entries) FlushToDisk(entry);
    for (const fs::path& entry : entries) {
      Place(entry, folder / entry.filename());
      written.push_back((folder / entry.filename()).string());
    }
  } catch (const fs::filesystem_error& failure) {
    return "cannot put the output in place: " + ShownName(failure.path1().string()) + ": " +
           failure.code().message();
  }
  FlushFolderOf(folder / ".");
  return std::string();
}

// The layers an export copies.
std::vector<OGRLayer*> LayersToCopy(GDALDataset& source, const ExportRequest& request) {
  std::vector<OGRLayer*> layers = SurveyLayers(source);
  if (request.includeErrors) {
    if (OGRLayer* errors = source.GetLayerByName(kErrorLayerName)) layers.push_back(errors);
  }
  return layers;
}

// Copies the layers of `source` through GDALVectorTranslate, with `arguments`
// and what every export adds, to `destination` (a path) or into `target` (an
// opened dataset), counted into `result`. Returns why it failed, or an
// empty string.
std::string Translate(GDALDataset& source, const ExportRequest& request, CPLStringList arguments,
                      const char* destination, GDALDataset* target, ExportResult& result) {
  std::vector<OGRLayer*> layers = LayersToCopy(source, request);
  for (OGRLayer* layer : layers) {
    const GIntBig count = layer->GetFeatureCount(TRUE);
    if (count > 0) result.features += count;
  }
  result.layers = static_cast<int>(layers.size());
  LayerSelection selection(std::move(layers));
  if (request.progress != nullptr) arguments.AddString("-progress");
  std::unique_ptr<GDALVectorTranslateOptions, decltype(&GDALVectorTranslateOptionsFree)> options(
      GDALVectorTranslateOptionsNew(arguments.List(), nullptr), &GDALVectorTranslateOptionsFree);
  if (!options) return "GDAL refused the translation options";
  if (request.progress != nullptr)
    GDALVectorTranslateOptionsSetProgress(options.get(), request.progress, request.progressData);

  GDALDatasetH sourceHandle = GDALDataset::ToHandle(&selection);
  TranslationMessages messages;
  int usageError = FALSE;
  GDALDatasetH written = GDALVectorTranslate(target != nullptr ? nullptr : destination, GDALDataset::ToHandle(target),
                                             1, &sourceHandle, options.get(), &usageError);
  if (written != nullptr && target == nullptr) GDALClose(written);
  if (written != nullptr && messages.Failures().empty()) return std::string();
  const std::string failed = DescribeFailures(messages.Failures());
  return "GDAL could not write " + request.format + " output: " + (failed.empty() ? "GDAL reported no reason" : failed);
}

// A table name as a database driver that launders names makes it (PostgreSQL:
// lower case, quotes and '-' '#' as '_'), to find the tables an export would
// write among those already there.
std::string FoldedTableName(const std::string& name) {
  std::string folded = ToLowerAscii(name);
  std::replace_if(folded.begin(), folded.end(), [](char c) { return c == '\'' || c == '-' || c == '#'; }, '_');
  return folded;
}

// The tables of `target` that the export of `layers` would write.
std::vector<std::string> TablesTaken(GDALDataset& target, const std::vector<OGRLayer*>& layers) {
  std::set<std::string> wanted;
  for (OGRLayer* layer : layers) wanted.insert(FoldedTableName(layer->GetName()));
  std::vector<std::string> taken;
  for (int i = 0; i < target.GetLayerCount(); ++i) {
    const std::string name = target.GetLayer(i)->GetName();
    if (wanted.count(FoldedTableName(name)) > 0) taken.push_back(name);
  }
  return taken;
}

bool DeclaresLayerOption(GDALDriver& driver, const char* option) {
  const char* list = driver.GetMetadataItem(GDAL_DS_LAYER_CREATIONOPTIONLIST);
  if (list == nullptr) return false;
  const std::string text(list);
  return text.find("name='" + std::string(option) + "'") != std::string::npos ||
         text.find("name=\"" + std::string(option) + "\"") != std::string::npos;
}

// A database takes the layers directly, in one transaction where the driver
// has them: nothing is written unless every table is. Without `overwrite`
// any table of the export already there stops it before anything is
// written; with it, exactly those tables are replaced and the database's
// other tables stay.
ExportResult ExportToDatabase(GDALDataset& source, const ExportRequest& request) {
  ExportResult result;
  const std::string shown = WithoutPassword(request.output);
  GDALDatasetUniquePtr target;
  {
    TranslationMessages messages;
    const char* const drivers[] = {request.format.c_str(), nullptr};
    target.reset(GDALDataset::Open(request.output.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE, drivers));
    if (!target) {
      const std::string why = DescribeFailures(messages.Failures());
      result.problem = "cannot open " + shown + (why.empty() ? std::string() : ": " + why);
      return result;
    }
  }
  const std::vector<std::string> taken = TablesTaken(*target, LayersToCopy(source, request));
  if (!taken.empty() && !request.overwrite) {
    result.problem = shown + " already holds " + std::to_string(taken.size()) +
                     (taken.size() == 1 ? " table" : " tables") + " of this export (\"" + taken.front() + "\"" +
                     (taken.size() > 1 ? ", ..." : "") + "); use --overwrite to replace them";
    return result;
  }
  CPLStringList arguments;
  // A layer name holds dots ("levee.em Benchmarks"), which would otherwise
  // be read as "schema.table".
  if (DeclaresLayerOption(*target->GetDriver(), "EXTRACT_SCHEMA_FROM_LAYER_NAME")) {
    arguments.AddString("-lco");
    arguments.AddString("EXTRACT_SCHEMA_FROM_LAYER_NAME=NO");
  }
  // One transaction for everything (GDAL falls back to none where the
  // driver has no transactions).
  arguments.AddString("-gt");
  arguments.AddString("unlimited");
  if (request.overwrite) arguments.AddString("-overwrite");
  result.problem = Translate(source, request, arguments, nullptr, target.get(), result);
  if (!result.problem.empty()) return result;
  {
    TranslationMessages messages;
    target.reset();
    if (!messages.Failures().empty()) {
      result.problem = "GDAL could not finish writing to " + shown + ": " + DescribeFailures(messages.Failures());
      return result;
    }
  }
  result.written.push_back(shown);
  result.ok = true;
  return result;
}

}  // namespace

std::string WithoutOptionHints(std::string message) {
  static const std::regex hints(R"(\s*\(use -\w[^)]*\)|\s*-\w+ can be used [^.]*\.?)");
  message = std::regex_replace(message, hints, "");
  std::replace(message.begin(), message.end(), '\n', ' ');
  return message;
}

bool IsDatabaseTarget(const std::string& format, const std::string& output) {
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(format.c_str());
  const char* prefix = driver != nullptr ? driver->GetMetadataItem(GDAL_DMD_CONNECTION_PREFIX) : nullptr;
  return prefix != nullptr && *prefix != '\0' && STARTS_WITH_CI(output.c_str(), prefix);
}

std::string WithoutPassword(const std::string& connection) {
  static const std::regex password(R"((password\s*=\s*)('(\\.|[^'])*'|\S+))", std::regex::icase);
  return std::regex_replace(connection, password, "$1***");
}

std::string DescribeFailures(const std::vector<std::string>& failures) {
  if (failures.empty()) return std::string();
  const auto cause = std::find_if(failures.begin(), failures.end(), NamesFullDisk);
  const std::size_t first = cause != failures.end() ? static_cast<std::size_t>(cause - failures.begin()) : 0;
  std::string text = WithoutOptionHints(failures[first]);
  // What followed from the cause, briefly: a full disk makes every later
  // statement fail too.
  constexpr std::size_t kFollowing = 2;
  std::size_t shown = 0;
  for (std::size_t i = 0; i < failures.size() && shown < kFollowing; ++i) {
    if (i == first) continue;
    text += "; " + WithoutOptionHints(failures[i]);
    ++shown;
  }
  if (failures.size() > shown + 1) text += " (and " + std::to_string(failures.size() - shown - 1) + " more)";
  return text;
}

ExportResult ExportSurveys(GDALDataset& source, const ExportRequest& request) {
  ExportResult result;
  if (request.output.empty()) {
    result.problem = "no output path";
    return result;
  }
  result.problem = CheckFormat(request.format);
  if (!result.problem.empty()) return result;
  if (IsDatabaseTarget(request.format, request.output)) return ExportToDatabase(source, request);

  const fs::path output(request.output);
  const std::vector<fs::path> inputs = InputsOf(source);
  result.problem = ReplaceProblem(output, request.overwrite, inputs);
  if (!result.problem.empty()) return result;
  // Empty for a bare file name: the current folder, without "./" in messages.
  const fs::path folder = output.parent_path();
  std::error_code ec;
  fs::create_directories(folder, ec);
  ScratchFolder scratch(folder);
  if (scratch.Path().empty()) {
    result.problem = "cannot create a temporary folder in " + ShownName(folder.empty() ? "." : folder.string()) + ": " +
                     std::generic_category().message(scratch.Error());
    return result;
  }

  CPLStringList arguments;
  arguments.AddString("-f");
  arguments.AddString(request.format.c_str());
  const std::string scratchOutput = (scratch.Path() / output.filename()).string();
  result.problem = Translate(source, request, arguments, scratchOutput.c_str(), nullptr, result);
  if (!result.problem.empty()) return result;
  result.problem = MoveIntoPlace(scratch.Path(), folder, request.overwrite, inputs, result.written);
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
