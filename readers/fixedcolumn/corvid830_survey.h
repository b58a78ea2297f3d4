#pragma once
// Reader of fixed-column cross-section files (".830"): "T" header records,
// then one block of lines per cross section, each block closed by the first
// line after its first that holds "9999999".
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "readers/fixedcolumn/corvid830_cross_section.h"
#include "readers/fixedcolumn/corvid830_survey_point.h"
#include "readers/fixedcolumn/fixed_column_survey_base.h"
#include "readers/fixedcolumn/line_source.h"

namespace veldrane {

class Corvid830Survey : public FixedColumnSurveyBase {
 public:
  Corvid830Survey();

  // Reads the whole file. Bad data never stops the read, except a geodetic
  // azimuth that is no number: that ends it (reported), keeping what was
  // read before. Nothing is thrown for bad data.
  void OpenSurvey(const std::string& fileName);
  // A new survey read from `path`: the survey factory's opener.
  static std::shared_ptr<IInterface> Open(const std::string& path);

  // Sections with at least one point, in file order.
  std::shared_ptr<ICrossSectionIterator> CrossSections() override;
  // The sections' benchmarks, each distinct one once; every repeat is
  // reported (severity 0) on every call.
  std::shared_ptr<IVerticalControlIterator> VerticalControls() override;
  // The sections' gage readings, each distinct one once; every repeat is
  // reported (severity 0) on every call.
  std::shared_ptr<IGageIterator> Gages() override;

  // The identifier the next point receives; identifiers run through the
  // whole file.
  std::int32_t CurrentPID() const { return currentPid_; }
  void SetCurrentPID(std::int32_t pid) { currentPid_ = pid; }

  // Every section read, also those without points.
  const std::vector<std::shared_ptr<Corvid830CrossSection>>& AllCrossSections() const { return sections_; }

  // Working list the sections parse their points into, reused block after
  // block so that each section keeps an exactly sized list.
  std::vector<Corvid830SurveyPoint>& ScratchPoints() { return scratch_; }
  // Where the sections keep their points.
  const std::shared_ptr<BlockArena<Corvid830SurveyPoint>>& PointArena() const { return arena_; }

 private:
  void ReadRecords(LineSource& lines);
  // Parses one block into a new section; false when reading must stop.
  bool AddCrossSection(std::string_view record);

  std::vector<std::shared_ptr<Corvid830CrossSection>> sections_;
  std::vector<Corvid830SurveyPoint> scratch_;
  std::shared_ptr<BlockArena<Corvid830SurveyPoint>> arena_;
  std::int32_t currentPid_ = 0;
};

}  // namespace veldrane
