#include "ui/table_tab.h"

#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/feature_table_model.h"
#include "ui/survey_reader.h"

namespace veldrane::ui {

TableTab::TableTab(SurveyReader& reader, TaskRunner& tasks, QWidget* parent) : CatalogTab(parent) {
  setAccessibleName("Table");
  model_ = new FeatureTableModel(reader, tasks, this);
  view_ = new QTableView(this);
  view_->setAccessibleName("Attribute table");
  view_->setModel(model_);
  view_->setAlternatingRowColors(true);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  status_ = new QLabel(this);
  status_->setAccessibleName("Table status");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_, 1);
  layout->addWidget(status_);
  connect(model_, &QAbstractItemModel::rowsInserted, this, &TableTab::UpdateStatus);
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    view_->horizontalHeader()->resizeSections(QHeaderView::ResizeToContents);
    UpdateStatus();
  });
  connect(model_, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first) {
    if (first == 0) view_->resizeColumnsToContents();  // fitted to the first batch, then left alone
  });
  connect(model_, &FeatureTableModel::problem, status_, &QLabel::setText);
}

void TableTab::ShowItem(const CatalogItem& item) {
  const bool isClass = item.kind == CatalogItem::Kind::FeatureClass;
  const QString key = isClass ? item.FullName() : QString();
  if (key == shown_ && !key.isEmpty()) return;
  shown_ = key;
  item_ = item;
  model_->Show(isClass ? item.path : QString(), item.info.index);
  if (!isClass) status_->setText("Select a feature class to see its attribute table.");
}

void TableTab::Forget(const QString& path) {
  if (IsWithin(shown_, path)) shown_.clear();
}

void TableTab::UpdateStatus() {
  if (shown_.isEmpty()) return;
  const QLocale locale;
  const QString shown = locale.toString(model_->rowCount());
  status_->setText(model_->AllFetched()
                       ? QString("%1 records").arg(shown)
                       : QString("%1 of %2 records").arg(shown, locale.toString(item_.info.features)));
}

}  // namespace veldrane::ui
