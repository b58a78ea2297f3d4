#include "gdal/error_record_collector.h"

#include <cpl_error.h>

#include "config/error_log.h"
#include "model/text.h"

namespace veldrane::ogr {

ErrorRecordCollector::ErrorRecordCollector(bool emitWarnings)
    : records_(std::make_shared<ErrorRecords>()), log_(ErrorLog()) {
  auto records = records_;
  subscription_ = log_.Subscribe([records, emitWarnings](const ErrorLogEvent& event) {
    if (event.kind != ErrorLogEventKind::ErrorAdded || event.entry == nullptr) return;
    const ErrorLogEntry& entry = *event.entry;
    records->push_back(
        ErrorRecord{ToValidUtf8(entry.file), entry.line, entry.severity, ToValidUtf8(entry.description)});
    if (!emitWarnings) return;
    const std::string line = FormatErrorLine(entry.file, entry.line, entry.severity, entry.description);
    CPLError(CE_Warning, CPLE_AppDefined, "%s", line.c_str());
  });
}

ErrorRecordCollector::~ErrorRecordCollector() { log_.Unsubscribe(subscription_); }

ErrorRecords ErrorRecordCollector::TakeRecords() {
  ErrorRecords taken = std::move(*records_);
  records_->clear();
  return taken;
}

}  // namespace veldrane::ogr
