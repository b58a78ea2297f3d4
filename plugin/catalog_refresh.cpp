#include "plugin/catalog_refresh.h"

namespace veldrane {

void SetCatalogRefreshHook(CatalogRefreshHook hook) { CurrentModuleContext().SetCatalogRefresh(std::move(hook)); }

void RefreshCatalogAfterRename(const std::string& oldPath, const std::string& newPath) {
  // A copy: the hook may replace itself while it runs.
  const CatalogRefreshHook hook = CurrentModuleContext().CatalogRefresh();
  if (hook) hook(oldPath, newPath);
}

}  // namespace veldrane
