#include "gdal/survey_identify.h"

#include <algorithm>
#include <string_view>

#include <cpl_string.h>
#include <cpl_vsi.h>
#include <gdal_priv.h>

#include "config/file_access.h"
#include "gdal/vsi_file_access.h"
#include "readers/survey_content.h"
#include "readers/survey_factory.h"

namespace veldrane::ogr {
namespace {

// GDAL reads 1,024 bytes for every open; a file that holds only blank or
// comment lines that far is given this many before it is turned down.
constexpr std::size_t kHeaderBytes = 1024;
constexpr std::size_t kMoreBytes = 64 * 1024;

// The content test on the first bytes, and on more when those hold no
// record yet. `read(count, bytes)` gives the file's first `count` bytes (or
// all it has); false when the file cannot be read.
template <class Read>
bool PassesContentTest(const std::string& path, Read&& read) {
  for (const std::size_t count : {kHeaderBytes, kMoreBytes}) {
    std::string_view bytes;
    if (!read(count, bytes)) return false;
    const SurveyContent verdict = SurveyContentOf(path, bytes, bytes.size() < count);
    if (verdict != SurveyContent::Undecided) return verdict == SurveyContent::Survey;
  }
  return false;
}

// Reads up to `count` bytes from the start of the file; false when it
// cannot be opened. Through the file access, so a FIFO or device named like
// a survey file is turned down without being opened (an open would wait for
// a writer).
bool ReadStart(const std::string& path, std::string& bytes, std::size_t count) {
  try {
    const auto file = CurrentFileAccess().OpenForReading(path);
    if (!file) return false;
    bytes.resize(count);
    bytes.resize(file->Read(bytes.data(), count));  // short only at the end
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

bool FileHoldsSurvey(const std::string& path) {
  if (!IsValidSurveyFile(path)) return false;
  std::string buffer;
  return PassesContentTest(path, [&](std::size_t count, std::string_view& bytes) {
    if (!ReadStart(path, buffer, count)) return false;
    bytes = buffer;
    return true;
  });
}

std::vector<std::string> SurveyFilesIn(const std::string& folder, bool firstOnly) {
  std::vector<std::string> found;
  const CPLStringList names(VSIReadDir(folder.c_str()), TRUE);
  for (int i = 0; i < names.size(); ++i) {
    const std::string name = names[i];
    if (name == "." || name == ".." || !IsValidSurveyFile(name)) continue;
    if (!FileHoldsSurvey(CPLFormFilename(folder.c_str(), name.c_str(), nullptr))) continue;
    found.push_back(name);
    if (firstOnly) break;
  }
  std::sort(found.begin(), found.end());
  return found;
}

bool IdentifySurvey(GDALOpenInfo& info) {
  const std::string path = info.pszFilename != nullptr ? info.pszFilename : "";
  if (path.empty()) return false;
  if (info.bIsDirectory) return !SurveyFilesIn(path, true).empty();
  // A gzip-compressed survey ("/vsigzip/.../a.em.gz") is looked at as the
  // survey it holds ("a.em"): GDAL's header bytes are already decompressed.
  const std::string name = SurveyNameOf(path);
  if (info.fpL == nullptr || !IsValidSurveyFile(name)) return false;
  // The bytes GDAL read already; more only when they are not enough.
  return PassesContentTest(name, [&](std::size_t count, std::string_view& bytes) {
    if (count > kHeaderBytes && !info.TryToIngest(static_cast<int>(count))) return false;
    bytes = {reinterpret_cast<const char*>(info.pabyHeader), static_cast<std::size_t>(info.nHeaderBytes)};
    return true;
  });
}

}  // namespace veldrane::ogr
