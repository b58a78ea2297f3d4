#pragma once
// The "Table" tab's item model: the attribute table of one feature class,
// fetched lazily over the class's cursor. The view asks for more rows
// (canFetchMore / fetchMore) as it scrolls; each batch is read on the
// reader thread and added when it arrives, so opening a class of a million
// points costs one batch, not the class.
#include <QAbstractTableModel>
#include <QStringList>
#include <memory>
#include <vector>

namespace veldrane::ui {

class FeatureRows;
class SurveyReader;
class TaskRunner;

class FeatureTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kBatchRows = 2000;

  FeatureTableModel(SurveyReader& reader, TaskRunner& tasks, QObject* parent = nullptr);
  ~FeatureTableModel() override;

  // Shows the class of the survey file; an empty path empties the table.
  void Show(const QString& path, int classIndex);
  bool Busy() const { return busy_; }
  // True once every record of the class has been fetched.
  bool AllFetched() const { return allFetched_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  bool canFetchMore(const QModelIndex& parent = {}) const override;
  void fetchMore(const QModelIndex& parent = {}) override;

 signals:
  // Why the class could not be shown.
  void problem(const QString& text);

 private:
  void Append(std::vector<QVector<QVariant>> batch, bool finished);
  void Release();

  SurveyReader& reader_;
  TaskRunner& tasks_;
  // The cursor, set, used and dropped on the reader thread only (it holds
  // survey objects); the UI just hands the slot to the reader's jobs.
  using CursorSlot = std::shared_ptr<std::unique_ptr<FeatureRows>>;
  CursorSlot cursor_;
  QStringList columns_;
  std::vector<QVector<QVariant>> values_;
  unsigned generation_ = 0;  // answers to an older Show are dropped
  bool busy_ = false;
  bool allFetched_ = true;
};

}  // namespace veldrane::ui
