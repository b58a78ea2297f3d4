#include "readers/fixedcolumn/interned_code_table.h"

#include "config/value_domain.h"

namespace veldrane {

InternedCodeTable::InternedCodeTable()
    : InternedCodeTable([](const std::string& code) { return DomainValueLookup("CODE", code); }) {}

InternedCodeTable::InternedCodeTable(FallbackLookup fallback) : fallback_(std::move(fallback)) {}

const InternedCode* InternedCodeTable::Intern(std::string_view code) {
  if (last_ && last_->code == code) return last_;
  auto it = entries_.find(code);
  if (it == entries_.end()) {
    InternedCode entry;
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
