#pragma once
// Runs the catalog's long work off the UI thread: the work runs on a thread
// pool with a TaskProgress, a progress window appears when it takes longer
// than a moment, and its result comes back on the UI thread. Knowing how
// many tasks are still running lets automation wait until everything a
// request started has finished.
#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <functional>
#include <memory>

#include "ui/progress_window.h"

namespace veldrane::ui {

class TaskRunner : public QObject {
  Q_OBJECT

 public:
  // Progress windows are owned by `window` (which may be null).
  explicit TaskRunner(QWidget* window, QObject* parent = nullptr);

  // Runs work(progress) on `pool`; done(result, cancelled) is then called on
  // this object's thread, unless the runner, or the `receiver` the answer is
  // for (when one is given), is gone by then. A cancelled task still
  // delivers whatever its work returned.
  template <class T>
  void Run(const QObject* receiver, const QString& what, QThreadPool& pool, std::function<T(TaskProgress&)> work,
           std::function<void(T result, bool cancelled)> done) {
    auto progress = std::make_shared<TaskProgress>();
    auto window = std::make_shared<QPointer<ProgressWindow>>();
    auto* watcher = new QFutureWatcher<T>(this);
    Started(what, progress, watcher, window);
    const bool hasReceiver = receiver != nullptr;
    connect(watcher, &QFutureWatcherBase::finished, this,
            [this, watcher, progress, window, hasReceiver, guard = QPointer<const QObject>(receiver),
             done = std::move(done)] {
              if (*window) (*window)->close();
              const bool cancelled = progress->IsCancel();
              T result = watcher->result();
              watcher->deleteLater();
              if (guard || !hasReceiver) done(std::move(result), cancelled);
              Finished();
            });
    watcher->setFuture(QtConcurrent::run(&pool, [progress, work = std::move(work)] { return work(*progress); }));
  }

  int Pending() const { return pending_; }
  // How long a task runs before its progress window appears (milliseconds).
  void SetProgressDelay(int milliseconds) { delay_ = milliseconds; }
  // The progress window of the newest task still running, once shown.
  ProgressWindow* NewestWindow() const { return newest_ && newest_->isVisible() ? newest_.data() : nullptr; }
  // Processes events until no task is running (true) or the time is up.
  bool WaitUntilIdle(int timeoutMilliseconds);

 signals:
  void idle();

 private:
  void Started(const QString& what, const std::shared_ptr<TaskProgress>& progress, QObject* watcher,
               const std::shared_ptr<QPointer<ProgressWindow>>& window);
  void Finished();

  QPointer<QWidget> window_;
  QPointer<ProgressWindow> newest_;
  int pending_ = 0;
  int delay_ = 500;
};

}  // namespace veldrane::ui
