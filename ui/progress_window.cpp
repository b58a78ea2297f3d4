#include "ui/progress_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace veldrane::ui {

ProgressWindow::ProgressWindow(const QString& what, std::shared_ptr<TaskProgress> progress, QWidget* parent)
    : QWidget(parent, Qt::Tool), progress_(std::move(progress)) {
  setWindowTitle("Generating Graph");
  setAccessibleName(windowTitle());
  lblTask_ = new QLabel(what, this);
  prgbar_ = new QProgressBar(this);
  prgbar_->setTextVisible(false);
  prgbar_->setAccessibleName("Progress");
  lblPercentComplete_ = new QLabel("_% Complete", this);
  lblNumberProcessed_ = new QLabel("_  out of _", this);
  cmdCancel_ = new QPushButton("Cancel", this);
  lblTask_->setAccessibleName("Task");
  cmdCancel_->setAccessibleName("Cancel");
  lblPercentComplete_->setAccessibleName("Percent complete");
  lblNumberProcessed_->setAccessibleName("Number processed");

  auto* labels = new QHBoxLayout;
  labels->addWidget(lblNumberProcessed_);
  labels->addStretch();
  labels->addWidget(lblPercentComplete_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblTask_);
  layout->addWidget(prgbar_);
  layout->addLayout(labels);
  layout->addWidget(cmdCancel_, 0, Qt::AlignRight);
  setMinimumWidth(360);

  connect(cmdCancel_, &QPushButton::clicked, this, [this] {
    progress_->cancelled = true;
    cmdCancel_->setEnabled(false);
  });
  timer_ = new QTimer(this);
  timer_->setInterval(100);
  connect(timer_, &QTimer::timeout, this, &ProgressWindow::UpdateFromProgress);
}

void ProgressWindow::ShowModeless() {
  UpdateFromProgress();
  timer_->start();
  show();
  raise();
}

void ProgressWindow::UpdateFromProgress() {
  const std::int64_t total = progress_->total.load();
  const std::int64_t done = std::min(progress_->done.load(), std::max<std::int64_t>(total, 0));
  if (total <= 0) {
    prgbar_->setRange(0, 0);  // amount unknown: the bar shows activity only
    lblPercentComplete_->setText("_% Complete");
    lblNumberProcessed_->setText("_  out of _");
    return;
  }
  // The bar counts in thousandths, so totals beyond an int's range still fit.
  prgbar_->setRange(0, 1000);
  prgbar_->setValue(static_cast<int>(done * 1000 / total));
  lblPercentComplete_->setText(QString("%1% Complete").arg(done * 100 / total));
  lblNumberProcessed_->setText(QString("%1 out of %2").arg(done).arg(total));
}

}  // namespace veldrane::ui
