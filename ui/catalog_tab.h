#pragma once
// A tab of the catalog beside the tree ("Contents", "Preview", "Table",
// "Metadata"): it shows the selected catalog object when it is the current
// tab, and keeps what it shows until the selection changes or the object is
// read again.
#include <QWidget>

#include "ui/catalog_tree_model.h"

namespace veldrane::ui {

class CatalogTab : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

  // Shows the object (loading what it needs as a task). Showing the object
  // already shown does nothing unless Forget was called for its file.
  virtual void ShowItem(const CatalogItem& item) = 0;
  // The survey file was read again (or renamed, or deleted): what the tab
  // shows of it is out of date.
  virtual void Forget(const QString& path) = 0;
};

}  // namespace veldrane::ui
