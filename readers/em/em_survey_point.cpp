#include "readers/em/em_survey_point.h"

#include <cstdint>

namespace veldrane {

std::int32_t EMSurveyPoint::IdFromText(std::string_view idText) {
  if (idText.empty() || idText.size() > 10) return 0;
  const bool negative = idText[0] == '-';
  const std::size_t first = (negative || idText[0] == '+') ? 1 : 0;
  if (first == idText.size()) return 0;
  // At most ten digits: the value fits 64 bits while it is read.
  std::int64_t value = 0;
  for (std::size_t i = first; i < idText.size(); ++i) {
    const char c = idText[i];
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  // Ten digits can exceed 32 bits; such an id is no usable number, like a
  // non-numeric one.
  return IdFromValue(negative ? -value : value, idText.size());
}

EMSurveyPoint::EMSurveyPoint(const EMStoredPoint& stored, double station, double lateralOffset,
                             double baselineOffset, bool borrowCode)
    : x_(stored.x),
      y_(stored.y),
      elevation_(stored.elevation),
      station_(station),
      lateralOffset_(lateralOffset),
      baselineOffset_(baselineOffset),
      code_(borrowCode ? PointCodeRef::Borrow(stored.code.get()) : stored.code),
      tag_(stored.tag) {}

EMStoredPoint EMSurveyPoint::Store() && noexcept {
  EMStoredPoint stored;
  stored.x = x_;
  stored.y = y_;
  stored.elevation = elevation_;
  stored.code = std::move(code_);
  stored.tag = std::move(tag_);
  return stored;
}

void EMSurveyPoint::Initialize(std::string_view idText, double x, double y, double elevation,
                               PointCodeRef codeAndAdjustment, double station, double baselineOffset) {
  tag_ = CompactTag(idText);
  x_ = x;
  y_ = y;
  elevation_ = elevation;
  code_ = std::move(codeAndAdjustment);
  station_ = station;
  baselineOffset_ = baselineOffset;
}

void EMSurveyPoint::Initialize(std::string_view idText, double x, double y, double elevation,
                               double verticalAdjustment, std::string_view code, std::string_view codeDescription,
                               double station, double baselineOffset) {
  PointCodeRef ref;
  if (!code.empty() || !codeDescription.empty() || verticalAdjustment != 0)
    ref = PointCodeRef::Make(std::string(code), std::string(codeDescription), verticalAdjustment);
  Initialize(idText, x, y, elevation, std::move(ref), station, baselineOffset);
}

}  // namespace veldrane
