#pragma once
// "Metadata": the selected survey file's metadata document (what
// `veldrane metadata` prints) as an indented tree of element names and
// values, and a "Write Metadata" button that saves it beside the file.
#include "ui/catalog_tab.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace veldrane::ui {

class SurveyReader;
class TaskRunner;

class MetadataTab : public CatalogTab {
  Q_OBJECT

 public:
  MetadataTab(SurveyReader& reader, TaskRunner& tasks, QWidget* parent = nullptr);

  void ShowItem(const CatalogItem& item) override;
  void Forget(const QString& path) override;
  QTreeWidget* Tree() const { return tree_; }
  QPushButton* WriteButton() const { return write_; }

  // The document as tree rows: element names, their text, attributes as "@name".
  static void FillTree(QTreeWidget& tree, const QString& xml);

 signals:
  // "Write Metadata": save the document of the file shown beside it.
  void writeRequested(const QString& path);

 private:
  SurveyReader& reader_;
  TaskRunner& tasks_;
  QTreeWidget* tree_;
  QPushButton* write_;
  QLabel* status_;
  QString shown_;  // the survey file shown
  unsigned generation_ = 0;
};

}  // namespace veldrane::ui
