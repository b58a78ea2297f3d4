#include "gdal/survey_report.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include <cpl_error.h>
#include <cpl_string.h>
#include <ogrsf_frmts.h>

#include "config/error_log.h"
#include "gdal/ogr_veldrane.h"
#include "model/text.h"

namespace veldrane::ogr {
namespace {

struct CapturedMessages {
  std::vector<std::pair<CPLErr, std::string>> messages;
};

void CPL_STDCALL CaptureMessage(CPLErr type, CPLErrorNum /*number*/, const char* message) {
  auto* captured = static_cast<CapturedMessages*>(CPLGetErrorHandlerUserData());
  if (captured != nullptr && type != CE_Debug) captured->messages.emplace_back(type, message != nullptr ? message : "");
}

// Collects GDAL's messages on this thread while alive.
class MessageCapture {
 public:
  MessageCapture() { CPLPushErrorHandlerEx(CaptureMessage, &captured_); }
  ~MessageCapture() { CPLPopErrorHandler(); }
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;
  const CapturedMessages& Captured() const { return captured_; }

 private:
  CapturedMessages captured_;
};

// The Errors layer names files in valid UTF-8; the counts go under the
// names the files have on disk.
void KeyByDiskNames(GDALDataset& dataset, SurveyProblems& problems) {
  for (const std::string& name : SurveyFileNames(dataset)) {
    const std::string converted = ToValidUtf8(name);
    const auto counted = problems.byFile.find(converted);
    if (converted == name || counted == problems.byFile.end()) continue;
    problems.byFile[name] = counted->second;
    problems.byFile.erase(converted);
  }
}

}  // namespace

void RegisterDriversForTools() {
  RegisterOGRVeldrane();
  GDALAllRegister();
}

SurveyProblems CountProblems(OGRLayer& errors) {
  SurveyProblems problems;
  errors.ResetReading();
  for (auto& feature : errors) {
    const std::string severity = feature->GetFieldAsString("Severity");
    const std::string file = std::filesystem::path(feature->GetFieldAsString("Filename")).filename().string();
    ProblemCounts& perFile = problems.byFile[file];
    if (severity == SeverityWord(kSeverityWarning)) {
      ++problems.total.warnings;
      ++perFile.warnings;
    } else {
      ++problems.total.errors;
      ++perFile.errors;
    }
  }
  errors.ResetReading();
  return problems;
}

OpenedSurveys OpenSurveys(const std::string& path) {
  OpenedSurveys opened;
  try {
    std::vector<std::pair<CPLErr, std::string>> messages;
    {
      MessageCapture capture;
      const char* const drivers[] = {kDriverName, nullptr};
      const std::string option = std::string(kErrorLayerOption) + "=YES";
      const char* const options[] = {option.c_str(), nullptr};
      opened.dataset.reset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers, options));
      messages = capture.Captured().messages;
    }
    std::optional<RecordFiles> records;
    if (opened.dataset) {
      RecountProblems(*opened.dataset, opened.problems);
      records.emplace(*opened.dataset);
    }
    for (const auto& [type, text] : messages) {
      if (type == CE_Warning && records && records->Matches(text)) continue;
      opened.messages.push_back(std::string(type == CE_Warning ? "Warning: " : "Error: ") + text);
    }
  } catch (const std::exception& failure) {
    opened.dataset.reset();
    opened.messages.push_back(std::string("Error: ") + failure.what());
  }
  return opened;
}

RecordFiles::RecordFiles(GDALDataset& dataset) {
  const CPLStringList files(dataset.GetFileList(), TRUE);
  for (int i = 0; i < files.size(); ++i) shownNames_.insert(ShownName(files[i]));
}

bool RecordFiles::Matches(const std::string& message) const {
  for (std::size_t colon = message.find(':'); colon != std::string::npos; colon = message.find(':', colon + 1))
    if (shownNames_.count(message.substr(0, colon)) != 0) return true;
  return false;
}

ProblemRecordFilter::ProblemRecordFilter(GDALDataset& dataset) : files_(dataset) {
  CPLPushErrorHandlerEx(&ProblemRecordFilter::Handle, this);
}

ProblemRecordFilter::~ProblemRecordFilter() { CPLPopErrorHandler(); }

void CPL_STDCALL ProblemRecordFilter::Handle(CPLErr type, CPLErrorNum number, const char* text) {
  const auto* self = static_cast<const ProblemRecordFilter*>(CPLGetErrorHandlerUserData());
  const std::string message = text != nullptr ? text : "";
  if (type == CE_Warning && self != nullptr && self->files_.Matches(message)) return;
  CPLDefaultErrorHandler(type, number, text);
}

void RecountProblems(GDALDataset& dataset, SurveyProblems& problems) {
  OGRLayer* errors = dataset.GetLayerByName(kErrorLayerName);
  if (errors == nullptr) return;
  problems = CountProblems(*errors);
  KeyByDiskNames(dataset, problems);
}

std::string FormatProblemCounts(const ProblemCounts& counts) {
  if (counts.Total() == 0) return "no problems";
  auto plural = [](int n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); };
  std::string text;
  if (counts.errors > 0) text = plural(counts.errors, "error");
  if (counts.warnings > 0) text += (text.empty() ? "" : ", ") + plural(counts.warnings, "warning");
  return text;
}

std::string FormatProblemSummary(const SurveyProblems& problems) {
  if (problems.total.Total() == 0) return FormatProblemCounts(problems.total);
  std::vector<std::string> files;
  for (const auto& [file, counts] : problems.byFile)
    if (counts.Total() > 0) files.push_back(file);
  std::string text = FormatProblemCounts(problems.total) + " in " + std::to_string(files.size()) +
                     (files.size() == 1 ? " file" : " files");
  constexpr std::size_t kListedFiles = 5;
  if (files.size() <= kListedFiles) {
    text += " (";
    for (std::size_t i = 0; i < files.size(); ++i) text += (i == 0 ? "" : ", ") + ShownName(files[i]);
    text += ")";
  }
  return text;
}

std::vector<std::string> SurveyFileNames(GDALDataset& dataset) {
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;
  const CPLStringList files(dataset.GetFileList(), TRUE);
  for (int i = 0; i < files.size(); ++i) {
    const std::filesystem::path file(files[i]);
    if (file.extension() == ".xml") continue;
    std::string name = file.filename().string();
    if (!name.empty() && seen.insert(name).second) names.push_back(std::move(name));
  }
  return names;
}

std::string CoordinateSystemText(const OGRSpatialReference* reference) {
  if (reference == nullptr || reference->IsEmpty()) return "unknown";
  std::string text = reference->GetName() != nullptr ? reference->GetName() : "unnamed";
  const char* authority = reference->GetAuthorityName(nullptr);
  const char* code = reference->GetAuthorityCode(nullptr);
  std::string epsg;
  if (authority != nullptr && code != nullptr && EQUAL(authority, "EPSG")) {
    epsg = code;
  } else {
    std::unique_ptr<OGRSpatialReference, decltype(&OGRSpatialReference::DestroySpatialReference)> match(
        reference->FindBestMatch(), &OGRSpatialReference::DestroySpatialReference);
    if (match && match->GetAuthorityName(nullptr) != nullptr && EQUAL(match->GetAuthorityName(nullptr), "EPSG") &&
        match->GetAuthorityCode(nullptr) != nullptr)
      epsg = match->GetAuthorityCode(nullptr);
  }
  if (!epsg.empty()) text += " (EPSG:" + epsg + ")";
  return ToValidUtf8(text);
}

std::string GeometryTypeText(OGRwkbGeometryType type) {
  const char* name = OGRGeometryTypeToName(type);
  return name != nullptr ? name : "Unknown";
}

std::vector<OGRLayer*> SurveyLayers(GDALDataset& dataset) {
  std::vector<OGRLayer*> layers;
  for (int i = 0; i < dataset.GetLayerCount(); ++i) {
    OGRLayer* layer = dataset.GetLayer(i);
    if (layer != nullptr && !EQUAL(layer->GetName(), kErrorLayerName)) layers.push_back(layer);
  }
  return layers;
}

std::string FormatCoordinate(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  std::string text = buffer;
  if (text.find('.') != std::string::npos) {
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  return text;
}

}  // namespace veldrane::ogr
