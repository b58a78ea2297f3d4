#pragma once
// What the data source asks of the readers: opening a survey or traverse
// file for the host while keeping the error log in step (the file becomes
// the module context's current survey file), and the test for a survey's
// metadata file.
#include <memory>
#include <string>

#include "model/features.h"

namespace veldrane {

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
