#pragma once
// The one profile centerline of a PRO survey: its points in file order,
// and nothing else (no range, benchmark, gage or water surface).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/features.h"
#include "readers/fixedcolumn/block_arena.h"
#include "readers/fixedcolumn/interned_code_table.h"
#include "readers/pro/pro_survey_point.h"

namespace veldrane {

class ProProfileCenterline : public IProfileCenterline,
                             public std::enable_shared_from_this<ProProfileCenterline> {
 public:
  // `codes` is the file's code table; the profile keeps it alive for the
  // code entries its points refer to.
  explicit ProProfileCenterline(std::shared_ptr<InternedCodeTable> codes);

  std::shared_ptr<ISurveyPointIterator> Points() override;
  double StartX() override { return 0; }
  double StartY() override { return 0; }
  double Station() override { return 0; }
  std::string AltName() override { return {}; }
  std::shared_ptr<IVerticalControl> Benchmark() override { return nullptr; }
  std::shared_ptr<IGage> Gage() override { return nullptr; }
  std::string FieldBook() override { return {}; }
  std::string PageNumber() override { return {}; }
  double WaterSurfaceElevation() override { return 0; }
  DateTime WaterSurfaceTime() override { return DateTime::Undefined(); }
  DateTime SurveyDate() override { return surveyDate_; }
  std::string Description() override { return {}; }

  void SetSurveyDate(DateTime date) { surveyDate_ = date; }

  // Parses one data line (station, easting, northing, elevation and an
  // optional code, separated by blanks) into a point with identifier `id`.
  // Problems go to `monitor` at its current line; `added` tells whether a
  // point was appended.
  void AddPointFromLine(IMonitor& monitor, std::int32_t id, std::string_view line, bool& added);

  std::size_t PointCount() const { return points_.Size(); }

 private:
  std::shared_ptr<InternedCodeTable> codes_;
  // Grows block by block: points never move (they are handed out by
  // address) and a large profile is never copied to grow.
  BlockArena<ProSurveyPoint> points_;
  DateTime surveyDate_ = DateTime::Undefined();
};

}  // namespace veldrane
