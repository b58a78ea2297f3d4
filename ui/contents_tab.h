#pragma once
// "Contents": the children of the selected object with their type, geometry
// type and feature count (a folder's subfolders and survey files, a survey
// file's feature classes; a feature class shows itself). Double-clicking a
// row selects that object in the tree.
#include "ui/catalog_tab.h"

class QTreeWidget;

namespace veldrane::ui {

class ContentsTab : public CatalogTab {
  Q_OBJECT

 public:
  ContentsTab(CatalogTreeModel& tree, QWidget* parent = nullptr);

  void ShowItem(const CatalogItem& item) override;
  void Forget(const QString& path) override;
  QTreeWidget* List() const { return list_; }

 signals:
  void openRequested(const QString& fullName);

 private:
  void Fill(const QVector<CatalogItem>& items);

  CatalogTreeModel& tree_;
  QTreeWidget* list_;
  QString shown_;  // full name of the object shown
};

}  // namespace veldrane::ui
