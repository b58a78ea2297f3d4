#pragma once
// "Preview": the geography of the selected survey file (every class) or
// feature class on a map (MapCanvas), a "Full Extent" button, the
// coordinate system and the pointer's coordinates below, and the attributes
// of the feature last clicked in the identify panel beside the map.
#include <memory>

#include "ui/catalog_tab.h"

class QLabel;
class QTreeWidget;

namespace veldrane::ui {

class MapCanvas;
class SurveyReader;
class TaskRunner;
struct PreviewData;

class PreviewTab : public CatalogTab {
  Q_OBJECT

 public:
  PreviewTab(SurveyReader& reader, TaskRunner& tasks, QWidget* parent = nullptr);

  void ShowItem(const CatalogItem& item) override;
  void Forget(const QString& path) override;
  MapCanvas* Canvas() const { return canvas_; }
  QTreeWidget* IdentifyPanel() const { return identify_; }
  // Shows the attributes of a feature of the map's data (a click on it).
  void Identify(int layer, int oid);

 private:
  void ShowData(std::shared_ptr<const PreviewData> data, const QString& coordinateSystem);
  void ShowIdentifyHint();

  SurveyReader& reader_;
  TaskRunner& tasks_;
  MapCanvas* canvas_;
  QTreeWidget* identify_;
  QLabel* status_;
  QLabel* pointer_;
  QString shown_;
  unsigned generation_ = 0;
};

}  // namespace veldrane::ui
