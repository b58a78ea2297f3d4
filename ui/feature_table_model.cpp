#include "ui/feature_table_model.h"

#include <QFileInfo>
#include <QLocale>

#include "plugin/svy_dataset_helper.h"
#include "ui/feature_rows.h"
#include "ui/survey_reader.h"
#include "ui/task_runner.h"

namespace veldrane::ui {
namespace {

struct Batch {
  QStringList columns;
  std::vector<QVector<QVariant>> values;
  bool opened = false;
  bool finished = true;
  QString problem;
};

}  // namespace

FeatureTableModel::FeatureTableModel(SurveyReader& reader, TaskRunner& tasks, QObject* parent)
    : QAbstractTableModel(parent), reader_(reader), tasks_(tasks) {}

FeatureTableModel::~FeatureTableModel() { Release(); }

void FeatureTableModel::Release() {
  if (!cursor_) return;
  reader_.Thread().start([slot = cursor_] { slot->reset(); });
  cursor_.reset();
}

void FeatureTableModel::Show(const QString& path, int classIndex) {
  beginResetModel();
  Release();
  columns_.clear();
  values_.clear();
  allFetched_ = path.isEmpty();
  busy_ = !path.isEmpty();
  const unsigned generation = ++generation_;
  if (!path.isEmpty()) cursor_ = std::make_shared<std::unique_ptr<FeatureRows>>();
  endResetModel();
  if (path.isEmpty()) return;
  SurveyReader* reader = &reader_;
  reader_.Run<Batch>(
      this, tasks_, QString("Reading %1").arg(QFileInfo(path).fileName()),
      [reader, path, classIndex, slot = cursor_](TaskProgress&) {
        Batch batch;
        const auto dataset = reader->Dataset(path, &batch.problem);
        if (dataset) *slot = FeatureRows::Open(*dataset, classIndex, batch.problem);
        if (!*slot) return batch;
        batch.opened = true;
        batch.columns = (*slot)->Columns();
        batch.values = (*slot)->Next(kBatchRows);
        batch.finished = (*slot)->Finished();
        return batch;
      },
      [this, generation](Batch batch, bool) {
        if (generation != generation_) return;
        busy_ = false;
        if (!batch.opened) {
          allFetched_ = true;
          Release();
          emit problem(batch.problem);
          return;
        }
        beginResetModel();
        columns_ = batch.columns;
        endResetModel();
        Append(std::move(batch.values), batch.finished);
      });
}

void FeatureTableModel::Append(std::vector<QVector<QVariant>> batch, bool finished) {
  allFetched_ = finished;  // before the rows arrive, so that views counting them know
  if (!batch.empty()) {
    const int first = static_cast<int>(values_.size());
    beginInsertRows({}, first, first + static_cast<int>(batch.size()) - 1);
    for (auto& row : batch) values_.push_back(std::move(row));
    endInsertRows();
  }
  if (finished) Release();
}

bool FeatureTableModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && cursor_ && !busy_ && !allFetched_;
}

void FeatureTableModel::fetchMore(const QModelIndex& parent) {
  if (!canFetchMore(parent)) return;
  busy_ = true;
  const unsigned generation = generation_;
  using Rows = std::pair<std::vector<QVector<QVariant>>, bool>;
  reader_.Run<Rows>(
      this, tasks_, "Reading rows",
      [slot = cursor_](TaskProgress&) {
        if (!*slot) return Rows({}, true);
        auto values = (*slot)->Next(kBatchRows);
        return Rows(std::move(values), (*slot)->Finished());
      },
      [this, generation](Rows batch, bool) {
        if (generation != generation_) return;
        busy_ = false;
        Append(std::move(batch.first), batch.second);
      });
}

int FeatureTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(values_.size());
}

int FeatureTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant FeatureTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const QVariant& value = values_[static_cast<std::size_t>(index.row())][index.column()];
  if (role == Qt::DisplayRole) {
    // Dates as dates, in the user's short format.
    if (value.typeId() == QMetaType::QDate) return QLocale().toString(value.toDate(), QLocale::ShortFormat);
    if (value.typeId() == QMetaType::QDateTime) return QLocale().toString(value.toDateTime(), QLocale::ShortFormat);
    return value;
  }
  if (role == Qt::EditRole) return value;
  if (role == Qt::TextAlignmentRole && (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::Double))
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  return {};
}

QVariant FeatureTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return section < columns_.size() ? columns_[section] : QVariant();
  return section + 1;
}

}  // namespace veldrane::ui
