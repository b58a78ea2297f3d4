#pragma once
// "Table": the attribute table of the selected feature class, fetched a
// batch at a time as the view scrolls (FeatureTableModel).
#include "ui/catalog_tab.h"

class QLabel;
class QTableView;

namespace veldrane::ui {

class FeatureTableModel;
class SurveyReader;
class TaskRunner;

class TableTab : public CatalogTab {
  Q_OBJECT

 public:
  TableTab(SurveyReader& reader, TaskRunner& tasks, QWidget* parent = nullptr);

  void ShowItem(const CatalogItem& item) override;
  void Forget(const QString& path) override;
  FeatureTableModel& Model() const { return *model_; }
  QTableView* View() const { return view_; }

 private:
  void UpdateStatus();

  FeatureTableModel* model_;
  QTableView* view_;
  QLabel* status_;
  CatalogItem item_;
  QString shown_;
};

}  // namespace veldrane::ui
