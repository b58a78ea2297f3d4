#include "ui/map_renderer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace veldrane::ui {
namespace {

struct LayerStyle {
  QColor line;
  QColor fill;  // areas only
  double width = 1.0;
  enum class Symbol { Dot, Triangle, Diamond } symbol = Symbol::Dot;
};

LayerStyle StyleOf(ClassKind kind) {
  switch (kind) {
    case ClassKind::CrossSections: return {QColor(31, 119, 180), {}, 1.5};
    case ClassKind::CrossSectionPoints: return {QColor(16, 52, 110), {}, 1};
    case ClassKind::Profiles: return {QColor(44, 160, 44), {}, 2};
    case ClassKind::ProfilePoints: return {QColor(18, 96, 18), {}, 1};
    case ClassKind::Areas: return {QColor(170, 85, 20), QColor(255, 187, 120, 120), 1.5};
    case ClassKind::AreaPoints: return {QColor(140, 64, 10), {}, 1};
    case ClassKind::MiscellaneousShotPoints: return {QColor(148, 103, 189), {}, 1};
    case ClassKind::Benchmarks: return {QColor(214, 39, 40), {}, 1, LayerStyle::Symbol::Triangle};
    case ClassKind::Gages: return {QColor(0, 140, 200), {}, 1, LayerStyle::Symbol::Diamond};
    case ClassKind::Traverses: return {QColor(70, 70, 70), {}, 2};
    case ClassKind::TraversePoints: return {QColor(20, 20, 20), {}, 1};
  }
  return {Qt::black, {}, 1};
}

// Symbols with names are few; beyond this many in view the names would
// only cover each other.
constexpr int kMaxLabels = 300;
// Below this many vertices in a layer, lines are smoothed.
constexpr std::size_t kAntialiasVertices = 50000;

// Points as 3x3 squares written straight into the pixels: no painter call
// per point, and points falling on the same pixel cost one write each.
void DrawDots(const PreviewLayer& layer, const MapView& view, QImage& image, QRgb color) {
  const int w = image.width(), h = image.height();
  const double cx = view.center.x(), cy = view.center.y(), s = view.scale, hw = w / 2.0, hh = h / 2.0;
  auto* bits = reinterpret_cast<QRgb*>(image.bits());
  const qsizetype stride = image.bytesPerLine() / 4;
  for (std::size_t v = 0; v < layer.VertexCount(); ++v) {
    const double sx = (layer.X(v) - cx) * s + hw;
    const double sy = hh - (layer.Y(v) - cy) * s;
    if (!(sx >= -1 && sx < w + 1 && sy >= -1 && sy < h + 1)) continue;
    const int px = static_cast<int>(sx), py = static_cast<int>(sy);
    for (int y = std::max(py - 1, 0); y <= std::min(py + 1, h - 1); ++y) {
      QRgb* row = bits + y * stride;
      for (int x = std::max(px - 1, 0); x <= std::min(px + 1, w - 1); ++x) row[x] = color;
    }
  }
}

// The line as the screen can show it: a vertex on the same pixel as the one
// before adds nothing, nor does one that lies within half a pixel of the
// straight line between its neighbours (a range line of a thousand points
// is two vertices at full extent).
QPolygonF ScreenPart(const PreviewLayer& layer, std::uint32_t part, const MapView& view) {
  QPolygonF polygon;
  QPointF kept, candidate;
  bool hasCandidate = false;
  for (std::uint32_t v = layer.PartBegin(part); v < layer.partEnds[part]; ++v) {
    const QPointF exact = view.ToScreen(layer.X(v), layer.Y(v));
    const QPointF p(std::round(exact.x()), std::round(exact.y()));
    if (polygon.isEmpty()) {
      polygon << p;
      kept = p;
      continue;
    }
    if (p == (hasCandidate ? candidate : kept)) continue;
    if (hasCandidate) {
      const QPointF along = p - kept, off = candidate - kept;
      const double length = std::hypot(along.x(), along.y());
      const double distance = length > 0 ? std::abs(along.x() * off.y() - along.y() * off.x()) / length : 0;
      if (distance >= 0.5) {
        polygon << candidate;
        kept = candidate;
      }
    }
    candidate = p;
    hasCandidate = true;
  }
  if (hasCandidate) polygon << candidate;
  return polygon;
}

void DrawShapes(const PreviewLayer& layer, const MapView& view, const QRectF& visible, QPainter& painter,
                const LayerStyle& style) {
  painter.setRenderHint(QPainter::Antialiasing, layer.VertexCount() < kAntialiasVertices);
  painter.setPen(QPen(style.line, style.width));
  painter.setBrush(layer.type == HostGeometryType::Polygon ? QBrush(style.fill) : Qt::NoBrush);
  for (const PreviewLayer::Shape& shape : layer.shapes) {
    if (!shape.box.intersects(visible) && !visible.contains(shape.box.topLeft())) continue;
    if (shape.box.width() * view.scale < 1.5 && shape.box.height() * view.scale < 1.5) {
      painter.drawPoint(view.ToScreen(shape.box.center().x(), shape.box.center().y()));
      continue;
    }
    if (layer.type == HostGeometryType::Polygon) {
      QPainterPath path;
      path.setFillRule(Qt::OddEvenFill);  // holes, and islands in holes
      for (std::uint32_t part = shape.firstPart; part < shape.firstPart + shape.partCount; ++part) {
        path.addPolygon(ScreenPart(layer, part, view));
        path.closeSubpath();
      }
      painter.drawPath(path);
      continue;
    }
    for (std::uint32_t part = shape.firstPart; part < shape.firstPart + shape.partCount; ++part) {
      const QPolygonF line = ScreenPart(layer, part, view);
      if (line.size() == 1) painter.drawPoint(line.front());
      else painter.drawPolyline(line);
    }
  }
}

// A benchmark's triangle or a gage's diamond around `p`.
QPolygonF Symbol(LayerStyle::Symbol symbol, QPointF p, double size) {
  if (symbol == LayerStyle::Symbol::Triangle)
    return QPolygonF({p + QPointF(0, -6) * size, p + QPointF(5.5, 4) * size, p + QPointF(-5.5, 4) * size});
  return QPolygonF({p + QPointF(0, -6) * size, p + QPointF(6, 0) * size, p + QPointF(0, 6) * size, p + QPointF(-6, 0) * size});
}

void DrawSymbols(const PreviewLayer& layer, const MapView& view, QPainter& painter, const LayerStyle& style) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(style.line.darker(140), 1));
  painter.setBrush(style.line);
  const QRectF screen(QPointF(0, 0), view.size);
  int labelled = 0;
  for (std::size_t v = 0; v < layer.VertexCount(); ++v) {
    const QPointF p = view.ToScreen(layer.X(v), layer.Y(v));
    if (!screen.adjusted(-8, -8, 8, 8).contains(p)) continue;
    painter.drawPolygon(Symbol(style.symbol, p, 1));
    if (++labelled <= kMaxLabels && static_cast<qsizetype>(v) < layer.labels.size()) {
      painter.setPen(Qt::black);
      painter.drawText(p + QPointF(8, 4), layer.labels[static_cast<qsizetype>(v)]);
      painter.setPen(QPen(style.line.darker(140), 1));
    }
  }
}

void DrawLegend(const PreviewData& data, QPainter& painter) {
  if (data.layers.empty()) return;
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QFontMetrics metrics(painter.font());
  int width = 0;
  for (const auto& layer : data.layers)
    width = std::max(width, metrics.horizontalAdvance(QString::fromUtf8(ClassKindName(layer.kind).data())));
  const int line = metrics.height() + 2;
  const QRect box(8, 8, width + 40, line * static_cast<int>(data.layers.size()) + 8);
  painter.setPen(QColor(160, 160, 160));
  painter.setBrush(QColor(255, 255, 255, 220));
  painter.drawRect(box);
  int y = box.top() + 4;
  for (const auto& layer : data.layers) {
    const LayerStyle style = StyleOf(layer.kind);
    const QRect swatch(box.left() + 8, y + line / 2 - 5, 18, 10);
    painter.setPen(QPen(style.line, 2));
    painter.setBrush(layer.type == HostGeometryType::Polygon ? QBrush(style.fill) : QBrush(style.line));
    const QPointF mid = QRectF(swatch).center();
    if (layer.type == HostGeometryType::Polyline) painter.drawLine(swatch.left(), swatch.center().y(), swatch.right(), swatch.center().y());
    else if (layer.type == HostGeometryType::Polygon) painter.drawRect(swatch);
    else if (style.symbol == LayerStyle::Symbol::Dot) painter.drawEllipse(mid, 3, 3);
    else painter.drawPolygon(Symbol(style.symbol, mid, 0.8));
    painter.setPen(Qt::black);
    painter.drawText(QRect(swatch.right() + 8, y, width + 4, line), Qt::AlignVCenter,
                     QString::fromUtf8(ClassKindName(layer.kind).data()));
    y += line;
  }
}

}  // namespace

MapView MapView::Showing(const QRectF& extent, QSize size) {
  MapView view;
  view.size = size;
  view.center = extent.center();
  const double w = std::max(extent.width(), 1e-6), h = std::max(extent.height(), 1e-6);
  // A margin on every side, room for the names beside symbols; a single
  // point gets a view of 100 units.
  const double margin = 1.25;
  if (extent.width() <= 0 && extent.height() <= 0) view.scale = std::min(size.width(), size.height()) / 100.0;
  else view.scale = std::min(size.width() / (w * margin), size.height() / (h * margin));
  return view;
}

QRectF MapView::VisibleMap() const {
  const QPointF a = ToMap(QPointF(0, size.height())), b = ToMap(QPointF(size.width(), 0));
  return QRectF(a, b);
}

void MapView::ZoomAt(QPointF screen, double factor) {
  const QPointF before = ToMap(screen);
  scale *= factor;
  const QPointF after = ToMap(screen);
  center += before - after;
}

void RenderPreview(const PreviewData& data, const MapView& view, QImage& image, bool legend) {
  if (image.size() != view.size || image.format() != QImage::Format_ARGB32_Premultiplied)
    image = QImage(view.size, QImage::Format_ARGB32_Premultiplied);
  image.fill(kPreviewBackground);
  QPainter painter(&image);
  const QRectF visible = view.VisibleMap();
  for (const PreviewLayer& layer : data.layers) {
    const LayerStyle style = StyleOf(layer.kind);
    if (!layer.IsPoints()) {
      DrawShapes(layer, view, visible, painter, style);
    } else if (style.symbol == LayerStyle::Symbol::Dot) {
      painter.end();  // the dots go into the pixels while no painter is active
      DrawDots(layer, view, image, style.line.rgb());
      painter.begin(&image);
    } else {
      DrawSymbols(layer, view, painter, style);
    }
  }
  if (legend) DrawLegend(data, painter);
}

}  // namespace veldrane::ui
