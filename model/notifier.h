#pragma once
// The one way the library talks to a person outside of error queues: message
// boxes, warning boxes and the error display window all go through the
// current thread's notifier. Hosts plug in their own (the desktop catalog
// shows dialogs, the OGR driver emits GDAL warnings); the default writes to
// standard error, so the logic runs headless in tests and in the CLI.
#include <string>

namespace veldrane {

enum class NoticeKind {
  ErrorWindow,  // a call-stack report for the application's error display
  WarningBox,   // an "Unexpected Program Error" style warning
  MessageBox,   // a plain informational or warning message box
};

class INotifier {
 public:
  virtual ~INotifier() = default;
  virtual void Notify(NoticeKind kind, const std::string& title, const std::string& text) = 0;
};

class StderrNotifier : public INotifier {
 public:
  void Notify(NoticeKind kind, const std::string& title, const std::string& text) override;
};

// The notifier of the calling thread. Never null: without SetNotifier it is
// a thread-local StderrNotifier.
INotifier& CurrentNotifier();
// Installs a notifier for the calling thread (nullptr restores the default).
// The caller keeps ownership and must keep it alive while installed.
void SetNotifier(INotifier* notifier);

// Installs a notifier for the lifetime of the guard, then restores the old one.
class ScopedNotifier {
 public:
  explicit ScopedNotifier(INotifier* notifier);
  ~ScopedNotifier();
  ScopedNotifier(const ScopedNotifier&) = delete;
  ScopedNotifier& operator=(const ScopedNotifier&) = delete;

 private:
  INotifier* previous_;
};

}  // namespace veldrane
