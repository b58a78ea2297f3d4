#include "readers/fixedcolumn/corvid830_survey_point.h"

namespace veldrane {

void Corvid830SurveyPoint::InitSurveyPoint(std::int32_t id, double x, double y, double z, const InternedCode* code,
                                           double offset, double lateralOffset) {
  id_ = id;
  x_ = x;
  y_ = y;
  z_ = z;
  code_ = code;
  offset_ = offset;
  lateralOffset_ = lateralOffset;
}

}  // namespace veldrane
