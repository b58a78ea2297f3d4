#pragma once
// Where the three configuration resources are: the value domain table, the
// coordinate system table and the folder of projection files. Each is found
// by the same rule, once per module context (the result is cached there):
//   1. a copy beside the library (the folder of the executable or shared
//      object that contains this code) wins;
//   2. otherwise the path stored under "Software\Fennick\Veldrane\Paths"
//      (settings store, environment overrides included);
//   3. otherwise the built-in default in the installed data folder, after a
//      warning that the key is missing.
#include <filesystem>
#include <optional>
#include <string>

namespace veldrane {

std::string DomainFilePath();
std::string CoordSysFilePath();
std::string PrjPath();

// The folder of the binary holding this library: found from the address of
// one of its functions, falling back to the running executable.
std::filesystem::path LibraryFolder();

// The installed data folder the built-in defaults point into.
std::filesystem::path BuiltInDataFolder();

// Forgets the current module context's resolved paths, so the next call resolves
// again (tests; also after the settings were changed).
void ResetSettingsPathsCache();

// Makes LibraryFolder() answer `folder` in the current module context (nullopt
// restores the real folder). For tests of the beside-the-library rule.
void SetLibraryFolderForTesting(std::optional<std::filesystem::path> folder);

}  // namespace veldrane
