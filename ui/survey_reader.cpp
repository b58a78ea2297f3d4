#include "ui/survey_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <algorithm>
#include <filesystem>

#include "gdal/survey_report.h"
#include "host/coordinate_system.h"
#include "host/fields.h"
#include "host/geometry_def.h"
#include "model/notifier.h"
#include "model/survey_error.h"
#include "plugin/catalog_refresh.h"
#include "plugin/svy_dataset_helper.h"
#include "plugin/svy_workspace_factory_helper.h"
#include "plugin/svy_workspace_helper.h"
#include "readers/survey_factory.h"

namespace veldrane::ui {

std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FromNativePath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

QString CatalogPath(const QString& path) {
  if (path.isEmpty()) return path;
  return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString PathBelow(const QString& folder, const QString& name) {
  return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

bool IsWithin(const QString& fullName, const QString& object) {
  return fullName == object || fullName.startsWith(object.endsWith('/') ? object : object + '/');
}

FolderListing ListFolder(const QString& folder, TaskProgress& progress) {
  FolderListing listing;
  listing.path = folder;
  namespace fs = std::filesystem;
  std::error_code ec;
  QStringList folders;
  fs::directory_iterator it(NativePath(folder), ec);
  if (ec) {
    listing.problem = QString::fromStdString(ec.message());
    return listing;
  }
  for (const fs::directory_iterator end; it != end && !progress.IsCancel(); it.increment(ec)) {
    progress.Step();
    std::error_code kind;
    const QString name = FromNativePath(it->path().filename().string());
    if (it->is_directory(kind) && !name.startsWith('.')) folders << name;
  }
  // The survey files are what the workspace helper lists as datasets.
  SvyWorkspaceHelper workspace;
  workspace.SetWorkspacePath(NativePath(folder));
  QVector<FolderEntry> files;
  if (const auto names = workspace.DatasetNames(kDatasetTypeAny)) {
    for (std::int32_t i = 0; i < names->Count(); ++i) {
      const std::string name = names->Element(i)->LocalDatasetName();
      files.push_back({FromNativePath(name), IsValidTraverseFile(name) ? FolderEntry::Kind::Traverse
                                                                       : FolderEntry::Kind::Survey});
    }
  }
  const auto byName = [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), [&](const FolderEntry& a, const FolderEntry& b) { return byName(a.name, b.name); });
  for (const QString& name : folders) listing.entries.push_back({name, FolderEntry::Kind::Folder});
  listing.entries += files;
  return listing;
}

QString CoordinateSystemOf(SvyDatasetHelper& dataset) {
  return QString::fromStdString(ogr::CoordinateSystemText(GetCoordinateSystem(dataset.CoordinateSystemCode()).get()));
}

std::vector<ErrorLogEntry> TakeFileErrors(const QString& path) {
  const ErrorLogFile* file = ErrorLog().FindFile(NativePath(path));
  return file != nullptr ? file->errors : std::vector<ErrorLogEntry>{};
}

void ReplaceFileErrors(ErrorLogModel& log, const QString& path, const std::vector<ErrorLogEntry>& entries) {
  log.RemoveSurveyFileFromErrorTreeGUI(NativePath(path));
  GenericSurveyErrorQueue queue;
  for (const ErrorLogEntry& e : entries)
    queue.Push(std::make_shared<GenericSurveyError>(e.file, e.line, e.description, e.severity));
  log.PullErrors(queue);
}

// The reader thread's notifier: what the library reports while working for
// the catalog goes to the UI thread, and the newest text is kept so that a
// failed read can say why.
class SurveyReader::Notices final : public INotifier {
 public:
  explicit Notices(SurveyReader& reader) : reader_(reader) {}
  void Notify(NoticeKind, const std::string& title, const std::string& text) override {
    last = QString::fromStdString(text).trimmed();
    emit reader_.notice(QString::fromStdString(title), last);
  }
  QString last;

 private:
  SurveyReader& reader_;
};

SurveyReader::SurveyReader(QObject* parent)
    : QObject(parent), context_(CurrentModuleContext().Derive()), notices_(std::make_unique<Notices>(*this)) {
  context_->SetCatalogRefresh([this](const std::string& oldPath, const std::string& newPath) {
    emit renamed(FromNativePath(oldPath), FromNativePath(newPath));
  });
  thread_.setMaxThreadCount(1);
  thread_.setExpiryTimeout(-1);
}

SurveyReader::~SurveyReader() { thread_.waitForDone(); }

SurveyReader::Working::Working(SurveyReader& reader) : context_(*reader.context_), notifier_(reader.notices_.get()) {
  if (!reader.factory_) reader.factory_ = std::make_unique<SvyWorkspaceFactoryHelper>();
}

std::shared_ptr<SvyDatasetHelper> SurveyReader::Dataset(const QString& path, QString* problem) {
  if (const auto it = datasets_.find(path); it != datasets_.end()) return it->second;
  const QFileInfo file(path);
  if (!file.isFile()) {
    if (problem != nullptr) *problem = "no such file";
    return nullptr;
  }
  SvyWorkspaceHelper workspace;
  workspace.SetWorkspacePath(NativePath(file.absolutePath()));
  auto helper = workspace.MakeDatasetHelper(NativePath(file.fileName()));
  datasets_[path] = helper;
  return helper;
}

void SurveyReader::Forget(const QString& path) { datasets_.erase(path); }

void SurveyReader::Moved(const QString& oldPath, const QString& newPath) {
  const auto it = datasets_.find(oldPath);
  if (it == datasets_.end()) return;
  auto helper = it->second;
  datasets_.erase(it);
  if (!newPath.isEmpty()) datasets_[newPath] = helper;
}

namespace {

qint64 CountRecords(SvyDatasetHelper& dataset, std::int32_t index, const Fields& fields, TaskProgress& progress) {
  const auto cursor = dataset.FetchAll(index, "", FieldMap::NoValues(static_cast<std::size_t>(fields.FieldCount())));
  qint64 count = 0;
  while (cursor && !cursor->IsFinished()) {
    ++count;
    if ((count & 0xffff) == 0 && progress.IsCancel()) break;
    try {
      cursor->NextRecord();
    } catch (const RaisedError&) {
      break;  // "No next record"
    }
  }
  return count;
}

// Problems found while the classes were walked (stations, baseline offsets)
// join the log like those found while reading.
void PullLateErrors(SvyDatasetHelper& dataset) {
  std::shared_ptr<ISurveyErrorQueue> queue;
  if (const auto survey = dataset.Survey()) queue = survey->Errors();
  else if (const auto traverse = dataset.Traverse()) queue = traverse->Errors();
  if (queue) ErrorLog().PullErrors(*queue);
}

}  // namespace

SurveyContents SurveyReader::ReadContents(const QString& path, TaskProgress& progress) {
  SurveyContents contents;
  contents.path = path;
  contents.traverse = IsValidTraverseFile(NativePath(path));
  const auto dataset = Dataset(path, &contents.problem);
  if (!dataset) return contents;
  notices_->last.clear();
  const std::int32_t classCount = dataset->ClassCount();  // reads the file on first need
  if (!dataset->Survey() && !dataset->Traverse()) {
    contents.problem = notices_->last.isEmpty() ? QString("the file could not be read") : notices_->last;
    Forget(path);  // try again next time
  }
  progress.total = classCount;
  for (std::int32_t i = 0; i < classCount && !progress.IsCancel(); ++i) {
    const auto fields = dataset->GetFields(i);
    const auto kind = dataset->KindOfClass(i);
    if (!fields || !kind) continue;
    ClassInfo info;
    info.index = i;
    info.name = FromNativePath(dataset->ClassName(i));
    info.kind = *kind;
    const GeometryDef* geometry = fields->GetField(1).GeometryDefinition();
    if (geometry != nullptr) info.geometry = QString::fromStdString(ogr::GeometryTypeText(geometry->OgrGeometryType()));
    info.features = CountRecords(*dataset, i, *fields, progress);
    contents.classes.push_back(info);
    progress.Step();
  }
  contents.coordinateSystem = CoordinateSystemOf(*dataset);
  PullLateErrors(*dataset);
  contents.errors = TakeFileErrors(path);
  return contents;
}

}  // namespace veldrane::ui
