#include "model/notifier.h"

#include <cstdio>

namespace veldrane {
namespace {
thread_local StderrNotifier tDefaultNotifier;
thread_local INotifier* tNotifier = nullptr;
}  // namespace

void StderrNotifier::Notify(NoticeKind, const std::string& title, const std::string& text) {
  if (title.empty())
    std::fprintf(stderr, "veldrane: %s\n", text.c_str());
  else
    std::fprintf(stderr, "veldrane: %s: %s\n", title.c_str(), text.c_str());
}

INotifier& CurrentNotifier() { return tNotifier ? *tNotifier : tDefaultNotifier; }

void SetNotifier(INotifier* notifier) { tNotifier = notifier; }

ScopedNotifier::ScopedNotifier(INotifier* notifier) : previous_(tNotifier) { tNotifier = notifier; }
ScopedNotifier::~ScopedNotifier() { tNotifier = previous_; }

}  // namespace veldrane
