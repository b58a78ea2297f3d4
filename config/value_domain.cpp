#include "config/value_domain.h"

#include "config/module_context.h"
#include "config/process_tables.h"
#include "config/settings_paths.h"
#include "config/table_text.h"
#include "model/constants.h"
#include "model/notifier.h"
#include "model/survey_error.h"
#include "model/text.h"

namespace veldrane {

namespace {
void ShowLoadProblem(const std::string& text) { CurrentNotifier().Notify(NoticeKind::MessageBox, "", text); }
}  // namespace

SurveyValueDomain::SurveyValueDomain(const std::string& tableFileName) { LoadTable(tableFileName, ","); }

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

std::shared_ptr<const SurveyValueDomain> SharedValueDomain() {
  ModuleContext& context = CurrentModuleContext();
  if (!context.ValueDomain()) {
    const std::string path = DomainFilePath();
    context.SetValueDomain(LoadedOncePerProcess<SurveyValueDomain>(
        path, [&path] { return std::make_shared<const SurveyValueDomain>(path); }));
  }
  return context.ValueDomain();
}

void ResetSharedValueDomain() { CurrentModuleContext().SetValueDomain(nullptr); }

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
