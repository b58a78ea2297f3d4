#include "config/settings_paths.h"

#include <dlfcn.h>

#include "config/file_system.h"
#include "config/module_context.h"
#include "config/reg_helper.h"

#ifndef VELDRANE_DATA_DIR
#define VELDRANE_DATA_DIR "/usr/local/share/veldrane"
#endif

namespace veldrane {
namespace fs = std::filesystem;

namespace {

struct Resource {
  const char* valueName;  // under the paths key
  const char* localName;  // the name looked for beside the library and in the data folder
  bool isFolder;
};

constexpr Resource kDomainTable{"DomainFilePath", "DOMAINS.csv", false};
constexpr Resource kCoordSysTable{"CoordSysFilePath", "COORDSYS.csv", false};
constexpr Resource kPrjFolder{"PrjPath", "coordsys", true};

fs::path BinaryFolder() {
  Dl_info info{};
  // Any function of this library locates the binary it was linked into: the
  // executable, or the shared object (such as the OGR driver plug-in).
  if (::dladdr(reinterpret_cast<void*>(&BinaryFolder), &info) != 0 && info.dli_fname) {
    const fs::path file(info.dli_fname);
    // A plug-in loaded from a relative driver path is reported relative to
    // the working folder. The main program is reported by the name it was
    // started with, which may be a bare name found on PATH; /proc/self/exe
    // is exact for it.
    std::error_code ec;
    const fs::path absolute = file.is_absolute() ? file : fs::absolute(file, ec);
    if (!ec && (file.is_absolute() || fs::is_regular_file(absolute, ec))) {
      const auto resolved = fs::weakly_canonical(absolute, ec);
      return (ec ? absolute : resolved).parent_path();
    }
  }
  std::error_code ec;
  const auto self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : self.parent_path();
}

std::string Resolve(const Resource& resource, std::string& cache) {
  if (!cache.empty()) return cache;
  const auto folder = LibraryFolder();
  if (!folder.empty()) {
    const auto beside = folder / resource.localName;
    if (resource.isFolder ? FolderExists(beside) : FileExists(beside)) {
      cache = beside.string();
      return cache;
    }
  }
  const auto fallback = (BuiltInDataFolder() / resource.localName).string();
  cache = RegValueText(RegHelper().GetKeyValue(kVeldranePathsKey, resource.valueName, Hive::LocalMachine, fallback));
  // A key without the value resolves to nothing; the default serves then,
  // and caching it keeps the key from being consulted again.
  if (cache.empty()) cache = fallback;
  return cache;
}

ResolvedSettingsPaths& Cache() { return CurrentModuleContext().SettingsPaths(); }

}  // namespace

std::string DomainFilePath() { return Resolve(kDomainTable, Cache().domainFile); }
std::string CoordSysFilePath() { return Resolve(kCoordSysTable, Cache().coordSysFile); }
std::string PrjPath() { return Resolve(kPrjFolder, Cache().prjFolder); }

fs::path LibraryFolder() {
  if (const auto& folder = Cache().libraryFolderOverride) return *folder;
  return BinaryFolder();
}

fs::path BuiltInDataFolder() { return fs::path(VELDRANE_DATA_DIR); }

void ResetSettingsPathsCache() {
  auto& cache = Cache();
  cache.domainFile.clear();
  cache.coordSysFile.clear();
  cache.prjFolder.clear();
}

void SetLibraryFolderForTesting(std::optional<fs::path> folder) { Cache().libraryFolderOverride = std::move(folder); }

}  // namespace veldrane
