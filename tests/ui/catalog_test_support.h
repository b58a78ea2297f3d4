#pragma once
// What the catalog's tests share: a scratch folder with copies of samples/
// and generated surveys, recorded messages, a catalog window over the
// folder, and waiting for the window's tasks to end.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cstdio>
#include <ostream>
#include <string>

#include "tests/core/temp_dir.h"
#include "ui/catalog_window.h"
#include "ui/survey_reader.h"
#include "ui/task_runner.h"
#include "ui/user_messages.h"

// Readable values in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << "{\"" << texts.join("\", \"").toStdString() << "\"}";
}
QT_END_NAMESPACE

namespace veldrane::ui::test {

inline QString SamplesFolder() { return QString(VELDRANE_SOURCE_DIR) + "/samples"; }

// Every survey file of samples/.
inline QStringList SampleFiles() {
  return QDir(SamplesFolder()).entryList({"*.em", "*.pro", "*.830", "*.83", "*.27", "*.bl"}, QDir::Files, QDir::Name);
}

class CatalogTest : public ::testing::Test {
 protected:
  QString Folder() const { return CatalogPath(QString::fromStdString(dir.path().string())); }
  QString PathOf(const QString& name) const { return Folder() + '/' + name; }
  // Copies samples/<name> into the folder.
  QString CopySample(const QString& name, const QString& as = {}) {
    const QString target = PathOf(as.isEmpty() ? name : as);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::copy(SamplesFolder() + '/' + name, target);
    return target;
  }
  QString Write(const QString& name, const std::string& bytes) {
    QDir().mkpath(QFileInfo(PathOf(name)).absolutePath());
    veldrane::test::WriteFile(NativePath(PathOf(name)), bytes);
    return PathOf(name);
  }
  // `sections` cross sections of `points` points each, 10 ft apart.
  QString WriteSurvey(const QString& name, int sections, int points) {
    std::string text = "#H00 EM09\n#H01 BIG.EM\n#H02 3/14/2011\n#H04 NAD83\n#H06 US SURVEY FEET\n#H07 LA SOUTH\n";
    char line[128];
    for (int s = 0, id = 1; s < sections; ++s) {
      const double y = 690000.0 + 10.0 * s;
      std::snprintf(line, sizeof line, "#X01 3390000 %.3f %.3f %.3f %d+00 XS %d\n", y, 3390010.0 + 5.0 * points, y, s, s);
      text += line;
      for (int p = 0; p < points; ++p, ++id) {
        std::snprintf(line, sizeof line, "%d,%.3f,%.3f,%.2f,GND\n", id, y, 3390000.0 + 5.0 * p, 10.0 + p % 20);
        text += line;
      }
    }
    return Write(name, text);
  }
  static bool WaitIdle(TaskRunner& tasks) { return tasks.WaitUntilIdle(60000); }

  veldrane::test::TempDir dir{"veldrane-catalog-"};
  RecordedMessages messages;
};

// A catalog window over the scratch folder; it keeps no settings.
class CatalogWindowTest : public CatalogTest {
 protected:
  // Selects the object and waits until everything it started is done.
  bool Select(const QString& fullName) {
    bool found = false;
    window.SelectPath(fullName, [&](bool ok) { found = ok; });
    WaitIdle(window.Tasks());
    return found;
  }
  void Open() {
    window.OpenFolder(Folder());
    WaitIdle(window.Tasks());
  }
  // The names of the children of the tree's node for `fullName`.
  QStringList TreeChildren(const QString& fullName) {
    QStringList names;
    for (const CatalogItem& item : window.TreeModel().Children(window.TreeModel().IndexOf(fullName))) names << item.name;
    return names;
  }

  CatalogWindow window{CatalogWindow::Options{&messages, false}};
};

}  // namespace veldrane::ui::test
