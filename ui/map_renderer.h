#pragma once
// Draws preview geometry into an image for one view of the map. Only what
// lies in the view is drawn, at the level of detail a pixel can show: points
// go straight into the image's pixels, a line keeps one vertex per pixel it
// passes, and a shape smaller than a pixel is drawn as a dot. That keeps a
// redraw of a million points well under the time a pan or zoom may take.
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>

#include "ui/preview_data.h"

namespace veldrane::ui {

// Map units to pixels: y grows upwards on the map and downwards on screen.
struct MapView {
  QPointF center;
  double scale = 1.0;  // pixels per map unit
  QSize size;

  // The view that shows `extent` whole, with a margin.
  static MapView Showing(const QRectF& extent, QSize size);
  QPointF ToScreen(double x, double y) const {
    return {(x - center.x()) * scale + size.width() / 2.0, size.height() / 2.0 - (y - center.y()) * scale};
  }
  QPointF ToMap(QPointF screen) const {
    return {center.x() + (screen.x() - size.width() / 2.0) / scale,
            center.y() - (screen.y() - size.height() / 2.0) / scale};
  }
  QRectF VisibleMap() const;
  // Zooms by `factor` keeping the map point under `screen` in place.
  void ZoomAt(QPointF screen, double factor);
  void PanBy(QPointF screenDelta) { center -= QPointF(screenDelta.x() / scale, -screenDelta.y() / scale); }
};

inline const QRgb kPreviewBackground = qRgb(255, 255, 255);

// Fills `image` (made ARGB32 premultiplied of the view's size when it is
// not) with the background
// and draws every layer, then (unless `legend` is false) a small legend of
// the classes drawn.
void RenderPreview(const PreviewData& data, const MapView& view, QImage& image, bool legend = true);

}  // namespace veldrane::ui
