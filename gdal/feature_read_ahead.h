#pragma once
// Reads the records of a point class on a second thread, ahead of the
// features the layer hands out. There the cursor walks, writes each
// record's values and builds its point, all into plain records; the layer's
// thread then only builds OGR features from them. Reading a class of
// millions of points that way takes about a third less time, as the walk
// overlaps with whatever the caller does with each feature.
//
// No OGR feature or geometry crosses threads, so nothing is allocated on
// one thread and freed on the other. The survey behind the cursor is used
// by the second thread only while it holds the dataset's lock, which every
// other use of that survey takes too. What the cursor reports while walking
// (through the notifier, or as GDAL messages) is kept with the record it
// came with and passed on when that record is handed out, on the layer's
// thread, as if it had been read there.
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include <cpl_error.h>

#include "config/module_context.h"
#include "config/read_ahead_queue.h"
#include "host/row_buffer.h"
#include "model/date_time.h"
#include "model/notifier.h"
#include "plugin/plugin_interfaces.h"

namespace veldrane {
class SvyCursorBase;
}

namespace veldrane::ogr {

// What a batch of records holds: their values in order, their texts, and
// what was reported while they were read.
struct ReadAheadBatch;

// One record as read ahead.
struct ReadAheadRecord {
  std::int32_t oid = 0;
  std::uint32_t firstValue = 0, endValue = 0;    // its values in the batch
  std::uint32_t firstNotice = 0, endNotice = 0;  // what was reported while reading it
  // The point, when shapes are read: empty, or x, y and the ordinates set.
  bool shapeEmpty = true, hasZ = false, hasM = false;
  double x = 0, y = 0, z = 0, m = 0;
};

// Moves `cursor` to its next record; false when the records ran out. The
// end is signalled by a failure; any other failure (RaisedError) ends the
// walk as well rather than serving one record for ever.
bool StepCursor(IPlugInCursorHelper& cursor);

class alignas(kCacheLine) FeatureReadAhead {
 public:
  struct Start {
    std::shared_ptr<IPlugInCursorHelper> cursor;  // on its current record
    SvyCursorBase* ordinalSource = nullptr;       // tells the record's ordinal directly, when set
    std::shared_ptr<const Fields> fields;         // the row buffer fields the cursor fills
    std::shared_ptr<std::mutex> datasetLock;
    // What the walk works for (the dataset's context); the second thread's
    // own when unset.
    std::shared_ptr<ModuleContext> context;
    bool withShape = true;
  };

  // Starts the second thread; throws std::system_error when there is none
  // to be had (the caller then reads on its own thread). Destroying the
  // object stops the second thread and waits for it.
  explicit FeatureReadAhead(Start start);
  FeatureReadAhead(const FeatureReadAhead&) = delete;
  FeatureReadAhead& operator=(const FeatureReadAhead&) = delete;

  // The next record, or null at the end of the records. It stays valid
  // until the next call. What the cursor reported while reading it is
  // passed on first (to the calling thread's notifier and GDAL error
  // handler); a failure that ended the walk is thrown here, in order.
  const ReadAheadRecord* Next();
  // Writes the values of `record` (the one Next returned last) into `row`,
  // through Row's own setters (no virtual call per value). Texts are
  // already valid UTF-8: text that is not (a Windows code page) was
  // converted as Windows-1252 while it was read.
  template <class Row>
  void WriteValues(const ReadAheadRecord& record, Row& row) const;

  // Records per batch; at most three batches are in use at once. Each
  // batch handed over may wake the other thread, so batches are large
  // enough that the handing over costs next to nothing (a few megabytes
  // in all).
  static constexpr std::size_t kBatchRecords = 4096;

 private:
  using Batch = ReadAheadBatch;
  class Capture;
  // Fills `batch` on the second thread; false when the walk was over.
  bool FillBatch(Batch& batch);
  void WalkInto(Batch& batch, Capture& capture);
  // Passes on the notices [first, end) of the current batch.
  void PassOnNotices(std::uint32_t first, std::uint32_t end) const;

  Start start_;
  bool done_ = false;  // the walk is over (second thread only)
  // Written by the layer's thread for every record: kept off the cache
  // lines the second thread reads, or every record would move them back
  // and forth between the two processor cores.
  alignas(kCacheLine) Batch* current_ = nullptr;
  std::size_t position_ = 0;
  // Last, so it is stopped first: its thread uses everything above.
  std::unique_ptr<ReadAheadQueue<Batch>> queue_;
};

// Aligned to cache lines, so that what the second thread writes while
// filling a batch shares no line with anything of the layer's thread.
struct alignas(kCacheLine) ReadAheadBatch {
  // One value, as small as it goes (24 bytes): the batches cross from one
  // processor core to the other, and their size is what that costs.
  struct Value {
    std::int32_t index = 0;
    enum class Kind : std::uint8_t { Null, SmallInteger, Integer, Double, String, Date } kind = Kind::Null;
    union {
      double number = 0;
      std::int32_t integer;       // SmallInteger, Integer
      std::size_t textOffset;     // String
      std::int64_t dateSeconds;   // Date
    };
    std::size_t textLength = 0;  // String
  };
  static_assert(sizeof(Value) <= 24);
  struct Notice {
    bool fromGdal = false;
    NoticeKind kind = NoticeKind::MessageBox;  // notifier notices
    CPLErr gdalClass = CE_None;                // GDAL messages
    CPLErrorNum gdalNumber = CPLE_None;
    std::string title, text;
  };

  void Clear();

  std::vector<Value> values;
  std::string text;
  std::vector<ReadAheadRecord> records;
  std::vector<Notice> notices;
  std::exception_ptr failure;  // what ended the walk after the last record
};

template <class Row>
void FeatureReadAhead::WriteValues(const ReadAheadRecord& record, Row& row) const {
  using Kind = ReadAheadBatch::Value::Kind;
  const ReadAheadBatch& batch = *current_;
  for (std::uint32_t i = record.firstValue; i < record.endValue; ++i) {
    const ReadAheadBatch::Value& value = batch.values[i];
    switch (value.kind) {
      case Kind::Null: row.Row::SetNull(value.index); break;
      case Kind::SmallInteger: row.Row::SetSmallInteger(value.index, static_cast<std::int16_t>(value.integer)); break;
      case Kind::Integer: row.Row::SetInteger(value.index, value.integer); break;
      case Kind::Double: row.Row::SetDouble(value.index, value.number); break;
      case Kind::String:
        row.Row::SetString(value.index, std::string_view(batch.text.data() + value.textOffset, value.textLength));
        break;
      case Kind::Date: row.Row::SetDate(value.index, DateTime::FromSeconds(value.dateSeconds)); break;
    }
  }
}

}  // namespace veldrane::ogr
