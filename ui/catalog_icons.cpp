#include "ui/catalog_icons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <cmath>
#include <functional>

namespace veldrane::ui {
namespace {

QIcon Drawn(const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter);
  return QIcon(pixmap);
}

// A sheet of paper with a drawing on it.
void Sheet(QPainter& p) {
  p.setPen(QColor(90, 90, 90));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(2.5, 0.5, 11, 15));
}

}  // namespace

QIcon FolderIcon() {
  static const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
  return icon;
}

QIcon SurveyFileIcon(bool traverse) {
  static const QIcon survey = Drawn([](QPainter& p) {
    Sheet(p);
    // a cross section: a range line with its ground profile
    p.setPen(QPen(QColor(31, 119, 180), 1.5));
    p.drawLine(QPointF(4, 4), QPointF(12, 4));
    p.setPen(QPen(QColor(140, 90, 30), 1.5));
    p.drawPolyline(QPolygonF({QPointF(4, 9), QPointF(6, 12), QPointF(9, 13), QPointF(12, 8)}));
  });
  static const QIcon traverseIcon = Drawn([](QPainter& p) {
    Sheet(p);
    // a traverse: stations joined by legs
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    const QPolygonF legs({QPointF(4.5, 12.5), QPointF(7, 5), QPointF(10, 10), QPointF(11.5, 3.5)});
    p.drawPolyline(legs);
    p.setBrush(QColor(214, 39, 40));
    for (const QPointF& station : legs) p.drawEllipse(station, 1.3, 1.3);
  });
  return traverse ? traverseIcon : survey;
}

QIcon FeatureClassIcon(HostGeometryType geometry) {
  static const QIcon points = Drawn([](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(16, 52, 110));
    for (const QPointF& c : {QPointF(4, 5), QPointF(11, 4), QPointF(7, 10), QPointF(12, 12)}) p.drawEllipse(c, 2, 2);
  });
  static const QIcon lines = Drawn([](QPainter& p) {
    p.setPen(QPen(QColor(31, 119, 180), 2));
    p.drawPolyline(QPolygonF({QPointF(2, 13), QPointF(6, 6), QPointF(10, 10), QPointF(14, 3)}));
  });
  static const QIcon polygons = Drawn([](QPainter& p) {
    p.setPen(QPen(QColor(170, 85, 20), 1.2));
    p.setBrush(QColor(255, 187, 120));
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addPolygon(QPolygonF({QPointF(2, 3), QPointF(14, 2), QPointF(13, 14), QPointF(3, 13), QPointF(2, 3)}));
    path.addEllipse(QPointF(8, 8), 2.5, 2.5);
    p.drawPath(path);
  });
  switch (geometry) {
    case HostGeometryType::Polyline: return lines;
    case HostGeometryType::Polygon: return polygons;
    default: return points;
  }
}

QIcon SeverityIcon(int severity) {
  static const QIcon warning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
  static const QIcon error = QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical);
  // fatal: the reading stopped here; a stop sign
  static const QIcon fatal = Drawn([](QPainter& p) {
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i) {
      const double a = (22.5 + 45.0 * i) * 3.14159265358979 / 180.0;
      octagon << QPointF(8 + 7.2 * std::cos(a), 8 + 7.2 * std::sin(a));
    }
    p.setPen(QPen(QColor(120, 0, 0), 1));
    p.setBrush(QColor(200, 0, 0));
    p.drawPolygon(octagon);
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(5, 8), QPointF(11, 8));
  });
  if (severity <= 0) return warning;
  return severity >= 2 ? fatal : error;
}

}  // namespace veldrane::ui
