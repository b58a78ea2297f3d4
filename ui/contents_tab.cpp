#include "ui/contents_tab.h"

#include <QHeaderView>
#include <QLocale>
#include <QTreeWidget>
#include <QVBoxLayout>


namespace veldrane::ui {
namespace {

constexpr int kFullNameRole = Qt::UserRole + 1;

QString TypeText(const CatalogItem& item) {
  switch (item.kind) {
    case CatalogItem::Kind::Folder: return "Folder";
    case CatalogItem::Kind::SurveyFile: return item.traverse ? "Traverse File" : "Survey File";
    case CatalogItem::Kind::FeatureClass: return "Feature Class";
    case CatalogItem::Kind::None: break;
  }
  return {};
}

}  // namespace

ContentsTab::ContentsTab(CatalogTreeModel& tree, QWidget* parent) : CatalogTab(parent), tree_(tree) {
  setAccessibleName("Contents");
  list_ = new QTreeWidget(this);
  list_->setAccessibleName("Contents list");
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setHeaderLabels({"Name", "Type", "Geometry", "Features"});
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_);
  connect(list_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* row) { emit openRequested(row->data(0, kFullNameRole).toString()); });
}

void ContentsTab::ShowItem(const CatalogItem& item) {
  if (item.FullName() == shown_ && !shown_.isEmpty()) return;
  shown_ = item.FullName();
  list_->clear();
  if (item.kind == CatalogItem::Kind::FeatureClass) return Fill({item});
  const QModelIndex index = tree_.IndexOf(shown_);
  if (!index.isValid()) return;
  const QString wanted = shown_;
  tree_.EnsureListed(index, [this, wanted] {
    if (wanted == shown_) Fill(tree_.Children(tree_.IndexOf(wanted)));
  });
}

void ContentsTab::Forget(const QString& path) {
  if (IsWithin(shown_, path) || IsWithin(path, shown_)) shown_.clear();
}

void ContentsTab::Fill(const QVector<CatalogItem>& items) {
  list_->clear();
  for (const CatalogItem& item : items) {
    auto* row = new QTreeWidgetItem(list_);
    row->setText(0, item.name);
    row->setIcon(0, item.Icon());
    row->setText(1, TypeText(item));
    row->setData(0, kFullNameRole, item.FullName());
    if (item.kind == CatalogItem::Kind::FeatureClass) {
      row->setText(2, item.info.geometry);
      row->setText(3, QLocale().toString(item.info.features));
      row->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    }
  }
}

}  // namespace veldrane::ui
