#pragma once
// One point of a PRO profile. Points live by value in their profile's list
// and are handed out as shared pointers that keep the profile alive; the
// code and its description are one shared entry of the file's code table.
#include <cstdint>
#include <string>

#include "model/constants.h"
#include "model/features.h"
#include "readers/fixedcolumn/interned_code_table.h"

namespace veldrane {

class ProSurveyPoint : public ISurveyPoint {
 public:
  // `code` points into a table that outlives the point (nullptr: no code).
  void Init(std::int32_t id, double station, double x, double y, double z, const InternedCode* code);

  double X() override { return x_; }
  double Y() override { return y_; }
  double Z() override { return z_; }
  std::string Code() override { return code_ ? code_->code : std::string(); }
  std::string CodeDescription() override { return code_ ? code_->description : std::string(); }
  std::int32_t Id() override { return id_; }
  double VerticalAdjustment() override { return 0; }
  double Station() override { return station_; }
  std::string PointTag() override { return std::to_string(id_); }
  double LateralOffset() override { return 0; }
  double BaselineOffset() override { return 0; }

 private:
  double station_ = kUndefinedNumber;
  double x_ = kUndefinedNumber;
  double y_ = kUndefinedNumber;
  double z_ = kUndefinedNumber;
  const InternedCode* code_ = nullptr;
  std::int32_t id_ = kUndefinedPointId;
};

}  // namespace veldrane
