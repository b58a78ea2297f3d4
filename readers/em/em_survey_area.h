#pragma once
// A survey area: an exterior ring, holes inside it and islands inside a
// hole, with the attributes of its "#A01" declaration. Points join the ring
// currently being filled; a hole vertex outside the exterior ring, or an
// island vertex outside its hole, rejects that hole or island as a whole.
#include <memory>
#include <string>

#include "model/date_time.h"
#include "model/features.h"
#include "model/string_builder.h"
#include "model/survey_error.h"
#include "readers/em/em_area_ring.h"
#include "readers/em/em_survey_point.h"

namespace veldrane {

class EMSurveyArea : public ISurveyArea {
 public:
  EMSurveyArea();

  // The monitor is the reader, which outlives its areas.
  void InitSurveyArea(IMonitor* monitor) { monitor_ = monitor; }
  void SetAltName(std::string v) { altName_ = std::move(v); }
  void SetBenchmark(std::shared_ptr<IVerticalControl> v) { benchmark_ = std::move(v); }
  void SetFieldBook(std::string v) { fieldBook_ = std::move(v); }
  void SetPageNumber(std::string v) { pageNumber_ = std::move(v); }
  void SetSurveyDate(DateTime v) { date_ = v; }
  void SetGage(std::shared_ptr<IGage> v) { gage_ = std::move(v); }
  void AddDescription(const std::string& text) { description_.Append(text); }
  void ClearDescription() { description_.Clear(); }

  // Starts a hole in the exterior ring; following points go to it.
  void AddNewHole();
  // Starts an island in the current hole; false (and nothing changes) when
  // the area has no hole.
  bool AddNewIsland();
  void AddExteriorPoint(const EMSurveyPoint& point);
  // Adds the point to the current hole when it lies inside the exterior
  // ring; otherwise removes the hole, leaves it and returns false.
  bool AddPointToHole(const EMSurveyPoint& point);
  // Adds the point to the current island when it lies inside the current
  // hole; otherwise removes the island, leaves it and returns false.
  bool AddPointToIsland(const EMSurveyPoint& point);
  bool InHole() const { return inHole_; }
  bool InIsland() const { return inIsland_; }
  const std::shared_ptr<EMAreaRing>& ExteriorRing() const { return exterior_; }

  // ISurveyArea
  std::shared_ptr<IAreaRing> AreaRing() override { return exterior_; }
  std::string AltName() override { return altName_; }
  std::shared_ptr<IVerticalControl> Benchmark() override { return benchmark_; }
  std::string FieldBook() override { return fieldBook_; }
  std::string PageNumber() override { return pageNumber_; }
  DateTime SurveyDate() override { return date_; }
  std::string Description() override { return description_.ToString(); }
  std::shared_ptr<IGage> Gage() override { return gage_; }
  // Only the gage gives an area its water surface.
  double WaterSurfaceElevation() override;
  DateTime WaterSurfaceTime() override;

 private:
  std::shared_ptr<EMAreaRing> exterior_;
  StringBuilder description_;
  bool inHole_ = false;
  bool inIsland_ = false;
  IMonitor* monitor_ = nullptr;
  std::string altName_, fieldBook_, pageNumber_;
  DateTime date_ = DateTime::Undefined();
  std::shared_ptr<IVerticalControl> benchmark_;
  std::shared_ptr<IGage> gage_;
};

}  // namespace veldrane
