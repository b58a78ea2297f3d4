#pragma once
// One surveyed point of an EM survey, as handed out. Cross sections and
// profiles store only what the file gave (EMStoredPoint) and make these when
// asked; a shot point keeps its own. Either way the handle keeps the
// feature alive, and a large file does not pay one heap block per point.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/constants.h"
#include "model/features.h"
#include "readers/em/em_compact_tag.h"
#include "readers/em/em_compact_text.h"

namespace veldrane {

// What a survey keeps of each point of its cross sections and profiles: the
// values the file gave, 40 bytes. The station and offsets follow from the
// point's feature and are added when the point is handed out (see
// EMSurveyPointIterator), so a survey of millions of points does not store
// them.
struct EMStoredPoint {
  double x = kUndefinedNumber;
  double y = kUndefinedNumber;
  double elevation = kUndefinedNumber;
  PointCodeRef code;  // with the vertical adjustment
  CompactTag tag;
};
static_assert(sizeof(EMStoredPoint) <= 40, "stored points are the bulk of a survey's memory");

class EMSurveyPoint : public ISurveyPoint {
 public:
  EMSurveyPoint() = default;

  // Stores the values; the id text is kept unchanged as the point tag, and
  // Id is its integer value when it is numeric and at most 10 characters.
  void Initialize(std::string_view idText, double x, double y, double elevation, double verticalAdjustment,
                  std::string_view code, std::string_view codeDescription, double station, double baselineOffset);
  // The same with the code and vertical adjustment already interned by the
  // reader.
  void Initialize(std::string_view idText, double x, double y, double elevation, PointCodeRef codeAndAdjustment,
                  double station, double baselineOffset);

  // A stored point with its station and offsets. With `borrowCode` the
  // point borrows the stored point's code entry (see PointCodeRef::Borrow):
  // the caller keeps the stored point alive for as long as this one.
  EMSurveyPoint(const EMStoredPoint& stored, double station, double lateralOffset, double baselineOffset,
                bool borrowCode);
  // What a survey keeps of this point; the station and offsets are left.
  EMStoredPoint Store() && noexcept;

  EMSurveyPoint(const EMSurveyPoint&) = default;
  EMSurveyPoint(EMSurveyPoint&&) noexcept = default;
  EMSurveyPoint& operator=(const EMSurveyPoint&) = default;
  EMSurveyPoint& operator=(EMSurveyPoint&&) noexcept = default;
  ~EMSurveyPoint() override = default;

  double X() override { return x_; }
  double Y() override { return y_; }
  double Z() override { return RawZ(); }
  std::string Code() override { return std::string(code_.Code()); }
  std::string CodeDescription() override { return std::string(code_.Description()); }
  std::int32_t Id() override { return RawId(); }
  double VerticalAdjustment() override { return code_.VerticalAdjustment(); }
  double Station() override { return station_; }
  std::string PointTag() override { return tag_.Str(); }
  double LateralOffset() override { return lateralOffset_; }
  double BaselineOffset() override { return baselineOffset_; }

  // Non-virtual reads for the readers' hot paths.
  double RawX() const { return x_; }
  double RawY() const { return y_; }
  double RawZ() const { return elevation_ + code_.VerticalAdjustment(); }
  // Read from the tag each time: storing it would cost every point 8 bytes.
  std::int32_t RawId() const {
    std::int64_t value = 0;
    std::size_t length = 0;
    if (tag_.Number(value, length)) return IdFromValue(value, length);
    CompactTag::Scratch scratch;
    return IdFromText(tag_.View(scratch));
  }

  // An independent point with the same values.
  std::shared_ptr<EMSurveyPoint> Clone() const { return std::make_shared<EMSurveyPoint>(*this); }

  // The id rule: optional sign then digits, at most 10 characters, and the
  // value fits 32 bits; anything else is 0.
  static std::int32_t IdFromText(std::string_view idText);
  // The same rule for a value already read from text of `textLength`
  // characters.
  static std::int32_t IdFromValue(std::int64_t value, std::size_t textLength) {
    if (textLength > 10 || value < INT32_MIN || value > INT32_MAX) return 0;
    return static_cast<std::int32_t>(value);
  }

 private:
  double x_ = kUndefinedNumber;
  double y_ = kUndefinedNumber;
  double elevation_ = kUndefinedNumber;
  double station_ = kUndefinedNumber;
  double lateralOffset_ = 0;
  double baselineOffset_ = kUndefinedNumber;
  PointCodeRef code_;  // with the vertical adjustment
  CompactTag tag_;
};
static_assert(sizeof(EMSurveyPoint) <= 72, "points are the bulk of a survey's memory");

}  // namespace veldrane
