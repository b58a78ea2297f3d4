#include "readers/fixedcolumn/point_code_table.h"

#include "config/value_domain.h"

namespace veldrane {

PointCodeTable::PointCodeTable()
    : PointCodeTable([](const std::string& code) { return DomainValueLookup("CODE", code); }) {}

PointCodeTable::PointCodeTable(FallbackLookup fallback) : fallback_(std::move(fallback)) {}

const PointCode* PointCodeTable::Intern(std::string_view code) {
  if (last_ && last_->code == code) return last_;
  auto it = entries_.find(code);
  if (it == entries_.end()) {
    PointCode entry;
    entry.code.assign(code);
    // The file's own dictionary overrides the shared domain.
    if (const std::string* own = dictionary_.Find(entry.code)) {
      entry.description = *own;
    } else if (fallback_) {
      entry.description = fallback_(entry.code);
    }
    std::string key = entry.code;
    it = entries_.emplace(std::move(key), std::move(entry)).first;
  }
  last_ = &it->second;
  return last_;
}

}  // namespace veldrane
