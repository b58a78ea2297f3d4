#pragma once
// What the catalog keeps between runs, in the settings store (the
// registry's stand-in) under "Software\Fennick\Veldrane\Catalog": the main
// window's place and size, the layout of its docks and tool windows (the
// error log window's place among them), the last folder and the last tab.
// A value that cannot be written is simply not kept.
#include <QByteArray>
#include <QString>

#include "config/settings_store.h"

namespace veldrane::ui {

inline constexpr const char* kCatalogSettingsKey = "Software\\Fennick\\Veldrane\\Catalog";

class CatalogSettings {
 public:
  explicit CatalogSettings(SettingsStore store = SettingsStore()) : store_(std::move(store)) {}

  QByteArray WindowGeometry() const { return Bytes("WindowGeometry"); }
  void SetWindowGeometry(const QByteArray& value) const { SetBytes("WindowGeometry", value); }
  QByteArray WindowState() const { return Bytes("WindowState"); }
  void SetWindowState(const QByteArray& value) const { SetBytes("WindowState", value); }
  QString LastFolder() const { return Text("LastFolder"); }
  void SetLastFolder(const QString& value) const { SetText("LastFolder", value); }
  QString LastTab() const { return Text("LastTab"); }
  void SetLastTab(const QString& value) const { SetText("LastTab", value); }

 private:
  QString Text(const char* name) const;
  void SetText(const char* name, const QString& value) const;
  QByteArray Bytes(const char* name) const { return QByteArray::fromBase64(Text(name).toLatin1()); }
  void SetBytes(const char* name, const QByteArray& value) const { SetText(name, QString::fromLatin1(value.toBase64())); }

  SettingsStore store_;
};

}  // namespace veldrane::ui
