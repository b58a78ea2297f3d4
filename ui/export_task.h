#pragma once
// "Export to GeoPackage…": a survey file's classes copied into a GeoPackage
// with the code of `veldrane export` (the OGR driver and ExportSurveys),
// which writes beside the target and moves the result there only when it
// is complete. Cancel stops the copy at its next progress report and
// leaves no output behind.
#include <QString>

#include "ui/progress_window.h"

namespace veldrane::ui {

struct ExportOutcome {
  bool ok = false;
  bool cancelled = false;
  QString problem;
  int layers = 0;
  qint64 features = 0;
};

// Runs on any thread but the UI's; `progress` counts thousandths.
ExportOutcome ExportSurveyFile(const QString& path, const QString& output, bool overwrite, TaskProgress& progress);

}  // namespace veldrane::ui
