// Records read ahead on a second thread: values replayed unchanged, and what
// the cursor reported (through the notifier or as GDAL messages) passed on
// with the record it came with, on the reading thread.
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <cpl_error.h>
#include <gtest/gtest.h>
#include <ogr_geometry.h>

#include "gdal/feature_read_ahead.h"
#include "host/field.h"
#include "host/fields.h"
#include "host/row_buffer.h"
#include "model/notifier.h"
#include "tests/core/capturing_notifier.h"

namespace veldrane::ogr::test {
namespace {

// Fields "N" (double), "T" (string), "I" (integer), "S" (small integer)
// and "D" (date).
std::shared_ptr<const Fields> TestFields() {
  auto fields = std::make_shared<Fields>();
  fields->AddField(Field("N", HostFieldType::Double));
  fields->AddField(Field("T", HostFieldType::String));
  fields->AddField(Field("I", HostFieldType::Integer));
  fields->AddField(Field("S", HostFieldType::SmallInteger));
  fields->AddField(Field("D", HostFieldType::Date));
  return fields;
}

// Yields `count` records; record i holds N = i / 4, T = "r<i>" (null for
// every fifth, a Windows-1252 text for record 3), I = -1000 i, S = -i and
// D = i days after the epoch, and a point (i, -i); record `noisy` reports
// through the notifier and GDAL, and moving past record `broken` throws
// something that is not the end.
class FakeCursor : public IPlugInCursorHelper {
 public:
  FakeCursor(int count, int noisy, int broken) : count_(count), noisy_(noisy), broken_(broken) {}
  void NextRecord() override {
    if (current_ == broken_) throw std::runtime_error("disk gone");
    ++current_;
    threads.insert(std::this_thread::get_id());
    contexts.insert(&CurrentModuleContext());
  }
  bool IsFinished() override { return current_ >= count_; }
  std::int32_t QueryValues(IRowBuffer& row) override {
    row.SetDouble(0, current_ / 4.0);
    if (current_ % 5 == 0) row.SetNull(1);
    else if (current_ == 3) row.SetString(1, "caf\xe9");  // Windows-1252
    else row.SetString(1, "r" + std::to_string(current_));
    row.SetInteger(2, -1000 * current_);
    row.SetSmallInteger(3, static_cast<std::int16_t>(-current_));
    row.SetDate(4, DateTime::FromSeconds(std::int64_t{86400} * current_));
    if (current_ == noisy_) {
      CurrentNotifier().Notify(NoticeKind::WarningBox, "Unexpected Program Error", "record " + std::to_string(current_));
      CPLError(CE_Warning, CPLE_AppDefined, "gdal says %d", current_);
    }
    return current_;
  }
  void QueryShape(OGRGeometry& geometry) override {
    auto& point = static_cast<OGRPoint&>(geometry);
    point.setX(current_);
    point.setY(-current_);
    point.setZ(1.5);
  }
  std::set<std::thread::id> threads;
  std::set<ModuleContext*> contexts;

 private:
  int count_, noisy_, broken_;
  int current_ = 0;
};

struct Read {
  std::vector<std::string> values;  // per record: "oid N T x y z I S D"
  std::vector<std::string> notices, gdal;
  std::string failure;
};

Read ReadAll(std::shared_ptr<FakeCursor> cursor, std::shared_ptr<ModuleContext> context) {
  FeatureReadAhead::Start start;
  start.cursor = cursor;
  start.context = std::move(context);
  start.fields = TestFields();
  start.datasetLock = std::make_shared<std::mutex>();
  FeatureReadAhead ahead(start);
  veldrane::test::CapturingNotifier notifier;
  ScopedNotifier scoped(&notifier);
  Read read;
  CPLPushErrorHandlerEx(
      [](CPLErr, CPLErrorNum, const char* text) { static_cast<Read*>(CPLGetErrorHandlerUserData())->gdal.push_back(text); },
      &read);
  RowBuffer row(start.fields);
  try {
    while (const ReadAheadRecord* record = ahead.Next()) {
      row.Clear();
      ahead.WriteValues(*record, row);
      const RowValue& text = row.Value(1);
      read.values.push_back(std::to_string(record->oid) + " " + std::to_string(row.Value(0).number) + " " +
                            (text.kind == RowValue::Kind::Null ? std::string("null") : text.text) + " " +
                            std::to_string(record->x) + " " + std::to_string(record->y) + " " +
                            (record->hasZ ? std::to_string(record->z) : std::string("noz")) + " " +
                            std::to_string(row.Value(2).integer) + " " + std::to_string(row.Value(3).integer) + " " +
                            std::to_string(row.Value(4).date.Seconds()));
      read.notices.insert(read.notices.end(), notifier.texts.begin(), notifier.texts.end());
      notifier.texts.clear();
    }
  } catch (const std::exception& failure) {
    read.failure = failure.what();
  }
  CPLPopErrorHandler();
  return read;
}

// That many records, in order and over several batches, come out as read in
// place is pinned by OgrDriverReadAhead on a real survey; here what a survey
// cannot give: every kind of value (dates, texts made UTF-8), the reports of
// record 600 handed out with it, and a failure at record 700 that ends the
// walk after the records before it. Record 700, whose move on failed, is not
// handed out: read in place, its read fails with the same error.
TEST(FeatureReadAhead, ValuesReportsAndAFailureArriveWithTheirRecordOnTheReadingThread) {
  auto cursor = std::make_shared<FakeCursor>(1000, 600, 700);
  const auto dataset = std::make_shared<ModuleContext>();
  const Read read = ReadAll(cursor, dataset);
  ASSERT_EQ(read.values.size(), 700u);
  EXPECT_EQ(read.values[0], "0 0.000000 null 0.000000 0.000000 1.500000 0 0 0");
  EXPECT_EQ(read.values[3], "3 0.750000 caf\xc3\xa9 3.000000 -3.000000 1.500000 -3000 -3 259200");
  EXPECT_EQ(read.failure, "disk gone");
  EXPECT_EQ(read.notices, std::vector<std::string>{"record 600"});
  EXPECT_EQ(read.gdal, std::vector<std::string>{"gdal says 600"});
  // The walk ran on the second thread only, working for the dataset.
  ASSERT_EQ(cursor->threads.size(), 1u);
  EXPECT_NE(*cursor->threads.begin(), std::this_thread::get_id());
  EXPECT_EQ(cursor->contexts, std::set<ModuleContext*>{dataset.get()});
}

}  // namespace
}  // namespace veldrane::ogr::test
