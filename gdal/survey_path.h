#pragma once
// What a path given to the driver stands for: a workspace (a folder), one
// survey file (a dataset of the folder it lies in), or nothing the driver
// reads. Whether a folder or file really holds survey data is judged by its
// content (gdal/survey_identify.h).
#include <string>

namespace veldrane::ogr {

struct SurveyTarget {
  enum class Kind { None, Workspace, SurveyFile };
  Kind kind = Kind::None;
  // The workspace folder: the path itself for a workspace, the file's folder
  // ("." for a bare file name) for a survey file.
  std::string workspace;
  // The survey file's name within the workspace; empty for a workspace.
  std::string datasetName;
};

// Looks at the file system only (no survey file is read), through the
// calling thread's file access: with the driver's, any path GDAL reaches
// ("/vsizip/...", "/vsicurl/...", "/vsimem/..."). A gzip-compressed survey
// ("/vsigzip/.../a.em.gz") is the survey file "a.em" of its folder. Never
// throws.
SurveyTarget ClassifySurveyPath(const std::string& path);

}  // namespace veldrane::ogr
