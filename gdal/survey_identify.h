#pragma once
// Which paths the driver claims: a survey file whose first bytes pass the
// content test of readers/survey_content.h, or a folder holding at least one
// such file. GDAL asks plugins first, so claiming anything else would hide
// it from every other driver.
//
// Only GDAL's open information and VSI calls are used, so identification
// works on virtual paths (/vsimem/, /vsizip/, ...) as well. A file is judged
// by the header bytes GDAL read already (more only when they hold nothing
// but blank lines); a folder by one listing of names (no status calls),
// reading the first bytes of the files whose extension is a survey
// extension until one passes.
#include <string>
#include <vector>

class GDALOpenInfo;

namespace veldrane::ogr {

bool IdentifySurvey(GDALOpenInfo& info);

// Whether the file passes the content test.
bool FileHoldsSurvey(const std::string& path);

// The names of the files of `folder` that pass, sorted; only the first
// found when `firstOnly`.
std::vector<std::string> SurveyFilesIn(const std::string& folder, bool firstOnly = false);

}  // namespace veldrane::ogr
