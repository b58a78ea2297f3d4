#include "ui/catalog_settings.h"

namespace veldrane::ui {

QString CatalogSettings::Text(const char* name) const {
  const auto value = store_.GetValue(kCatalogSettingsKey, name);
  return value ? QString::fromStdString(RegValueText(*value)) : QString();
}

void CatalogSettings::SetText(const char* name, const QString& value) const {
  std::error_code ignored;
  store_.SetValue(kCatalogSettingsKey, name, value.toStdString(), ignored);
}

}  // namespace veldrane::ui
