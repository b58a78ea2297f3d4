#include "ui/map_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace veldrane::ui {
namespace {

constexpr int kDragThreshold = 4;    // pixels a press may move and still be a click
constexpr double kClickTolerance = 5;  // pixels around a click that identify a feature
constexpr double kWheelStep = 1.25;  // zoom factor per wheel notch
// How far in a view may zoom: a thousandth of the full extent is far beyond
// any survey's precision and keeps screen coordinates in the painter's range.
constexpr double kMaxZoomIn = 1000;

}  // namespace

MapCanvas::MapCanvas(QWidget* parent) : QWidget(parent) {
  setAccessibleName("Preview map");
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setMinimumSize(64, 64);
  setCursor(Qt::OpenHandCursor);
}

void MapCanvas::SetData(std::shared_ptr<const PreviewData> data) {
  data_ = std::move(data);
  ZoomToFullExtent();
}

void MapCanvas::ZoomToFullExtent() {
  view_ = MapView::Showing(data_ ? data_->extent : QRectF(), size());
  ViewChanged();
  wholeExtent_ = true;
}

void MapCanvas::SetView(const MapView& view) {
  view_ = view;
  view_.size = size();
  ViewChanged();
}

void MapCanvas::ViewChanged() {
  if (data_ && !data_->extent.isEmpty()) {
    const MapView full = MapView::Showing(data_->extent, size());
    view_.scale = std::min(view_.scale, full.scale * kMaxZoomIn);
  }
  wholeExtent_ = false;
  stale_ = true;
  update();
}

const QImage& MapCanvas::Rendered() {
  if (stale_ || image_.size() != size()) {
    view_.size = size();
    RenderPreview(data_ ? *data_ : PreviewData{}, view_, image_);
    stale_ = false;
  }
  return image_;
}

void MapCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (dragging_) painter.fillRect(rect(), QColor(kPreviewBackground));
  painter.drawImage(dragOffset_, Rendered());
}

void MapCanvas::resizeEvent(QResizeEvent*) {
  // A map shown whole stays whole; otherwise the centre stays where it is.
  if (wholeExtent_) view_ = MapView::Showing(data_ ? data_->extent : QRectF(), size());
  view_.size = size();
  stale_ = true;
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = true;
  pressAt_ = event->position().toPoint();
  setCursor(Qt::ClosedHandCursor);
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
  emit pointerMoved(view_.ToMap(event->position()));
  if (!pressed_) return;
  const QPoint offset = event->position().toPoint() - pressAt_;
  if (!dragging_ && offset.manhattanLength() < kDragThreshold) return;
  dragging_ = true;
  dragOffset_ = offset;
  update();
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  setCursor(Qt::OpenHandCursor);
  if (dragging_) {
    dragging_ = false;
    view_.PanBy(dragOffset_);
    dragOffset_ = QPoint();
    ViewChanged();
    return;
  }
  if (!data_) return;
  if (const auto hit = FindFeatureAt(*data_, view_.ToMap(event->position()), kClickTolerance / view_.scale))
    emit featureClicked(hit->layer, hit->oid);
}

void MapCanvas::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  view_.ZoomAt(event->position(), std::pow(kWheelStep, notches));
  ViewChanged();
}

void MapCanvas::keyPressEvent(QKeyEvent* event) {
  const QPointF center(width() / 2.0, height() / 2.0);
  const double step = std::max(width(), height()) / 8.0;
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: view_.ZoomAt(center, kWheelStep); break;
    case Qt::Key_Minus: view_.ZoomAt(center, 1 / kWheelStep); break;
    case Qt::Key_Left: view_.PanBy(QPointF(step, 0)); break;
    case Qt::Key_Right: view_.PanBy(QPointF(-step, 0)); break;
    case Qt::Key_Up: view_.PanBy(QPointF(0, step)); break;
    case Qt::Key_Down: view_.PanBy(QPointF(0, -step)); break;
    case Qt::Key_Home: ZoomToFullExtent(); return;
    default: QWidget::keyPressEvent(event); return;
  }
  ViewChanged();
}

}  // namespace veldrane::ui
