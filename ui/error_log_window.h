#pragma once
// frmErrorLog, the "Survey Error Log": a tool window with one tree
// (TreeView1) over the error log, a node per file and its errors below. It
// floats by default and may be docked beside the catalog; it is shown
// whenever a pull lists something new. Double-clicking an error, or Enter
// on it, asks to jump to the error's line; "Copy" puts the error's
// "FILE:LINE: SEVERITY: DESCRIPTION" line on the clipboard, "Clear" empties
// the log.
#include <QDockWidget>
#include <optional>
#include <utility>

#include "config/error_log.h"

class QTreeView;

namespace veldrane::ui {

class ErrorLogItemModel;

class ErrorLogWindow : public QDockWidget {
  Q_OBJECT

 public:
  explicit ErrorLogWindow(ErrorLogModel& log, QWidget* parent = nullptr);

  QTreeView* TreeView1() const { return tree_; }
  ErrorLogItemModel& Model() const { return *model_; }

  // The line and file an error node points at: its text must hold
  // "(Line : N) "; the file is the text of its file node. Nothing for a
  // file node or an error without a line.
  static std::optional<std::pair<int, QString>> JumpTarget(const QModelIndex& index);
  // The double-click: asks to jump when the node has a target.
  void Activate(const QModelIndex& index);
  // Makes the first error of `file` at `line` the tree's current node.
  void SelectError(const QString& file, int line);
  // The "FILE:LINE: SEVERITY: DESCRIPTION" lines of the node (all of a
  // file node's errors), as "Copy" puts them on the clipboard.
  QString CopyText(const QModelIndex& index) const;

 signals:
  void jumpRequested(int line, const QString& file);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowContextMenu(const QPoint& at);

  ErrorLogItemModel* model_;
  QTreeView* tree_;
};

}  // namespace veldrane::ui
