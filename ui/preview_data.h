#pragma once
// The geography the "Preview" tab draws, copied out of the dataset's cursors
// on the reader thread into flat arrays: a million points cost 16 bytes each
// and no survey object is held, so drawing and identifying run on the UI
// thread while the reader thread does other work.
#include <QRectF>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/host_types.h"
#include "plugin/class_schemas.h"
#include "ui/progress_window.h"

namespace veldrane {
class SvyDatasetHelper;
}

namespace veldrane::ui {

struct PreviewLayer {
  // A line or polygon feature: its parts (a line, or a ring: outer ring
  // first, then each hole followed by its islands) are partEnds[firstPart ..
  // firstPart + partCount - 1], each the end (exclusive) of its vertices.
  struct Shape {
    std::int32_t oid = 0;
    std::uint32_t firstPart = 0;
    std::uint32_t partCount = 0;
    QRectF box;
  };

  int classIndex = 0;
  QString className;
  ClassKind kind = ClassKind::CrossSections;
  HostGeometryType type = HostGeometryType::Point;
  std::vector<double> xy;  // vertices: x0, y0, x1, y1, ...
  // Point layers: the OID of every vertex (one feature per vertex).
  std::vector<std::int32_t> oids;
  // Line and polygon layers.
  std::vector<std::uint32_t> partEnds;
  std::vector<Shape> shapes;
  // Benchmarks and gages: the name beside each symbol, one per vertex.
  QStringList labels;
  QRectF extent;

  bool IsPoints() const { return type == HostGeometryType::Point; }
  std::size_t VertexCount() const { return xy.size() / 2; }
  double X(std::size_t vertex) const { return xy[2 * vertex]; }
  double Y(std::size_t vertex) const { return xy[2 * vertex + 1]; }
  std::uint32_t PartBegin(std::uint32_t part) const { return part == 0 ? 0 : partEnds[part - 1]; }
};

struct PreviewData {
  QString path;
  std::vector<PreviewLayer> layers;  // in drawing order: areas, lines, points, symbols
  QRectF extent;
  QString problem;  // why nothing could be drawn
};

// The shapes of one class (`classIndex` >= 0) or of every class (-1) of the
// dataset. Stops early (partial data) when the task is cancelled.
PreviewData ReadPreview(SvyDatasetHelper& dataset, int classIndex, TaskProgress& progress);

struct PreviewHit {
  int layer = 0;  // index into PreviewData::layers
  std::int32_t oid = 0;
};

// The feature drawn at `world` within `tolerance` (map units): symbols and
// points first, then lines, then the area containing the point, as they are
// drawn on top of each other.
std::optional<PreviewHit> FindFeatureAt(const PreviewData& data, QPointF world, double tolerance);

}  // namespace veldrane::ui
