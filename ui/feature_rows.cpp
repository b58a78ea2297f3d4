#include "ui/feature_rows.h"

#include <QDate>
#include <QDateTime>

#include "host/geometry_def.h"
#include "model/survey_error.h"
#include "plugin/svy_dataset_helper.h"

namespace veldrane::ui {
namespace {

QString ShapeText(const GeometryDef& definition) {
  QString text;
  switch (definition.GeometryType()) {
    case HostGeometryType::Point: text = "Point"; break;
    case HostGeometryType::Polyline: text = "Polyline"; break;
    case HostGeometryType::Polygon: text = "Polygon"; break;
    default: text = "Shape"; break;
  }
  const QString flags = QString(definition.HasZ() ? "Z" : "") + (definition.HasM() ? "M" : "");
  return flags.isEmpty() ? text : text + ' ' + flags;
}

QVector<QVariant> RowValues(const RowBuffer& row, const QString& shapeText) {
  const Fields& fields = *row.FieldSet();
  QVector<QVariant> values(fields.FieldCount());
  for (std::int32_t i = 0; i < fields.FieldCount(); ++i) {
    if (fields.GetField(i).Type() == HostFieldType::Geometry) values[i] = shapeText;
    else values[i] = CellValue(row.Value(i));
  }
  return values;
}

}  // namespace

QVariant CellValue(const RowValue& value) {
  switch (value.kind) {
    case RowValue::Kind::Unset:
    case RowValue::Kind::Null: return {};
    case RowValue::Kind::SmallInteger:
    case RowValue::Kind::Integer: return value.integer;
    case RowValue::Kind::Double: return value.number;
    case RowValue::Kind::String: return QString::fromStdString(value.text);
    case RowValue::Kind::Date: {
      const DateTime& d = value.date;
      const QDate date(d.Year(), d.Month(), d.Day());
      if (d.TimeOfDaySeconds() == 0) return date;
      return QDateTime(date, QTime(d.Hour(), d.Minute(), d.Second()));
    }
  }
  return {};
}

std::unique_ptr<FeatureRows> FeatureRows::Open(SvyDatasetHelper& dataset, int classIndex, QString& problem) {
  const auto fields = dataset.GetFields(classIndex);
  if (!fields) {
    problem = "the class cannot be read";
    return nullptr;
  }
  auto rows = std::make_unique<FeatureRows>();
  rows->row_ = std::make_unique<RowBuffer>(fields);
  for (std::int32_t i = 0; i < fields->FieldCount(); ++i) {
    const Field& field = fields->GetField(i);
    rows->columns_ << QString::fromStdString(field.Name());
    if (field.GeometryDefinition() != nullptr) rows->shapeText_ = ShapeText(*field.GeometryDefinition());
  }
  rows->cursor_ = dataset.FetchAll(classIndex, "", FieldMap::AllValues(static_cast<std::size_t>(fields->FieldCount())));
  rows->finished_ = !rows->cursor_ || rows->cursor_->IsFinished();
  return rows;
}

std::vector<QVector<QVariant>> FeatureRows::Next(int count) {
  std::vector<QVector<QVariant>> batch;
  while (!finished_ && static_cast<int>(batch.size()) < count) {
    row_->Clear();  // a value the cursor leaves unwritten shows empty, not the previous row's
    const std::int32_t oid = cursor_->QueryValues(*row_);
    QVector<QVariant> values = RowValues(*row_, shapeText_);
    if (!values.isEmpty()) values[0] = oid;
    batch.push_back(std::move(values));
    try {
      cursor_->NextRecord();
    } catch (const RaisedError&) {
      // "No next record"
    }
    finished_ = cursor_->IsFinished();
  }
  return batch;
}

QVector<std::pair<QString, QVariant>> ReadFeature(SvyDatasetHelper& dataset, int classIndex, int oid) {
  QVector<std::pair<QString, QVariant>> values;
  const auto fields = dataset.GetFields(classIndex);
  if (!fields) return values;
  const auto cursor = dataset.FetchByID(classIndex, oid, FieldMap::AllValues(static_cast<std::size_t>(fields->FieldCount())));
  if (!cursor || cursor->IsFinished()) return values;
  RowBuffer row(fields);
  if (cursor->QueryValues(row) != oid) return values;
  const QVector<QVariant> cells = RowValues(row, QString());
  for (std::int32_t i = 0; i < fields->FieldCount(); ++i) {
    if (fields->GetField(i).Type() == HostFieldType::Geometry) continue;
    values.push_back({QString::fromStdString(fields->GetField(i).Name()), i == 0 ? QVariant(oid) : cells[i]});
  }
  return values;
}

}  // namespace veldrane::ui
