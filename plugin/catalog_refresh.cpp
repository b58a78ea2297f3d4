#include "plugin/catalog_refresh.h"

namespace veldrane {
namespace {
thread_local CatalogRefreshHook tHook;
}  // namespace

void SetCatalogRefreshHook(CatalogRefreshHook hook) { tHook = std::move(hook); }

void RefreshCatalogAfterRename(const std::string& oldPath, const std::string& newPath) {
  if (tHook) tHook(oldPath, newPath);
}

}  // namespace veldrane
