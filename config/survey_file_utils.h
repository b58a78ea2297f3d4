#pragma once
// Procedures shared by the data source and the readers: the survey file the
// current module context is working on, opening a survey or traverse file for the
// host while keeping the error log in step, the test for a survey's
// metadata file, and the planar computations (SquaredDistance, GridAzimuth) of geometry/planar.h,
// which this header makes available to its users.
#include <memory>
#include <string>

#include "geometry/planar.h"
#include "model/features.h"

namespace veldrane {

// The path most recently opened for the host in the current module context. Error
// records raised outside a reader (coordinate system problems) carry it as
// their file name.
const std::string& CurrentSurveyFile();
void SetCurrentSurveyFile(std::string path);

// Makes `path` the current survey file, reads it with the survey factory,
// drops the file's old entries from the error log and moves the new error
// queue into it. Failures of the factory (and a file that does not read as
// a survey) reach the caller as exceptions.
std::shared_ptr<ISurvey> GetSurveyFile(const std::string& path);
// The same for a traverse or baseline file; failures are reported and give
// nullptr.
std::shared_ptr<ITraverse> GetTraverseFile(const std::string& path);

// True when the path ends in ".xml" (any case), names an existing file, and
// the path without those 4 characters names an existing file too: a.em.xml
// is a metadata file only while a.em exists. Failures are reported and give
// false.
bool IsValidSurveyMetadataFile(const std::string& path);

}  // namespace veldrane
