#include "readers/pro/pro_survey_point.h"

namespace veldrane {

void ProSurveyPoint::Init(std::int32_t id, double station, double x, double y, double z, const InternedCode* code) {
  id_ = id;
  station_ = station;
  x_ = x;
  y_ = y;
  z_ = z;
  code_ = code;
}

}  // namespace veldrane
