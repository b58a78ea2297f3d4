#pragma once
// The context menu of a survey file in the tree: "Copy", "Rename",
// "Delete" (asked first; the metadata file goes with it), "Export to
// GeoPackage…" and "Write Metadata". Each runs as a task; when it is done
// the catalog is told what changed so that it lists the folder again (a
// rename reaches it through the data source's catalog refresh hook).
#include <QObject>
#include <QString>

class QMenu;

namespace veldrane::ui {

class SurveyReader;
class TaskRunner;
class UserMessages;
struct CatalogItem;

class SurveyFileActions : public QObject {
  Q_OBJECT

 public:
  SurveyFileActions(SurveyReader& reader, TaskRunner& tasks, UserMessages& messages, QObject* parent = nullptr);

  // Adds the actions for the object (only survey files have any).
  void Populate(QMenu& menu, const CatalogItem& item);

  void Copy(const QString& path);
  void Rename(const QString& path);
  void Delete(const QString& path);
  void ExportToGeoPackage(const QString& path);
  void WriteMetadata(const QString& path);

 signals:
  void folderChanged(const QString& folder);
  void fileDeleted(const QString& path);
  void metadataWritten(const QString& path);
  void status(const QString& text);

 private:
  SurveyReader& reader_;
  TaskRunner& tasks_;
  UserMessages& messages_;
};

}  // namespace veldrane::ui
