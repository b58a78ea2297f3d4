#pragma once
// Procedures shared by the data source and the readers: the survey file the
// calling thread is working on, the test for a survey's metadata file, and
// the planar computations (SquaredDistance, GridAzimuth) of geometry/planar.h,
// which this header makes available to its users.
#include <string>

#include "geometry/planar.h"

namespace veldrane {

// The path most recently opened for the host on the calling thread. Error
// records raised outside a reader (coordinate system problems) carry it as
// their file name.
const std::string& CurrentSurveyFile();
void SetCurrentSurveyFile(std::string path);

// True when the path ends in ".xml" (any case), names an existing file, and
// the path without those 4 characters names an existing file too: a.em.xml
// is a metadata file only while a.em exists. Failures are reported and give
// false.
bool IsValidSurveyMetadataFile(const std::string& path);

}  // namespace veldrane
