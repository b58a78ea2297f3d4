#include "readers/em/em_baseline.h"

#include <vector>

#include "readers/em/em_baseline_point.h"
#include "readers/traverse/tessel_traverse_point_iterator.h"

namespace veldrane {

EMBaseline::EMBaseline() : survey_(std::make_shared<EMSurvey>()) {}

void EMBaseline::OpenSurvey(const std::string& path) { survey_->OpenSurvey(path); }

std::shared_ptr<IInterface> EMBaseline::Open(const std::string& path) {
  auto baseline = std::make_shared<EMBaseline>();
  baseline->OpenSurvey(path);
  return baseline;
}

std::shared_ptr<ITraversePointIterator> EMBaseline::TraversePoints() {
  // The survey keeps its baseline points as plain records; they are made
  // into traverse points per request (a baseline has a few hundred points
  // at most, and the records never change after the read).
  const auto& records = survey_->BaselinePoints();
  std::vector<std::shared_ptr<EMBaselinePoint>> points;
  points.reserve(records.size());
  for (const auto& r : records) points.push_back(std::make_shared<EMBaselinePoint>(r.easting, r.northing, r.station, r.name));
  auto iterator = std::make_shared<TesselTraversePointIterator>();
  iterator->InitTraversePoints(points);
  return iterator;
}

}  // namespace veldrane
