#pragma once
// One point of a fixed-column cross section. Points live by value in their
// cross section's list and are handed out as shared pointers that keep the
// section alive; the code and its description are one shared entry of the
// file's code table. 64 bytes a point.
#include <cstdint>
#include <string>

#include "model/constants.h"
#include "model/features.h"
#include "readers/fixedcolumn/interned_code_table.h"

namespace veldrane {

class Corvid830SurveyPoint : public ISurveyPoint {
 public:
  // `code` points into a table that outlives the point (nullptr: no code).
  // The offset along the range line, as written in the file, serves as both
  // Station and BaselineOffset.
  void InitSurveyPoint(std::int32_t id, double x, double y, double z, const InternedCode* code, double offset,
                       double lateralOffset);

  double X() override { return x_; }
  double Y() override { return y_; }
  double Z() override { return z_; }
  std::string Code() override { return code_ ? code_->code : std::string(); }
  std::string CodeDescription() override { return code_ ? code_->description : std::string(); }
  std::int32_t Id() override { return id_; }
  double VerticalAdjustment() override { return 0; }
  double Station() override { return offset_; }
  std::string PointTag() override { return std::to_string(id_); }
  double LateralOffset() override { return lateralOffset_; }
  double BaselineOffset() override { return offset_; }

 private:
  double x_ = kUndefinedNumber;
  double y_ = kUndefinedNumber;
  double z_ = kUndefinedNumber;
  double offset_ = kUndefinedNumber;
  double lateralOffset_ = 0;
  const InternedCode* code_ = nullptr;
  std::int32_t id_ = kUndefinedPointId;
};

}  // namespace veldrane
