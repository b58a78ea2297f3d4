#pragma once
// The tree's icons, drawn once at run time: a folder, a survey file, a
// traverse file, and one per geometry of a feature class.
#include <QIcon>

#include "host/host_types.h"

namespace veldrane::ui {

QIcon FolderIcon();
QIcon SurveyFileIcon(bool traverse);
QIcon FeatureClassIcon(HostGeometryType geometry);
// Severity of an error log entry: 0 warning, 1 error, 2 fatal.
QIcon SeverityIcon(int severity);

}  // namespace veldrane::ui
