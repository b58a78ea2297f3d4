#include "ui/preview_tab.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "plugin/svy_dataset_helper.h"
#include "ui/feature_rows.h"
#include "ui/map_canvas.h"
#include "ui/survey_reader.h"
#include "ui/task_runner.h"

namespace veldrane::ui {
namespace {

struct PreviewResult {
  std::shared_ptr<const PreviewData> data;
  QString coordinateSystem;
};

QString CellText(const QVariant& value) {
  if (value.typeId() == QMetaType::QDate) return value.toDate().toString(Qt::ISODate);
  if (value.typeId() == QMetaType::QDateTime) return value.toDateTime().toString("yyyy-MM-dd hh:mm:ss");
  return value.toString();
}

}  // namespace

PreviewTab::PreviewTab(SurveyReader& reader, TaskRunner& tasks, QWidget* parent)
    : CatalogTab(parent), reader_(reader), tasks_(tasks) {
  setAccessibleName("Preview");
  canvas_ = new MapCanvas(this);
  identify_ = new QTreeWidget(this);
  identify_->setAccessibleName("Identify");
  identify_->setHeaderLabels({"Field", "Value"});
  identify_->setRootIsDecorated(false);
  identify_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  auto* fullExtent = new QToolButton(this);
  fullExtent->setText("Full Extent");
  fullExtent->setAccessibleName("Full Extent");
  fullExtent->setToolTip("Zoom to the full extent (Home)");
  status_ = new QLabel(this);
  status_->setAccessibleName("Coordinate system");
  pointer_ = new QLabel(this);
  pointer_->setAccessibleName("Pointer coordinates");

  auto* splitter = new QSplitter(this);
  splitter->addWidget(canvas_);
  splitter->addWidget(identify_);
  splitter->setStretchFactor(0, 1);
  splitter->setSizes({800, 240});
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(fullExtent);
  bottom->addWidget(status_, 1);
  bottom->addWidget(pointer_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter, 1);
  layout->addLayout(bottom);

  connect(fullExtent, &QToolButton::clicked, canvas_, &MapCanvas::ZoomToFullExtent);
  connect(canvas_, &MapCanvas::featureClicked, this, &PreviewTab::Identify);
  connect(canvas_, &MapCanvas::pointerMoved, this, [this](QPointF at) {
    pointer_->setText(canvas_->Data() ? QString("%1, %2").arg(at.x(), 0, 'f', 2).arg(at.y(), 0, 'f', 2) : QString());
  });
}

void PreviewTab::ShowItem(const CatalogItem& item) {
  const bool drawable = item.kind == CatalogItem::Kind::SurveyFile || item.kind == CatalogItem::Kind::FeatureClass;
  const QString key = drawable ? item.FullName() : QString();
  if (key == shown_ && !key.isEmpty()) return;
  shown_ = key;
  const unsigned generation = ++generation_;
  ShowIdentifyHint();
  ShowData(nullptr, drawable ? QString() : QString("Select a survey file or a feature class to preview it."));
  if (!drawable) return;
  SurveyReader* reader = &reader_;
  const QString path = item.path;
  const int classIndex = item.kind == CatalogItem::Kind::FeatureClass ? item.info.index : -1;
  reader_.Run<PreviewResult>(
      this, tasks_, QString("Drawing %1").arg(QFileInfo(path).fileName()),
      [reader, path, classIndex](TaskProgress& progress) {
        PreviewResult result;
        QString problem;
        const auto dataset = reader->Dataset(path, &problem);
        PreviewData data = dataset ? ReadPreview(*dataset, classIndex, progress) : PreviewData{path, {}, {}, problem};
        if (dataset) result.coordinateSystem = CoordinateSystemOf(*dataset);
        result.data = std::make_shared<const PreviewData>(std::move(data));
        return result;
      },
      [this, generation](PreviewResult result, bool cancelled) {
        if (generation != generation_) return;
        if (cancelled) {
          shown_.clear();  // drawn in part: draw again next time
          ShowData(result.data, "Drawing cancelled.");
          return;
        }
        ShowData(result.data, result.data->problem.isEmpty() ? result.coordinateSystem : result.data->problem);
      });
}

void PreviewTab::ShowIdentifyHint() {
  identify_->clear();
  auto* hint = new QTreeWidgetItem(identify_, {"Click a feature to identify it."});
  hint->setFirstColumnSpanned(true);
  hint->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
}

void PreviewTab::ShowData(std::shared_ptr<const PreviewData> data, const QString& coordinateSystem) {
  canvas_->SetData(std::move(data));
  status_->setText(coordinateSystem);
}

void PreviewTab::Forget(const QString& path) {
  if (IsWithin(shown_, path)) shown_.clear();
}

void PreviewTab::Identify(int layer, int oid) {
  const PreviewData* data = canvas_->Data();
  if (data == nullptr || layer < 0 || layer >= static_cast<int>(data->layers.size())) return;
  const QString path = data->path;
  const int classIndex = data->layers[static_cast<std::size_t>(layer)].classIndex;
  const QString className = data->layers[static_cast<std::size_t>(layer)].className;
  SurveyReader* reader = &reader_;
  const unsigned generation = generation_;
  using Values = QVector<std::pair<QString, QVariant>>;
  reader_.Run<Values>(
      this, tasks_, "Identifying",
      [reader, path, classIndex, oid](TaskProgress&) {
        const auto dataset = reader->Dataset(path);
        return dataset ? ReadFeature(*dataset, classIndex, oid) : Values{};
      },
      [this, generation, className](Values values, bool) {
        if (generation != generation_) return;
        identify_->clear();
        auto* title = new QTreeWidgetItem(identify_, {className});
        title->setFirstColumnSpanned(true);
        QFont bold = title->font(0);
        bold.setBold(true);
        title->setFont(0, bold);
        for (const auto& [field, value] : values) new QTreeWidgetItem(identify_, {field, CellText(value)});
      });
}

}  // namespace veldrane::ui
