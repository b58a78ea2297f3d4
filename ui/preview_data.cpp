#include "ui/preview_data.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "host/geometry.h"
#include "host/row_buffer.h"
#include "model/survey_error.h"
#include "plugin/svy_dataset_helper.h"

namespace veldrane::ui {
namespace {

// Areas at the bottom, then points, the lines through them, and symbols
// with names on top.
int DrawingRank(ClassKind kind) {
  switch (kind) {
    case ClassKind::Areas: return 0;
    case ClassKind::CrossSections:
    case ClassKind::Profiles:
    case ClassKind::Traverses: return 2;
    case ClassKind::Benchmarks:
    case ClassKind::Gages: return 3;
    default: return 1;
  }
}

// A bounding box that, unlike QRectF, keeps a single point or a straight
// vertical line as a box of its own.
struct Box {
  double x0 = std::numeric_limits<double>::infinity(), y0 = x0;
  double x1 = -x0, y1 = -x0;
  void Add(double x, double y) {
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
  }
  void Add(const QRectF& r) {
    Add(r.left(), r.top());
    Add(r.right(), r.bottom());
  }
  bool IsEmpty() const { return x0 > x1; }
  QRectF Rect() const { return IsEmpty() ? QRectF() : QRectF(QPointF(x0, y0), QPointF(x1, y1)); }
};

// Appends the vertices of a curve as one part and grows `box` by them.
void AddPart(PreviewLayer& layer, const OGRSimpleCurve& curve, Box& box) {
  for (int i = 0; i < curve.getNumPoints(); ++i) {
    const double x = curve.getX(i), y = curve.getY(i);
    layer.xy.push_back(x);
    layer.xy.push_back(y);
    box.Add(x, y);
  }
  layer.partEnds.push_back(static_cast<std::uint32_t>(layer.VertexCount()));
}

void AddShape(PreviewLayer& layer, std::int32_t oid, const OGRGeometry& shape, const QString& label, Box& extent) {
  if (IsEmptyGeometry(shape)) return;
  if (const auto* point = dynamic_cast<const OGRPoint*>(&shape)) {
    layer.xy.push_back(point->getX());
    layer.xy.push_back(point->getY());
    layer.oids.push_back(oid);
    if (layer.kind == ClassKind::Benchmarks || layer.kind == ClassKind::Gages) layer.labels << label;
    extent.Add(point->getX(), point->getY());
    return;
  }
  PreviewLayer::Shape entry;
  entry.oid = oid;
  entry.firstPart = static_cast<std::uint32_t>(layer.partEnds.size());
  Box box;
  if (const auto* line = dynamic_cast<const OGRLineString*>(&shape)) {
    AddPart(layer, *line, box);
  } else if (const auto* polygon = dynamic_cast<const OGRPolygon*>(&shape)) {
    for (const OGRLinearRing* ring : *polygon) AddPart(layer, *ring, box);
  }
  entry.partCount = static_cast<std::uint32_t>(layer.partEnds.size()) - entry.firstPart;
  if (entry.partCount == 0 || box.IsEmpty()) return;
  entry.box = QRectF(QPointF(box.x0, box.y0), QPointF(box.x1, box.y1));
  layer.shapes.push_back(entry);
  extent.Add(entry.box);
}

PreviewLayer ReadLayer(SvyDatasetHelper& dataset, std::int32_t index, TaskProgress& progress) {
  PreviewLayer layer;
  layer.classIndex = index;
  layer.className = QString::fromStdString(dataset.ClassName(index));
  layer.kind = dataset.KindOfClass(index).value_or(ClassKind::CrossSections);
  const auto fields = dataset.GetFields(index);
  const GeometryDef* definition = fields ? fields->GetField(1).GeometryDefinition() : nullptr;
  if (definition == nullptr) return layer;
  layer.type = definition->GeometryType();
  // Only the name is asked for, and only where a symbol carries one.
  std::vector<std::int32_t> map(static_cast<std::size_t>(fields->FieldCount()), -1);
  const std::int32_t name = fields->FindField("Name");
  const bool labelled = (layer.kind == ClassKind::Benchmarks || layer.kind == ClassKind::Gages) && name >= 0;
  if (labelled) map[static_cast<std::size_t>(name)] = name;
  RowBuffer row(fields);
  Box extent;
  const auto shape = NewShape(*definition);
  const auto cursor = dataset.FetchAll(index, "", FieldMap(map));
  for (std::int64_t n = 1; cursor && !cursor->IsFinished(); ++n) {
    if ((n & 0x3fff) == 0 && progress.IsCancel()) break;
    const std::int32_t oid = cursor->QueryValues(row);
    cursor->QueryShape(*shape);
    QString label;
    if (labelled && row.Value(name).kind == RowValue::Kind::String) label = QString::fromStdString(row.Value(name).text);
    AddShape(layer, oid, *shape, label, extent);
    try {
      cursor->NextRecord();
    } catch (const RaisedError&) {
      break;  // "No next record"
    }
  }
  layer.extent = extent.Rect();
  return layer;
}

double SquaredDistanceToSegment(QPointF p, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double length = dx * dx + dy * dy;
  double t = length > 0 ? ((p.x() - ax) * dx + (p.y() - ay) * dy) / length : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = ax + t * dx - p.x(), ey = ay + t * dy - p.y();
  return ex * ex + ey * ey;
}

// Even-odd rule over every ring: inside the outer ring and not in a hole,
// or in an island inside a hole.
bool ShapeContains(const PreviewLayer& layer, const PreviewLayer::Shape& shape, QPointF p) {
  bool inside = false;
  for (std::uint32_t part = shape.firstPart; part < shape.firstPart + shape.partCount; ++part) {
    const std::uint32_t begin = layer.PartBegin(part), end = layer.partEnds[part];
    for (std::uint32_t i = begin, j = end - 1; i < end; j = i++) {
      const double yi = layer.Y(i), yj = layer.Y(j);
      if ((yi > p.y()) != (yj > p.y()) &&
          p.x() < (layer.X(j) - layer.X(i)) * (p.y() - yi) / (yj - yi) + layer.X(i))
        inside = !inside;
    }
  }
  return inside;
}

std::optional<std::int32_t> NearestPoint(const PreviewLayer& layer, QPointF p, double tolerance) {
  double best = tolerance * tolerance;
  std::optional<std::int32_t> found;
  for (std::size_t v = 0; v < layer.VertexCount(); ++v) {
    const double dx = layer.X(v) - p.x(), dy = layer.Y(v) - p.y();
    const double d = dx * dx + dy * dy;
    if (d <= best) {
      best = d;
      found = layer.oids[v];
    }
  }
  return found;
}

std::optional<std::int32_t> NearestLine(const PreviewLayer& layer, QPointF p, double tolerance) {
  double best = tolerance * tolerance;
  std::optional<std::int32_t> found;
  for (const auto& shape : layer.shapes) {
    if (!shape.box.adjusted(-tolerance, -tolerance, tolerance, tolerance).contains(p)) continue;
    for (std::uint32_t part = shape.firstPart; part < shape.firstPart + shape.partCount; ++part) {
      const std::uint32_t begin = layer.PartBegin(part), end = layer.partEnds[part];
      for (std::uint32_t i = begin; i < end; ++i) {
        const std::uint32_t j = i + 1 < end ? i + 1 : i;
        const double d = SquaredDistanceToSegment(p, layer.X(i), layer.Y(i), layer.X(j), layer.Y(j));
        if (d <= best) {
          best = d;
          found = shape.oid;
        }
      }
    }
  }
  return found;
}

}  // namespace

PreviewData ReadPreview(SvyDatasetHelper& dataset, int classIndex, TaskProgress& progress) {
  PreviewData data;
  data.path = QString::fromStdString(dataset.DatasetPath().string());
  const std::int32_t count = dataset.ClassCount();
  const std::int32_t first = classIndex >= 0 ? classIndex : 0;
  const std::int32_t last = classIndex >= 0 ? std::min(classIndex + 1, count) : count;
  progress.total = std::max(0, last - first);
  Box extent;
  for (std::int32_t i = first; i < last && !progress.IsCancel(); ++i) {
    PreviewLayer layer = ReadLayer(dataset, i, progress);
    if (!layer.xy.empty()) extent.Add(layer.extent);
    data.layers.push_back(std::move(layer));
    progress.Step();
  }
  data.extent = extent.Rect();
  std::stable_sort(data.layers.begin(), data.layers.end(), [](const PreviewLayer& a, const PreviewLayer& b) {
    return DrawingRank(a.kind) < DrawingRank(b.kind);
  });
  if (count == 0) data.problem = "nothing to draw";
  return data;
}

std::optional<PreviewHit> FindFeatureAt(const PreviewData& data, QPointF world, double tolerance) {
  // Top of the drawing first: the last layers are drawn last.
  for (int pass = 0; pass < 3; ++pass) {
    for (int i = static_cast<int>(data.layers.size()) - 1; i >= 0; --i) {
      const PreviewLayer& layer = data.layers[static_cast<std::size_t>(i)];
      std::optional<std::int32_t> oid;
      if (pass == 0 && layer.IsPoints()) oid = NearestPoint(layer, world, tolerance);
      if (pass == 1 && layer.type == HostGeometryType::Polyline) oid = NearestLine(layer, world, tolerance);
      if (pass == 2 && layer.type == HostGeometryType::Polygon) {
        for (const auto& shape : layer.shapes)
          if (shape.box.contains(world) && ShapeContains(layer, shape, world)) oid = shape.oid;
      }
      if (oid) return PreviewHit{i, *oid};
    }
  }
  return std::nullopt;
}

}  // namespace veldrane::ui
