#include "gdal/survey_report.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

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

// "FILE:" for every survey file of the dataset: the problem records of a
// file, and the summary of them a folder's open gives, begin with it.
std::vector<std::string> ProblemPrefixes(GDALDataset& dataset) {
  std::vector<std::string> prefixes;
  const CPLStringList files(dataset.GetFileList(), TRUE);
  for (int i = 0; i < files.size(); ++i) prefixes.push_back(std::string(files[i]) + ":");
  return prefixes;
}

bool IsProblemWarning(const std::vector<std::string>& prefixes, CPLErr type, const std::string& message) {
  if (type != CE_Warning) return false;
  return std::any_of(prefixes.begin(), prefixes.end(),
                     [&](const std::string& prefix) { return message.rfind(prefix, 0) == 0; });
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
    std::vector<std::string> prefixes;
    if (opened.dataset) {
      prefixes = ProblemPrefixes(*opened.dataset);
      if (OGRLayer* errors = opened.dataset->GetLayerByName(kErrorLayerName))
        opened.problems = CountProblems(*errors);
    }
    for (const auto& [type, text] : messages) {
      if (IsProblemWarning(prefixes, type, text)) continue;
      opened.messages.push_back(std::string(type == CE_Warning ? "Warning: " : "Error: ") + text);
    }
  } catch (const std::exception& failure) {
    opened.dataset.reset();
    opened.messages.push_back(std::string("Error: ") + failure.what());
  }
  return opened;
}

ProblemRecordFilter::ProblemRecordFilter(GDALDataset& dataset) : prefixes_(ProblemPrefixes(dataset)) {
  CPLPushErrorHandlerEx(&ProblemRecordFilter::Handle, this);
}

ProblemRecordFilter::~ProblemRecordFilter() { CPLPopErrorHandler(); }

void CPL_STDCALL ProblemRecordFilter::Handle(CPLErr type, CPLErrorNum number, const char* text) {
  const auto* self = static_cast<const ProblemRecordFilter*>(CPLGetErrorHandlerUserData());
  const std::string message = text != nullptr ? text : "";
  if (self != nullptr && IsProblemWarning(self->prefixes_, type, message)) return;
  CPLDefaultErrorHandler(type, number, text);
}

void RecountProblems(GDALDataset& dataset, SurveyProblems& problems) {
  if (OGRLayer* errors = dataset.GetLayerByName(kErrorLayerName)) problems = CountProblems(*errors);
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
    for (std::size_t i = 0; i < files.size(); ++i) text += (i == 0 ? "" : ", ") + files[i];
    text += ")";
  }
  return ToValidUtf8(text);
}

std::vector<std::string> SurveyFileNames(GDALDataset& dataset) {
  std::vector<std::string> names;
  auto add = [&names](const std::string& name) {
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  };
  const CPLStringList files(dataset.GetFileList(), TRUE);
  for (int i = 0; i < files.size(); ++i) {
    const std::filesystem::path file(files[i]);
    if (file.extension() == ".xml") continue;
    add(file.filename().string());
  }
  for (OGRLayer* layer : SurveyLayers(dataset)) {
    const char* file = layer->GetMetadataItem(kSurveyFileItem);
    if (file != nullptr) add(file);
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
