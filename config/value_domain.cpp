#include "config/value_domain.h"

#include "config/settings_paths.h"
#include "config/table_text.h"
#include "model/constants.h"
#include "model/notifier.h"
#include "model/survey_error.h"
#include "model/text.h"

namespace veldrane {

namespace {
thread_local std::shared_ptr<SurveyValueDomain> tSharedValueDomain;

void ShowLoadProblem(const std::string& text) { CurrentNotifier().Notify(NoticeKind::MessageBox, "", text); }
}  // namespace

SurveyValueDomain::SurveyValueDomain(const std::string& tableFileName) { LoadTable(tableFileName, ","); }

std::shared_ptr<SurveyValueDomain> SurveyValueDomain::CreateFromSettings() {
  return std::make_shared<SurveyValueDomain>(DomainFilePath());
}

void SurveyValueDomain::LoadTable(const std::string& tableFileName, const std::string& delimiter) {
  table_.Clear();
  std::string text, error;
  if (!ReadTableFile(tableFileName, text, error)) {
    ShowLoadProblem(TableLineMessage(error, tableFileName));
    return;
  }
  LoadTableText(text, delimiter);
}

void SurveyValueDomain::LoadTableText(std::string_view text, const std::string& delimiter) {
  table_.Clear();
  if (delimiter.empty()) return;
  const auto lines = TableLines(text);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto fields = SplitAtDelimiter(lines[i], delimiter);
    if (fields.size() != 3) continue;
    const auto domain = ToUpperAscii(TrimBlanks(fields[0]));
    auto* keys = table_.Find(domain);
    if (!keys) {
      table_.Add(domain, {});
      keys = table_.Find(domain);
    }
    if (!keys->Add(ToUpperAscii(TrimBlanks(fields[1])), ToUpperAscii(TrimBlanks(fields[2]))))
      ShowLoadProblem(TableLineMessage(kDuplicateKeyDescription, lines[i]));
  }
}

bool SurveyValueDomain::HasDomain(const std::string& domain) const {
  return table_.Contains(std::string(TrimBlanks(domain)));
}

const OrderedMap<std::string>& SurveyValueDomain::DomainOrThrow(const std::string& domain,
                                                                const char* procedure) const {
  const auto name = std::string(TrimBlanks(domain));
  if (const auto* keys = table_.Find(name)) return *keys;
  throw RaisedError(kErrUnexpected, std::string("Ordane.SurveyValueDomain.") + procedure,
                    "Domain \"" + name + "\" is not in the value domain table");
}

std::string SurveyValueDomain::LookupValue(const std::string& domain, const std::string& Key) const {
  const auto& keys = DomainOrThrow(domain, "LookupValue");
  const auto* value = keys.Find(ToUpperAscii(TrimBlanks(Key)));
  return value ? *value : std::string();
}

std::vector<std::string> SurveyValueDomain::LookupKeys(const std::string& domain) const {
  std::vector<std::string> result;
  for (const auto& entry : DomainOrThrow(domain, "LookupKeys").Entries()) result.push_back(entry.first);
  return result;
}

std::shared_ptr<SurveyValueDomain> SharedValueDomain() {
  if (!tSharedValueDomain) tSharedValueDomain = SurveyValueDomain::CreateFromSettings();
  return tSharedValueDomain;
}

void ResetSharedValueDomain() { tSharedValueDomain.reset(); }

std::string DomainValueLookup(const std::string& domain, const std::string& key) {
  try {
    return SharedValueDomain()->LookupValue(domain, key);
  } catch (const std::exception&) {
    return {};
  }
}

std::string CodeDescription(const std::string& code, const CodeDictionary& dictionary) {
  if (const auto* description = dictionary.Find(code)) return *description;
  return DomainValueLookup("CODE", code);
}

}  // namespace veldrane
