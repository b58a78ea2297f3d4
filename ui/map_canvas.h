#pragma once
// The map of the "Preview" tab: pan by dragging (or the arrow keys), zoom
// with the wheel (or + and -), click a feature to identify it. The drawing
// is kept in an image and made again only when the view changes; while a
// drag goes on the image is moved, and drawn anew when the drag ends.
#include <QImage>
#include <QWidget>
#include <memory>

#include "ui/map_renderer.h"

namespace veldrane::ui {

class MapCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit MapCanvas(QWidget* parent = nullptr);

  // Shows the data at its full extent; null clears the map.
  void SetData(std::shared_ptr<const PreviewData> data);
  const PreviewData* Data() const { return data_.get(); }
  void ZoomToFullExtent();
  const MapView& View() const { return view_; }
  void SetView(const MapView& view);
  // The image as it is drawn now (drawn first when out of date).
  const QImage& Rendered();

 signals:
  void featureClicked(int layer, int oid);
  void pointerMoved(QPointF map);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ViewChanged();

  std::shared_ptr<const PreviewData> data_;
  MapView view_;
  QImage image_;
  bool stale_ = true;
  bool wholeExtent_ = true;  // the view shows the full extent (kept so on resize)
  bool pressed_ = false;
  bool dragging_ = false;
  QPoint pressAt_;
  QPoint dragOffset_;
};

}  // namespace veldrane::ui
