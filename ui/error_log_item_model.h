#pragma once
// The error log (config/error_log.h) as a Qt item model: file nodes at the
// top, their error nodes below, in the log's own order. The entries stay in
// the log; this model only follows its change events, keeping how many rows
// of each file the views have been told about so that every insertion is
// announced before it is shown.
#include <QAbstractItemModel>
#include <vector>

#include "config/error_log.h"

namespace veldrane::ui {

class ErrorLogItemModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  static constexpr int kSeverityRole = Qt::UserRole + 2;  // error nodes: 0, 1, 2
  static constexpr int kLineRole = Qt::UserRole + 3;      // error nodes: "FILE:LINE: SEVERITY: DESCRIPTION"

  explicit ErrorLogItemModel(ErrorLogModel& log, QObject* parent = nullptr);
  ~ErrorLogItemModel() override;

  ErrorLogModel& Log() { return log_; }
  const ErrorLogEntry* Entry(const QModelIndex& index) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 signals:
  // A pull listed something new: the window should become visible.
  void showRequested();

 private:
  void OnEvent(const ErrorLogEvent& event);
  void Recount();

  ErrorLogModel& log_;
  int subscription_ = 0;
  std::vector<int> shown_;  // per file node: the error rows announced
};

}  // namespace veldrane::ui
