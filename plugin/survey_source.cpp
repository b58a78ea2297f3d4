#include "plugin/survey_source.h"

#include "config/coordinate_system_domain.h"
#include "readers/survey_file_utils.h"

namespace veldrane {

SurveySource DefaultSurveySource() { return SurveySource{GetSurveyFile, GetTraverseFile, CheckCoordinateSystem}; }

}  // namespace veldrane
