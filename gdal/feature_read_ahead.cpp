#include "gdal/feature_read_ahead.h"

#include <optional>
#include <string_view>
#include <utility>

#include <ogr_geometry.h>

#include "gdal/utf8_row_buffer.h"
#include "model/survey_error.h"
#include "plugin/cursor_base.h"

namespace veldrane::ogr {

void ReadAheadBatch::Clear() {
  values.clear();
  text.clear();
  records.clear();
  notices.clear();
  failure = nullptr;
}

// What the cursor writes and reports on the second thread, kept in the
// batch being filled.
class FeatureReadAhead::Capture final : public IRowBuffer, public INotifier {
 public:
  explicit Capture(std::shared_ptr<const Fields> fields) : fields_(std::move(fields)) {}
  void Into(Batch* batch) { batch_ = batch; }

  const std::shared_ptr<const Fields>& FieldSet() const override { return fields_; }
  void SetNull(std::int32_t index) override { Add(index, Kind::Null); }
  void SetSmallInteger(std::int32_t index, std::int16_t value) override { Add(index, Kind::SmallInteger).integer = value; }
  void SetInteger(std::int32_t index, std::int32_t value) override { Add(index, Kind::Integer).integer = value; }
  void SetDouble(std::int32_t index, double value) override { Add(index, Kind::Double).number = value; }
  void SetString(std::int32_t index, std::string_view value) override {
    Batch::Value& stored = Add(index, Kind::String);
    stored.textOffset = batch_->text.size();
    std::string converted;
    batch_->text.append(AsUtf8(value, converted));
    stored.textLength = batch_->text.size() - stored.textOffset;
  }
  void SetDate(std::int32_t index, const DateTime& value) override {
    Add(index, Kind::Date).dateSeconds = value.Seconds();
  }

  void Notify(NoticeKind kind, const std::string& title, const std::string& text) override {
    Batch::Notice& notice = batch_->notices.emplace_back();
    notice.kind = kind;
    notice.title = title;
    notice.text = text;
  }
  static void CPL_STDCALL KeepGdalMessage(CPLErr type, CPLErrorNum number, const char* text) {
    auto* self = static_cast<Capture*>(CPLGetErrorHandlerUserData());
    Batch::Notice& notice = self->batch_->notices.emplace_back();
    notice.fromGdal = true;
    notice.gdalClass = type;
    notice.gdalNumber = number;
    notice.text = text != nullptr ? text : "";
  }

 private:
  using Kind = Batch::Value::Kind;
  Batch::Value& Add(std::int32_t index, Kind kind) {
    Batch::Value& value = batch_->values.emplace_back();
    value.index = index;
    value.kind = kind;
    return value;
  }

  std::shared_ptr<const Fields> fields_;
  Batch* batch_ = nullptr;
};

FeatureReadAhead::FeatureReadAhead(Start start) : start_(std::move(start)) {
  queue_ = std::make_unique<ReadAheadQueue<Batch>>([this](Batch& batch) { return FillBatch(batch); });
}

bool StepCursor(IPlugInCursorHelper& cursor) {
  try {
    cursor.NextRecord();
  } catch (const RaisedError&) {
    return false;
  }
  return !cursor.IsFinished();
}

void FeatureReadAhead::WalkInto(Batch& batch, Capture& capture) {
  std::lock_guard<std::mutex> survey(*start_.datasetLock);
  batch.records.reserve(kBatchRecords);
  // Read once, not for every record.
  IPlugInCursorHelper& cursor = *start_.cursor;
  SvyCursorBase* const ordinalSource = start_.ordinalSource;
  const bool withShape = start_.withShape;
  bool recordOpen = false;
  try {
    while (!done_ && batch.records.size() < kBatchRecords) {
      if (cursor.IsFinished()) {
        done_ = true;
        break;
      }
      ReadAheadRecord& record = batch.records.emplace_back();
      recordOpen = true;
      record.firstValue = static_cast<std::uint32_t>(batch.values.size());
      record.firstNotice = static_cast<std::uint32_t>(batch.notices.size());
      const std::int32_t oid = cursor.QueryValues(capture);
      record.oid = ordinalSource != nullptr ? ordinalSource->RecordOrdinal() : oid;
      record.endValue = static_cast<std::uint32_t>(batch.values.size());
      if (withShape) {
        // A fresh point for every record, as the layer gives its own reads.
        OGRPoint point;
        cursor.QueryShape(point);
        record.shapeEmpty = point.IsEmpty() != FALSE;
        record.x = point.getX();
        record.y = point.getY();
        record.hasZ = point.Is3D() != FALSE;
        record.z = point.getZ();
        record.hasM = point.IsMeasured() != FALSE;
        record.m = point.getM();
      }
      if (!StepCursor(cursor)) done_ = true;
      record.endNotice = static_cast<std::uint32_t>(batch.notices.size());
      recordOpen = false;
    }
  } catch (...) {
    // Kept for the layer's thread, after the records read before it; a
    // record left half read is not handed out, what it reported is.
    if (recordOpen) batch.records.pop_back();
    batch.failure = std::current_exception();
    done_ = true;
  }
}

bool FeatureReadAhead::FillBatch(Batch& batch) {
  batch.Clear();
  if (done_) return false;
  std::optional<ModuleContextScope> working;
  if (start_.context) working.emplace(*start_.context);
  // What the cursor reports here is kept with the batch.
  Capture capture(start_.fields);
  capture.Into(&batch);
  ScopedNotifier notices(&capture);
  CPLErrorHandlerPusher messages(&Capture::KeepGdalMessage, &capture);
  WalkInto(batch, capture);
  return !batch.records.empty() || batch.failure != nullptr;
}

const ReadAheadRecord* FeatureReadAhead::Next() {
  while (true) {
    if (current_ != nullptr && position_ < current_->records.size()) {
      const ReadAheadRecord& record = current_->records[position_++];
      PassOnNotices(record.firstNotice, record.endNotice);
      return &record;
    }
    if (current_ != nullptr && current_->failure) {
      const std::uint32_t from = current_->records.empty() ? 0 : current_->records.back().endNotice;
      PassOnNotices(from, static_cast<std::uint32_t>(current_->notices.size()));
      std::rethrow_exception(std::exchange(current_->failure, nullptr));
    }
    current_ = queue_->Next();
    position_ = 0;
    if (current_ == nullptr) return nullptr;
  }
}

void FeatureReadAhead::PassOnNotices(std::uint32_t first, std::uint32_t end) const {
  for (std::uint32_t i = first; i < end; ++i) {
    const Batch::Notice& notice = current_->notices[i];
    if (notice.fromGdal) CPLError(notice.gdalClass, notice.gdalNumber, "%s", notice.text.c_str());
    else CurrentNotifier().Notify(notice.kind, notice.title, notice.text);
  }
}

}  // namespace veldrane::ogr
