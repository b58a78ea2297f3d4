#pragma once
// What the catalog does to a survey file, through the data source, on the
// reader thread: its metadata document (read, and written beside the file),
// and copy, rename and delete with the metadata file (the dataset helper's
// own operations). Each says in plain words why it did not happen.
#include <QString>

namespace veldrane::ui {

class SurveyReader;

struct MetadataText {
  QString xml;
  QString problem;
};

// The document `veldrane metadata FILE` prints: FILE.xml (or a new one)
// filled from the file's own values.
MetadataText ReadMetadataXml(SurveyReader& reader, const QString& path);
// Saves that document as FILE.xml. A read-only FILE.xml, or one that cannot
// be loaded, is never replaced. Returns the problem, empty on success.
QString WriteMetadataFile(SurveyReader& reader, const QString& path);

struct FileOperation {
  QString problem;  // empty when it was done
  QString result;   // the copy or the renamed file
};

// Into `folder`; where the name is taken the copy is "<base>Copy.<ext>".
FileOperation CopySurveyFile(SurveyReader& reader, const QString& path, const QString& folder);
// `newName` is a file name in the same folder with a survey extension.
FileOperation RenameSurveyFile(SurveyReader& reader, const QString& path, const QString& newName);
FileOperation DeleteSurveyFile(SurveyReader& reader, const QString& path);

}  // namespace veldrane::ui
