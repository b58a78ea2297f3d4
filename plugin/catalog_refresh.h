#pragma once
// After a dataset is renamed, the catalog that shows the folder refreshes
// its listing. The desktop catalog installs its refresh here; without one
// nothing happens. Kept in the current module context, like all module state.
#include <string>

#include "config/module_context.h"

namespace veldrane {

// Installs the hook in the current module context (an empty function
// removes it).
void SetCatalogRefreshHook(CatalogRefreshHook hook);
// Calls the current context's hook, if any. Failures of the hook are the
// hook's own: they propagate to the caller.
void RefreshCatalogAfterRename(const std::string& oldPath, const std::string& newPath);

}  // namespace veldrane
