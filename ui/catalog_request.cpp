#include "ui/catalog_request.h"

#include <QDir>
#include <QUrl>

#include "ui/survey_reader.h"

namespace veldrane::ui {

const QStringList& CatalogTabNames() {
  static const QStringList names{"Contents", "Preview", "Table", "Text", "Metadata"};
  return names;
}

QString CatalogRequest::Parse(const QStringList& arguments, CatalogRequest& request) {
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    const bool takesValue = argument == "--select" || argument == "--tab" || argument == "--goto" ||
                            argument == "--find" || argument == "--screenshot";
    if (takesValue && i + 1 >= arguments.size()) return argument + " needs a value";
    if (argument == "--select") {
      request.select = CatalogPath(arguments[++i]);
    } else if (argument == "--tab") {
      const QString tab = arguments[++i];
      const auto known = std::find_if(CatalogTabNames().begin(), CatalogTabNames().end(),
                                      [&](const QString& name) { return name.compare(tab, Qt::CaseInsensitive) == 0; });
      if (known == CatalogTabNames().end()) return "--tab " + tab + ": not one of " + CatalogTabNames().join(", ");
      request.tab = *known;
    } else if (argument == "--goto") {
      const QString target = arguments[++i];
      const int colon = target.lastIndexOf(':');
      bool ok = false;
      const int line = colon > 0 ? target.mid(colon + 1).toInt(&ok) : 0;
      if (!ok || line < 1) return "--goto " + target + ": expected FILE:LINE with a line number of 1 or more";
      request.gotoFile = CatalogPath(target.left(colon));
      request.gotoLine = line;
    } else if (argument == "--edit") {
      request.edit = true;
    } else if (argument == "--find") {
      request.find = arguments[++i];
    } else if (argument == "--screenshot") {
      request.screenshot = QDir::current().absoluteFilePath(arguments[++i]);
    } else if (argument.startsWith("--") || !request.path.isEmpty()) {
      return "unexpected argument " + argument;
    } else {
      request.path = CatalogPath(argument);
    }
  }
  return {};
}

QByteArray CatalogRequest::Serialize() const {
  QByteArray bytes;
  const auto add = [&](const char* key, const QString& value) {
    if (!value.isEmpty()) bytes += QByteArray(key) + '\t' + QUrl::toPercentEncoding(value) + '\n';
  };
  add("path", path);
  add("select", select);
  add("tab", tab);
  add("goto", gotoFile);
  if (HasGoto()) add("line", QString::number(gotoLine));
  if (edit) add("edit", "1");
  add("find", find);
  return bytes;
}

CatalogRequest CatalogRequest::Deserialize(const QByteArray& bytes) {
  CatalogRequest request;
  for (const QByteArray& line : bytes.split('\n')) {
    const int tab = line.indexOf('\t');
    if (tab < 0) continue;
    const QByteArray key = line.left(tab);
    const QString value = QUrl::fromPercentEncoding(line.mid(tab + 1));
    if (key == "path") request.path = value;
    else if (key == "select") request.select = value;
    else if (key == "tab") request.tab = value;
    else if (key == "goto") request.gotoFile = value;
    else if (key == "line") request.gotoLine = value.toInt();
    else if (key == "edit") request.edit = value == "1";
    else if (key == "find") request.find = value;
  }
  return request;
}

}  // namespace veldrane::ui
