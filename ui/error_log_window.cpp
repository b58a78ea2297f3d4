#include "ui/error_log_window.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTreeView>

#include "ui/error_log_item_model.h"

namespace veldrane::ui {

ErrorLogWindow::ErrorLogWindow(ErrorLogModel& log, QWidget* parent)
    : QDockWidget("Survey Error Log", parent), model_(new ErrorLogItemModel(log, this)), tree_(new QTreeView(this)) {
  setObjectName("SurveyErrorLog");  // the name its place is saved under
  setAccessibleName(windowTitle());
  tree_->setObjectName("TreeView1");
  tree_->setAccessibleName("Survey errors");
  tree_->setModel(model_);
  tree_->setHeaderHidden(true);
  tree_->setUniformRowHeights(true);
  tree_->setContextMenuPolicy(Qt::CustomContextMenu);
  tree_->installEventFilter(this);
  setWidget(tree_);
  setFloating(true);
  hide();

  connect(model_, &ErrorLogItemModel::showRequested, this, [this] {
    show();
    if (isFloating()) raise();
  });
  // File nodes open as errors arrive under them.
  connect(model_, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& parent) {
    if (parent.isValid()) tree_->expand(parent);
  });
  connect(model_, &QAbstractItemModel::modelReset, tree_, &QTreeView::expandAll);
  connect(tree_, &QTreeView::doubleClicked, this, &ErrorLogWindow::Activate);
  connect(tree_, &QWidget::customContextMenuRequested, this, &ErrorLogWindow::ShowContextMenu);
}

std::optional<std::pair<int, QString>> ErrorLogWindow::JumpTarget(const QModelIndex& index) {
  static const QString kMarker = "(Line : ";
  const QString text = index.data().toString();
  const int start = text.indexOf(kMarker);
  if (!index.parent().isValid() || start < 0) return std::nullopt;
  const int from = start + kMarker.size();
  const int end = text.indexOf(") ", from);
  bool ok = false;
  const int line = text.mid(from, end < 0 ? -1 : end - from).toInt(&ok);
  if (!ok) return std::nullopt;
  return std::make_pair(line, index.parent().data().toString());
}

void ErrorLogWindow::Activate(const QModelIndex& index) {
  if (const auto target = JumpTarget(index)) emit jumpRequested(target->first, target->second);
}

void ErrorLogWindow::SelectError(const QString& file, int line) {
  for (int f = 0; f < model_->rowCount(); ++f) {
    const QModelIndex fileNode = model_->index(f, 0);
    if (fileNode.data().toString() != file) continue;
    for (int e = 0; e < model_->rowCount(fileNode); ++e) {
      const QModelIndex error = model_->index(e, 0, fileNode);
      const auto target = JumpTarget(error);
      if (!target || target->first != line) continue;
      tree_->setCurrentIndex(error);
      tree_->scrollTo(error);
      return;
    }
  }
}

QString ErrorLogWindow::CopyText(const QModelIndex& index) const {
  if (!index.isValid()) return {};
  if (index.parent().isValid()) return index.data(ErrorLogItemModel::kLineRole).toString();
  QStringList lines;
  for (int row = 0; row < model_->rowCount(index); ++row)
    lines << model_->index(row, 0, index).data(ErrorLogItemModel::kLineRole).toString();
  return lines.join('\n');
}

bool ErrorLogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tree_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Activate(tree_->currentIndex());
      return true;
    }
  }
  return QDockWidget::eventFilter(watched, event);
}

void ErrorLogWindow::ShowContextMenu(const QPoint& at) {
  const QModelIndex index = tree_->indexAt(at);
  QMenu menu(this);
  QAction* copy = menu.addAction("Copy");
  copy->setEnabled(index.isValid());
  QAction* clear = menu.addAction("Clear");
  QAction* chosen = menu.exec(tree_->viewport()->mapToGlobal(at));
  if (chosen == copy) QApplication::clipboard()->setText(CopyText(index));
  else if (chosen == clear) model_->Log().Clear();
}

}  // namespace veldrane::ui
