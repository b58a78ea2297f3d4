#pragma once
// Configuration tables every thread reads: each table file is loaded once
// per process, the first time any thread needs it, and is read-only from
// then on, so every context and thread shares the one copy. A table file
// that changes while the process runs is not read again (a host that edits
// a table gives its context a freshly loaded one instead).
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace veldrane {

// The table of type `Table` loaded from `path` by `load`, which runs once per
// process and path (concurrent first callers wait for that one load).
template <class Table>
std::shared_ptr<const Table> LoadedOncePerProcess(const std::string& path,
                                                  const std::function<std::shared_ptr<const Table>()>& load) {
  struct Entry {
    std::once_flag loaded;
    std::shared_ptr<const Table> table;
  };
  static std::mutex mutex;
  static std::map<std::string, std::shared_ptr<Entry>> entries;
  std::shared_ptr<Entry> entry;
  {
    std::lock_guard<std::mutex> lock(mutex);
    auto& slot = entries[path];
    if (!slot) slot = std::make_shared<Entry>();
    entry = slot;
  }
  std::call_once(entry->loaded, [&] { entry->table = load(); });
  return entry->table;
}

}  // namespace veldrane
