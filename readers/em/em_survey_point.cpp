#include "readers/em/em_survey_point.h"

#include <charconv>

namespace veldrane {

std::int32_t EMSurveyPoint::IdFromText(std::string_view idText) {
  if (idText.empty() || idText.size() > 10) return 0;
  std::size_t first = (idText[0] == '+' || idText[0] == '-') ? 1 : 0;
  if (first == idText.size()) return 0;
  for (std::size_t i = first; i < idText.size(); ++i)
    if (idText[i] < '0' || idText[i] > '9') return 0;
  // from_chars does not take a leading '+'.
  if (idText[0] == '+') idText.remove_prefix(1);
  std::int32_t value = 0;
  const auto result = std::from_chars(idText.data(), idText.data() + idText.size(), value);
  // Ten digits can exceed 32 bits; such an id is no usable number, like a
  // non-numeric one.
  if (result.ec != std::errc() || result.ptr != idText.data() + idText.size()) return 0;
  return value;
}

void EMSurveyPoint::Initialize(std::string_view idText, double x, double y, double elevation,
                               double verticalAdjustment, PointCodeRef code, double station, double baselineOffset) {
  id_ = IdFromText(idText);
  tag_ = CompactString(idText);
  x_ = x;
  y_ = y;
  elevation_ = elevation;
  verticalAdjustment_ = verticalAdjustment;
  code_ = std::move(code);
  station_ = station;
  baselineOffset_ = baselineOffset;
}

void EMSurveyPoint::Initialize(std::string_view idText, double x, double y, double elevation,
                               double verticalAdjustment, std::string_view code, std::string_view codeDescription,
                               double station, double baselineOffset) {
  PointCodeRef ref;
  if (!code.empty() || !codeDescription.empty()) ref = PointCodeRef::Make(std::string(code), std::string(codeDescription));
  Initialize(idText, x, y, elevation, verticalAdjustment, std::move(ref), station, baselineOffset);
}

}  // namespace veldrane
