#pragma once
// Helpers for the data source tests: a notifier that records every report,
// a scratch folder, and a host-style loop over a cursor.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "host/fields.h"
#include "host/row_buffer.h"
#include "model/notifier.h"
#include "model/survey_error.h"
#include "plugin/plugin_interfaces.h"
#include "tests/core/temp_dir.h"

namespace veldrane::test {

class RecordingNotifier : public INotifier {
 public:
  RecordingNotifier() : scope_(this) {}
  void Notify(NoticeKind, const std::string&, const std::string& text) override { reports.push_back(text); }
  bool AnyContains(const std::string& piece) const {
    for (const std::string& report : reports) {
      if (report.find(piece) != std::string::npos) return true;
    }
    return false;
  }
  std::vector<std::string> reports;

 private:
  ScopedNotifier scope_;
};

// A fresh, empty folder removed again at the end of the test.
class ScratchFolder : public TempDir {
 public:
  explicit ScratchFolder(const std::string& name) : TempDir("veldrane_ds_" + name + "_") {}
  const std::filesystem::path& Path() const { return path(); }
  std::filesystem::path Write(const std::string& name, const std::string& text) const {
    WriteFile(path() / name, text);
    return path() / name;
  }
};

// Walks a cursor the way a host does and collects the OIDs.
inline std::vector<std::int32_t> CollectOids(IPlugInCursorHelper& cursor, IRowBuffer& row) {
  std::vector<std::int32_t> oids;
  for (int guard = 0; guard < 100000 && !cursor.IsFinished(); ++guard) {
    oids.push_back(cursor.QueryValues(row));
    try {
      cursor.NextRecord();
    } catch (const RaisedError&) {
    }
  }
  return oids;
}

}  // namespace veldrane::test
