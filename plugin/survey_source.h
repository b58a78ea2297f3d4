#pragma once
// How a dataset helper reads its survey file and finds its coordinate-system
// code. The default reads through the survey file utilities (which also keep
// the error log in step) and checks the coordinate system against the
// coordinate system table; tests and special hosts may substitute their own.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "model/features.h"

namespace veldrane {

struct SurveySource {
  // Reads a survey file (".em", ".cl", ".830", ".pro"); may throw.
  std::function<std::shared_ptr<ISurvey>(const std::string& path)> openSurvey;
  // Reads a traverse or baseline file (".27", ".83", ".bl"); may throw.
  std::function<std::shared_ptr<ITraverse>(const std::string& path)> openTraverse;
  // The coordinate-system code of projection, datum, epoch and units as
  // written in the file; 0 when unknown.
  std::function<std::int32_t(const std::string& projection, const std::string& datum, const std::string& epoch,
                             const std::string& units)>
      checkCoordinateSystem;
};

// GetSurveyFile, GetTraverseFile and the coordinate system check.
SurveySource DefaultSurveySource();

}  // namespace veldrane
