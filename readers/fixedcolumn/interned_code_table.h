#pragma once
// Interned point codes with their descriptions. A large survey holds
// millions of points but only a handful of distinct codes, so each point
// keeps a pointer to one shared entry instead of two strings of its own, and
// each code's description is looked up once per file instead of per point.
// Entries never move: the pointers stay valid for the life of the table,
// which the features keep alive through a shared_ptr.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "config/code_dictionary.h"

namespace veldrane {

struct InternedCode {
  std::string code;
  std::string description;
};

class InternedCodeTable {
 public:
  // Finds the description of a code that the file's own dictionary does not
  // hold.
  using FallbackLookup = std::function<std::string(const std::string& code)>;

  // Falls back on the "CODE" domain of the shared value domain table.
  InternedCodeTable();
  explicit InternedCodeTable(FallbackLookup fallback);

  // The file's own code dictionary (CODES.DAT), consulted before the
  // fallback. Fill it before the first Intern: entries keep the description
  // they were made with.
  CodeDictionary& Dictionary() { return dictionary_; }
  const CodeDictionary& Dictionary() const { return dictionary_; }

  // The entry of `code` (as written, already trimmed), made on first use.
  const InternedCode* Intern(std::string_view code);

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  struct Equal {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return a == b; }
  };

  CodeDictionary dictionary_;
  FallbackLookup fallback_;
  std::unordered_map<std::string, InternedCode, Hash, Equal> entries_;
  const InternedCode* last_ = nullptr;  // codes come in runs: check the last one first
};

}  // namespace veldrane
