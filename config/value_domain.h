#pragma once
// Coded values: the value domain table DOMAINS.csv maps, per domain, the
// ways survey crews write a value (point codes, datum names, units, zones)
// to the value the library works with.
//
// DOMAINS.csv: line 1 is a header and is skipped unread. Every further line
// is cut at the delimiter; only lines of exactly three fields (domain, key,
// value) are used, each field trimmed of blanks and upper-cased. Domains and
// keys keep the order of first appearance. A key repeated within a domain is
// reported through the notifier (" : " and the line's text) and the first
// definition stays; loading goes on with the next line.
#include <memory>
#include <string>
#include <vector>

#include "config/code_dictionary.h"
#include "config/ordered_map.h"

namespace veldrane {

class SurveyValueDomain {
 public:
  // An empty table.
  SurveyValueDomain() = default;
  // Loads `tableFileName` with delimiter ",".
  explicit SurveyValueDomain(const std::string& tableFileName);

  // Replaces the whole table by the file's contents. An empty delimiter
  // loads nothing. A file that cannot be opened leaves the table empty
  // after one message.
  void LoadTable(const std::string& tableFileName, const std::string& delimiter = "");
  // The same rules on text already in memory.
  void LoadTableText(std::string_view text, const std::string& delimiter);

  // The value of `Key` (trimmed, upper-cased) in `domain` (trimmed, case
  // kept: domain names are given in upper case); empty when the key is not
  // in the domain. A domain that is not in the table raises RaisedError.
  std::string LookupValue(const std::string& domain, const std::string& Key) const;
  // The domain's keys in file order; raises RaisedError for a domain that is
  // not in the table.
  std::vector<std::string> LookupKeys(const std::string& domain) const;

  bool HasDomain(const std::string& domain) const;
  std::size_t DomainCount() const { return table_.Size(); }

 private:
  const OrderedMap<std::string>& DomainOrThrow(const std::string& domain, const char* procedure) const;

  OrderedMap<OrderedMap<std::string>> table_;
};

// The current module context's value domain: at first use, the process's
// copy of the configured table (loaded once per process and path).
std::shared_ptr<const SurveyValueDomain> SharedValueDomain();
// Drops the current context's handle, so the next use takes the table of
// the path configured then (tests; after the settings changed).
void ResetSharedValueDomain();

// LookupValue on the shared value domain; any failure gives "".
std::string DomainValueLookup(const std::string& domain, const std::string& key);

// The survey's own description of a point code when its code dictionary
// (CODES.DAT) has one, else the "CODE" domain's value for it.
std::string CodeDescription(const std::string& code, const CodeDictionary& dictionary);

}  // namespace veldrane
