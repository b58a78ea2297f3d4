#include "ui/dataset_operations.h"

#include <QDir>
#include <QFileInfo>

#include "config/file_system.h"
#include "config/metadata_writer.h"
#include "host/pugi_xml_property_set.h"
#include "host/workspace.h"
#include "plugin/svy_dataset_helper.h"
#include "plugin/svy_workspace_helper.h"
#include "readers/survey_factory.h"
#include "ui/survey_reader.h"

namespace veldrane::ui {
namespace {

std::shared_ptr<IXmlPropertySet> FilledMetadata(SurveyReader& reader, const QString& path, QString& problem) {
  const QFileInfo file(path);
  SvyWorkspaceHelper workspace;
  workspace.SetWorkspacePath(NativePath(file.absolutePath()));
  reader.Dataset(path, &problem);  // prepares the reader thread
  if (!problem.isEmpty()) return nullptr;
  auto document = workspace.Metadata(NativePath(file.fileName()));
  if (!document) problem = "the metadata could not be made (the file could not be read)";
  return document;
}

}  // namespace

MetadataText ReadMetadataXml(SurveyReader& reader, const QString& path) {
  MetadataText text;
  if (const auto document = FilledMetadata(reader, path, text.problem))
    text.xml = QString::fromStdString(document->GetXml());
  return text;
}

QString WriteMetadataFile(SurveyReader& reader, const QString& path) {
  const std::filesystem::path target = MetadataPathFor(NativePath(path));
  const QString targetName = FromNativePath(target.string());
  if (FileExists(target)) {
    if (IsArchiveAttributeSet(target)) return targetName + " is read-only and was not replaced.";
    GenericSurveyErrorQueue problems;
    LoadXMLPropSetFromFile(target, &problems);
    if (!problems.IsEmpty()) return targetName + " could not be loaded and was not replaced.";
  }
  QString problem;
  const auto document = FilledMetadata(reader, path, problem);
  if (!document) return problem;
  if (const auto failure = document->SaveAsFile(target)) return QString::fromStdString(failure->Description());
  return {};
}

FileOperation CopySurveyFile(SurveyReader& reader, const QString& path, const QString& folder) {
  FileOperation done;
  const auto dataset = reader.Dataset(path, &done.problem);
  if (!dataset) return done;
  const QFileInfo file(path);
  // Where the dataset helper puts the copy.
  QString target = QDir(folder).filePath(file.fileName());
  if (QFileInfo::exists(target)) target = QDir(folder).filePath(file.completeBaseName() + "Copy." + file.suffix());
  if (QFileInfo::exists(target)) {
    done.problem = QFileInfo(target).fileName() + " already exists in " + folder + ".";
    return done;
  }
  dataset->Copy(std::string(), HostWorkspace(NativePath(folder)));
  if (!QFileInfo::exists(target)) done.problem = "The file could not be copied to " + folder + ".";
  done.result = CatalogPath(target);
  return done;
}

FileOperation RenameSurveyFile(SurveyReader& reader, const QString& path, const QString& newName) {
  FileOperation done;
  const QFileInfo file(path);
  const QString target = file.dir().filePath(newName);
  if (newName.isEmpty() || newName.contains('/') || newName == "." || newName == "..") {
    done.problem = "\"" + newName + "\" is not a file name.";
  } else if (!IsValidSurveyFile(NativePath(newName))) {
    done.problem = "\"" + newName + "\" does not end in a survey file extension (.em .cl .830 .pro .27 .83 .bl).";
  } else if (QFileInfo::exists(target)) {
    done.problem = newName + " already exists.";
  }
  const auto dataset = done.problem.isEmpty() ? reader.Dataset(path, &done.problem) : nullptr;
  if (!dataset) return done;
  dataset->Rename(NativePath(newName));
  if (!QFileInfo::exists(target)) {
    reader.Forget(path);  // the helper took the new name all the same
    done.problem = "The file could not be renamed.";
    return done;
  }
  done.result = CatalogPath(target);
  reader.Moved(path, done.result);
  return done;
}

FileOperation DeleteSurveyFile(SurveyReader& reader, const QString& path) {
  FileOperation done;
  const auto dataset = reader.Dataset(path, &done.problem);
  if (!dataset) return done;
  dataset->Delete();
  reader.Forget(path);
  if (QFileInfo::exists(path)) done.problem = "The file could not be deleted.";
  return done;
}

}  // namespace veldrane::ui
