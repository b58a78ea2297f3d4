#pragma once
// After a dataset is renamed, the catalog that shows the folder refreshes
// its listing. The desktop catalog installs its refresh here; without one
// nothing happens. Per thread, like all module state.
#include <functional>
#include <string>

namespace veldrane {

// Called with the old and the new full path of the renamed survey file.
using CatalogRefreshHook = std::function<void(const std::string& oldPath, const std::string& newPath)>;

// Installs the hook for the calling thread (an empty function removes it).
void SetCatalogRefreshHook(CatalogRefreshHook hook);
// Calls the calling thread's hook, if any. Failures of the hook are the
// hook's own: they propagate to the caller.
void RefreshCatalogAfterRename(const std::string& oldPath, const std::string& newPath);

}  // namespace veldrane
