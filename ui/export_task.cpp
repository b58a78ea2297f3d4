#include "ui/export_task.h"

#include "gdal/survey_export.h"
#include "gdal/survey_report.h"
#include "ui/survey_reader.h"

namespace veldrane::ui {
namespace {

int CPL_STDCALL ReportProgress(double complete, const char*, void* data) {
  auto* progress = static_cast<TaskProgress*>(data);
  progress->done = static_cast<std::int64_t>(complete * 1000.0);
  return progress->IsCancel() ? FALSE : TRUE;  // FALSE makes GDAL stop
}

}  // namespace

ExportOutcome ExportSurveyFile(const QString& path, const QString& output, bool overwrite, TaskProgress& progress) {
  ExportOutcome outcome;
  progress.total = 1000;
  ogr::RegisterDriversForTools();
  ogr::OpenedSurveys opened = ogr::OpenSurveys(NativePath(path));
  if (!opened.dataset) {
    outcome.problem = path + ": not a survey file";
    return outcome;
  }
  ogr::ExportRequest request;
  request.output = NativePath(output);
  request.format = "GPKG";
  request.overwrite = overwrite;
  request.progress = ReportProgress;
  request.progressData = &progress;
  ogr::ExportResult result;
  {
    // Problems of the file reach the error log through the catalog's own
    // read; here they would only be GDAL warnings on standard error.
    ogr::ProblemRecordFilter records(*opened.dataset);
    result = ogr::ExportSurveys(*opened.dataset, request);
  }
  outcome.ok = result.ok;
  outcome.cancelled = !result.ok && progress.IsCancel();
  outcome.problem = QString::fromStdString(result.problem);
  outcome.layers = result.layers;
  outcome.features = result.features;
  return outcome;
}

}  // namespace veldrane::ui
