#pragma once
// Attribute values of a feature class for the "Table" tab and the Preview's
// identify panel, read through the dataset's cursors on the reader thread
// and handed over as QVariants: a null (or a value the schema leaves
// unwritten) is an invalid QVariant, shown empty; a date is a QDate, or a
// QDateTime when it has a time of day.
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>
#include <utility>
#include <vector>

#include "host/row_buffer.h"

namespace veldrane {
class SvyDatasetHelper;
class IPlugInCursorHelper;
}  // namespace veldrane

namespace veldrane::ui {

QVariant CellValue(const RowValue& value);

// A cursor over every record of one class, read a batch at a time.
class FeatureRows {
 public:
  // Null with `problem` set when the class cannot be fetched.
  static std::unique_ptr<FeatureRows> Open(SvyDatasetHelper& dataset, int classIndex, QString& problem);

  // "OBJECTID", "SHAPE", then the attribute fields.
  const QStringList& Columns() const { return columns_; }
  // Up to `count` further rows, fewer once the records run out.
  std::vector<QVector<QVariant>> Next(int count);
  bool Finished() const { return finished_; }

 private:
  std::shared_ptr<IPlugInCursorHelper> cursor_;
  std::unique_ptr<RowBuffer> row_;
  QStringList columns_;
  QString shapeText_;  // "Polyline ZM": what the SHAPE column shows
  bool finished_ = false;
};

// The field names and values of one record; empty when there is no such record.
QVector<std::pair<QString, QVariant>> ReadFeature(SvyDatasetHelper& dataset, int classIndex, int oid);

}  // namespace veldrane::ui
