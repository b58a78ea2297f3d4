#pragma once
// The catalog's one way into survey files: the data source's workspace and
// dataset helpers, driven on one reader thread of their own.
//
// Survey objects are not made to be used by two threads at once (points are
// handed out lazily, rings build their indexes on first use), and the
// library's module state (error log, current survey file, configuration) is
// per thread. So every job that touches a dataset runs on Thread(), one at a
// time, and hands the UI plain values (SurveyContents, preview geometry,
// table rows) that hold no survey object. The UI never reads a file itself.
//
// The reader works in a module context of its own, derived from the UI
// thread's (the same configuration, a log and current file of its own),
// installed for each job. A read fills that context's error log;
// TakeFileErrors copies the file's entries out of it, and on the UI thread
// ReplaceFileErrors puts them into the UI's log, replacing what that log
// listed for the file.
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QVector>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/error_log.h"
#include "config/module_context.h"
#include "model/notifier.h"
#include "plugin/class_schemas.h"
#include "ui/progress_window.h"
#include "ui/task_runner.h"

namespace veldrane {
class SvyDatasetHelper;
class SvyWorkspaceFactoryHelper;
}  // namespace veldrane

namespace veldrane::ui {

// Paths are kept as QString in the UI and handed to the library in the
// file system's encoding.
std::string NativePath(const QString& path);
QString FromNativePath(const std::string& path);
// The absolute, clean form every catalog object and error log entry uses.
QString CatalogPath(const QString& path);
// `name` joined below the folder (the root folder "/" included).
QString PathBelow(const QString& folder, const QString& name);
// Whether `fullName` is `object` itself or something below it.
bool IsWithin(const QString& fullName, const QString& object);

// One feature class of a survey file as the catalog lists it.
struct ClassInfo {
  int index = 0;
  QString name;      // "levee.em CrossSections"
  ClassKind kind = ClassKind::CrossSections;
  QString geometry;  // "3D Measured Line String"
  qint64 features = 0;
};

// What reading one survey file gave.
struct SurveyContents {
  QString path;
  bool traverse = false;
  QString problem;           // why the file could not be read; empty when it was
  QString coordinateSystem;  // "NAD83 / Louisiana South (ftUS) (EPSG:3452)", or "unknown"
  QVector<ClassInfo> classes;
  std::vector<ErrorLogEntry> errors;  // the file's entries in the error log after this read
};

struct FolderEntry {
  QString name;
  enum class Kind { Folder, Survey, Traverse } kind = Kind::Folder;
};

struct FolderListing {
  QString path;
  QVector<FolderEntry> entries;  // folders first, then survey files, each sorted by name
  QString problem;               // why the folder could not be listed
};

// Subfolders and survey files of a folder; any thread (nothing is read).
FolderListing ListFolder(const QString& folder, TaskProgress& progress);

// "NAD83 / Louisiana South (ftUS) (EPSG:3452)", or "unknown": the dataset's
// coordinate system (reads the file when it is not read yet).
QString CoordinateSystemOf(SvyDatasetHelper& dataset);

// The file's entries in the calling thread's error log.
std::vector<ErrorLogEntry> TakeFileErrors(const QString& path);
// Replaces the file's entries in `log` by `entries` (the log shows its
// window when that lists something new).
void ReplaceFileErrors(ErrorLogModel& log, const QString& path, const std::vector<ErrorLogEntry>& entries);

class SurveyReader : public QObject {
  Q_OBJECT

 public:
  explicit SurveyReader(QObject* parent = nullptr);
  ~SurveyReader() override;  // waits for the job that is running

  // The reader thread.
  QThreadPool& Thread() { return thread_; }

  // Runs work(progress) on the reader thread, in the reader's context, as a
  // task of `tasks`; done(result, cancelled) follows on the UI thread
  // (see TaskRunner::Run for `receiver`).
  template <class T>
  void Run(const QObject* receiver, TaskRunner& tasks, const QString& what, std::function<T(TaskProgress&)> work,
           std::function<void(T result, bool cancelled)> done) {
    tasks.Run<T>(
        receiver, what, thread_,
        [this, work = std::move(work)](TaskProgress& progress) {
          Working working(*this);
          return work(progress);
        },
        std::move(done));
  }

  // The reader's module context and notifier, installed on the calling
  // thread while alive. Every member below runs inside one, on one thread
  // at a time: the reader thread (through Run), or a test's own thread.
  class Working {
   public:
    explicit Working(SurveyReader& reader);

   private:
    ModuleContextScope context_;
    ScopedNotifier notifier_;
  };

  // The dataset helper of a survey file, made on first need and kept (with
  // the survey it reads) until Forget; null with `problem` set when the file
  // does not exist.
  std::shared_ptr<SvyDatasetHelper> Dataset(const QString& path, QString* problem = nullptr);
  // Drops the helper, so the next need reads the file again.
  void Forget(const QString& path);
  // Reads the file (when not read yet) and lists its classes with their
  // feature counts; problems found while reading and while walking the
  // classes end up in `errors`.
  SurveyContents ReadContents(const QString& path, TaskProgress& progress);
  // After the dataset helper renamed or deleted its file.
  void Moved(const QString& oldPath, const QString& newPath);

 signals:
  // A rename made through a dataset helper (the data source's catalog
  // refresh hook); delivered on the UI thread.
  void renamed(const QString& oldPath, const QString& newPath);
  // An unexpected failure the library reported while working for the
  // catalog (a call-stack report, a warning box); delivered on the UI thread.
  void notice(const QString& title, const QString& text);

 private:
  class Notices;

  std::shared_ptr<ModuleContext> context_;
  std::unique_ptr<Notices> notices_;
  std::unique_ptr<SvyWorkspaceFactoryHelper> factory_;  // made by the first job: it prepares the tables
  std::map<QString, std::shared_ptr<SvyDatasetHelper>> datasets_;
  QThreadPool thread_;  // last: stopped first, while everything it uses is alive
};

}  // namespace veldrane::ui
