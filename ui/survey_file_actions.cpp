#include "ui/survey_file_actions.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "ui/catalog_tree_model.h"
#include "ui/dataset_operations.h"
#include "ui/export_task.h"
#include "ui/survey_reader.h"
#include "ui/task_runner.h"
#include "ui/user_messages.h"

namespace veldrane::ui {

SurveyFileActions::SurveyFileActions(SurveyReader& reader, TaskRunner& tasks, UserMessages& messages, QObject* parent)
    : QObject(parent), reader_(reader), tasks_(tasks), messages_(messages) {}

void SurveyFileActions::Populate(QMenu& menu, const CatalogItem& item) {
  if (item.kind != CatalogItem::Kind::SurveyFile) return;
  const QString path = item.path;
  menu.addAction("Copy", this, [this, path] { Copy(path); });
  menu.addAction("Rename", this, [this, path] { Rename(path); });
  menu.addAction("Delete", this, [this, path] { Delete(path); });
  menu.addSeparator();
  menu.addAction("Export to GeoPackage…", this, [this, path] { ExportToGeoPackage(path); });
  menu.addAction("Write Metadata", this, [this, path] { WriteMetadata(path); });
}

void SurveyFileActions::Copy(const QString& path) {
  const auto folder = messages_.AskFolder("Copy " + QFileInfo(path).fileName() + " To", QFileInfo(path).absolutePath());
  if (!folder) return;
  SurveyReader* reader = &reader_;
  const QString target = CatalogPath(*folder);
  reader_.Run<FileOperation>(
      this, tasks_, "Copying " + QFileInfo(path).fileName(),
      [reader, path, target](TaskProgress&) { return CopySurveyFile(*reader, path, target); },
      [this, target](FileOperation done, bool) {
        if (!done.problem.isEmpty()) return messages_.Inform(done.problem, "Copy", MessageIcon::Warning);
        emit status("Copied to " + done.result);
        emit folderChanged(target);
      });
}

void SurveyFileActions::Rename(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  const auto newName = messages_.AskText("New name:", "Rename " + name, name);
  if (!newName || *newName == name) return;
  SurveyReader* reader = &reader_;
  reader_.Run<FileOperation>(
      this, tasks_, "Renaming " + name,
      [reader, path, newName = newName->trimmed()](TaskProgress&) { return RenameSurveyFile(*reader, path, newName); },
      [this](FileOperation done, bool) {
        if (!done.problem.isEmpty()) messages_.Inform(done.problem, "Rename", MessageIcon::Warning);
      });
}

void SurveyFileActions::Delete(const QString& path) {
  const QFileInfo file(path);
  const QString question = QFileInfo::exists(path + ".xml")
                               ? QString("Delete %1 and its metadata file %1.xml?").arg(file.fileName())
                               : QString("Delete %1?").arg(file.fileName());
  if (!messages_.AskYesNo(question, "Confirm Delete")) return;
  SurveyReader* reader = &reader_;
  reader_.Run<FileOperation>(
      this, tasks_, "Deleting " + file.fileName(),
      [reader, path](TaskProgress&) { return DeleteSurveyFile(*reader, path); },
      [this, path](FileOperation done, bool) {
        if (!done.problem.isEmpty()) messages_.Inform(done.problem, "Delete", MessageIcon::Warning);
        emit fileDeleted(path);
        emit folderChanged(QFileInfo(path).absolutePath());
      });
}

void SurveyFileActions::ExportToGeoPackage(const QString& path) {
  const QFileInfo file(path);
  const auto chosen = messages_.AskSaveFile("Export to GeoPackage", file.dir().filePath(file.completeBaseName() + ".gpkg"),
                                            "GeoPackage (*.gpkg)");
  if (!chosen) return;
  const QString output = CatalogPath(*chosen);
  const bool overwrite = QFileInfo::exists(output);
  if (overwrite && !messages_.AskYesNo(QFileInfo(output).fileName() + " already exists. Do you want to replace it?",
                                       "Export to GeoPackage"))
    return;
  tasks_.Run<ExportOutcome>(
      this, "Exporting " + file.fileName(), *QThreadPool::globalInstance(),
      [path, output, overwrite](TaskProgress& progress) { return ExportSurveyFile(path, output, overwrite, progress); },
      [this, output](ExportOutcome outcome, bool) {
        if (outcome.cancelled) return emit status("Export cancelled; nothing was written.");
        if (!outcome.ok) return messages_.Inform(outcome.problem, "Export to GeoPackage", MessageIcon::Warning);
        emit status(QString("Exported %1 layers, %2 features to %3").arg(outcome.layers).arg(outcome.features).arg(output));
        emit folderChanged(QFileInfo(output).absolutePath());
      });
}

void SurveyFileActions::WriteMetadata(const QString& path) {
  SurveyReader* reader = &reader_;
  reader_.Run<QString>(
      this, tasks_, "Writing the metadata of " + QFileInfo(path).fileName(),
      [reader, path](TaskProgress&) { return WriteMetadataFile(*reader, path); },
      [this, path](QString problem, bool) {
        if (!problem.isEmpty()) return messages_.Inform(problem, "Write Metadata", MessageIcon::Warning);
        emit status("Metadata written to " + path + ".xml");
        emit metadataWritten(path);
      });
}

}  // namespace veldrane::ui
