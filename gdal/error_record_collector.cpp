#include "gdal/error_record_collector.h"

#include <algorithm>

#include <cpl_error.h>

#include "config/error_log.h"
#include "model/constants.h"
#include "model/text.h"
#include "plugin/svy_dataset_helper.h"

namespace veldrane::ogr {
namespace {

std::string Counted(std::ptrdiff_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string ProblemSummary(const std::string& file, const std::vector<int>& severities) {
  std::string kinds;
  const auto add = [&](std::ptrdiff_t count, const char* one, const char* many) {
    if (count == 0) return;
    kinds += (kinds.empty() ? "" : ", ") + Counted(count, one, many);
  };
  const auto count = [&](auto test) { return std::count_if(severities.begin(), severities.end(), test); };
  add(count([](int s) { return s >= kSeverityFatal; }), "fatal", "fatal");
  add(count([](int s) { return s > kSeverityWarning && s < kSeverityFatal; }), "error", "errors");
  add(count([](int s) { return s <= kSeverityWarning; }), "warning", "warnings");
  return ShownName(file) + ": " + Counted(static_cast<std::ptrdiff_t>(severities.size()), "problem", "problems") + " (" + kinds +
         "); the Errors layer (open option ERROR_LAYER=YES) and \"veldrane check\" list them";
}

void PullQueuedProblems(IPlugInDatasetHelper& dataset) {
  auto* helper = dynamic_cast<SvyDatasetHelper*>(&dataset);
  if (helper == nullptr) return;
  std::shared_ptr<ISurveyErrorQueue> queue;
  if (const auto survey = helper->Survey()) queue = survey->Errors();
  else if (const auto traverse = helper->Traverse()) queue = traverse->Errors();
  if (queue && !queue->IsEmpty()) ErrorLog().PullErrors(*queue);
}

ErrorRecordCollector::ErrorRecordCollector(ProblemWarnings warnings)
    : state_(std::make_shared<State>()), log_(ErrorLog()) {
  state_->warnings = warnings;
  auto state = state_;
  subscription_ = log_.Subscribe([state](const ErrorLogEvent& event) {
    if (event.kind != ErrorLogEventKind::ErrorAdded || event.entry == nullptr) return;
    const ErrorLogEntry& entry = *event.entry;
    state->records.push_back(
        ErrorRecord{ToValidUtf8(entry.file), entry.line, entry.severity, ToValidUtf8(entry.description)});
    if (state->warnings == ProblemWarnings::EachRecord) {
      const std::string line = FormatErrorLine(entry);
      CPLError(CE_Warning, CPLE_AppDefined, "%s", line.c_str());
    } else if (state->warnings == ProblemWarnings::SummaryPerFile) {
      // Keyed by the name on disk, so the summary names the file as its
      // records do (ShownName).
      auto& byFile = state->severitiesByFile;
      auto it = std::find_if(byFile.begin(), byFile.end(), [&](const auto& f) { return f.first == entry.file; });
      if (it == byFile.end()) it = byFile.insert(byFile.end(), {entry.file, {}});
      it->second.push_back(entry.severity);
    }
  });
}

ErrorRecordCollector::~ErrorRecordCollector() {
  log_.Unsubscribe(subscription_);
  for (const auto& [file, severities] : state_->severitiesByFile)
    CPLError(CE_Warning, CPLE_AppDefined, "%s", ProblemSummary(file, severities).c_str());
}

ErrorRecords ErrorRecordCollector::TakeRecords() {
  ErrorRecords taken = std::move(state_->records);
  state_->records.clear();
  return taken;
}

}  // namespace veldrane::ogr
