#pragma once
// frmProgressBar: the small modeless window that every long task of the
// catalog shows (reading a large file, listing a large folder, exporting):
// a bar, "N out of M" and "P% Complete", and a Cancel button that asks the
// task to stop. The task runs on another thread and only writes its
// TaskProgress; the window reads it on a timer, so it never waits for the
// task and the task never waits for the window.
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace veldrane::ui {

// Shared between a task and the window that shows it. `total` 0 means the
// amount of work is not known yet (the bar then only shows activity).
struct TaskProgress {
  std::atomic<std::int64_t> done{0};
  std::atomic<std::int64_t> total{0};
  std::atomic<bool> cancelled{false};

  bool IsCancel() const { return cancelled.load(std::memory_order_relaxed); }
  void Step(std::int64_t count = 1) { done.fetch_add(count, std::memory_order_relaxed); }
};

class ProgressWindow : public QWidget {
  Q_OBJECT

 public:
  // `what` names the task ("Reading levee.em"); the caption is the
  // window's own, "Generating Graph".
  ProgressWindow(const QString& what, std::shared_ptr<TaskProgress> progress, QWidget* parent);

  bool IsCancel() const { return progress_->IsCancel(); }
  void ShowModeless();
  QPushButton* CancelButton() const { return cmdCancel_; }
  // Reads the task's progress into the bar and the labels (the timer's tick).
  void UpdateFromProgress();

 private:
  std::shared_ptr<TaskProgress> progress_;
  QLabel* lblTask_;
  QProgressBar* prgbar_;
  QLabel* lblPercentComplete_;
  QLabel* lblNumberProcessed_;
  QPushButton* cmdCancel_;
  QTimer* timer_;
};

}  // namespace veldrane::ui
