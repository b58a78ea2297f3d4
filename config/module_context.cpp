#include "config/module_context.h"

namespace veldrane {
namespace {
// Per thread by design: which context the thread works for right now, and
// the context it works for when nobody installed one.
thread_local ModuleContext* tCurrent = nullptr;

ModuleContext& ThreadDefaultContext() {
  thread_local ModuleContext context;
  return context;
}
}  // namespace

ModuleContext::ModuleContext() = default;
ModuleContext::~ModuleContext() = default;

std::shared_ptr<ModuleContext> ModuleContext::Derive() const {
  auto derived = std::make_shared<ModuleContext>();
  derived->settingsPaths_ = settingsPaths_;
  derived->valueDomain_ = valueDomain_;
  derived->coordinateSystemDomain_ = coordinateSystemDomain_;
  derived->catalogRefresh_ = catalogRefresh_;
  derived->fileAccess_ = fileAccess_;
  return derived;
}

ModuleContext& CurrentModuleContext() { return tCurrent != nullptr ? *tCurrent : ThreadDefaultContext(); }

const std::string& CurrentSurveyFile() { return CurrentModuleContext().CurrentSurveyFile(); }

void SetCurrentSurveyFile(std::string path) { CurrentModuleContext().SetCurrentSurveyFile(std::move(path)); }

ModuleContextScope::ModuleContextScope(ModuleContext& context) : previous_(tCurrent) { tCurrent = &context; }

ModuleContextScope::~ModuleContextScope() { tCurrent = previous_; }

}  // namespace veldrane
