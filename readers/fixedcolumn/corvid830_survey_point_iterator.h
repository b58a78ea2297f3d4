#pragma once
// The points of a fixed-column cross section, in file order; GetItem 0-based.
#include <memory>
#include <vector>

#include "model/features.h"
#include "model/iterators.h"

namespace veldrane {

class Corvid830SurveyPointIterator : public ListIterator<ISurveyPointIterator, ISurveyPoint, 0> {
 public:
  // Takes the list as it is and rewinds.
  void InitPoints(std::vector<std::shared_ptr<ISurveyPoint>> points) { Assign(std::move(points)); }
};

}  // namespace veldrane
