#include "ui/task_runner.h"

#include <QEventLoop>

namespace veldrane::ui {

TaskRunner::TaskRunner(QWidget* window, QObject* parent) : QObject(parent), window_(window) {}

void TaskRunner::Started(const QString& what, const std::shared_ptr<TaskProgress>& progress, QObject* watcher,
                         const std::shared_ptr<QPointer<ProgressWindow>>& window) {
  ++pending_;
  // A task that ends in time shows no window; the timer goes with the task.
  auto* timer = new QTimer(watcher);
  timer->setSingleShot(true);
  connect(timer, &QTimer::timeout, this, [this, what, progress, window] {
    *window = new ProgressWindow(what, progress, window_);
    (*window)->setAttribute(Qt::WA_DeleteOnClose);
    newest_ = *window;
    (*window)->ShowModeless();
  });
  timer->start(delay_);
}

void TaskRunner::Finished() {
  if (--pending_ == 0) emit idle();
}

bool TaskRunner::WaitUntilIdle(int timeoutMilliseconds) {
  if (pending_ == 0) return true;
  QEventLoop loop;
  QTimer::singleShot(timeoutMilliseconds, &loop, &QEventLoop::quit);
  connect(this, &TaskRunner::idle, &loop, &QEventLoop::quit);
  loop.exec();
  return pending_ == 0;
}

}  // namespace veldrane::ui
