#pragma once
// The edge between GDAL and the data source. Everything the driver does for
// a GDAL caller runs inside a BoundaryScope (the data source's own reports
// become GDAL warnings) and inside Guarded (no exception ever reaches GDAL:
// a failure becomes a GDAL error and the call returns its fallback).
#include <exception>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <cpl_error.h>

#include "config/module_context.h"
#include "model/notifier.h"

namespace veldrane::ogr {

// Turns the data source's message boxes and call-stack reports into GDAL
// warnings. Stateless, so one instance serves every thread.
class CplNotifier final : public INotifier {
 public:
  void Notify(NoticeKind kind, const std::string& title, const std::string& text) override;
};

// Installs the CplNotifier on the calling thread for the scope's lifetime.
class BoundaryScope {
 public:
  BoundaryScope();

 private:
  ScopedNotifier scoped_;
};

// Emits CE_Failure "Veldrane: <where>: <what>" for the exception in flight.
void ReportBoundaryFailure(const char* where, const std::exception* failure);

// While a polygon shape is built the data source adds each ring before the
// final closing step, and OGR warns about every ring that is not closed yet.
// While alive, those warnings are dropped on this thread; every other
// message is passed on when it ends.
class RingClosingMessages {
 public:
  RingClosingMessages();
  ~RingClosingMessages();
  RingClosingMessages(const RingClosingMessages&) = delete;
  RingClosingMessages& operator=(const RingClosingMessages&) = delete;

 private:
  static void CPL_STDCALL Keep(CPLErr type, CPLErrorNum number, const char* text);
  std::vector<std::tuple<CPLErr, CPLErrorNum, std::string>> kept_;
};

// Runs `body` inside a BoundaryScope; any exception becomes a GDAL error and
// `fallback` is returned instead.
template <class T, class Body>
T Guarded(const char* where, T fallback, Body&& body) {
  try {
    BoundaryScope scope;
    return std::forward<Body>(body)();
  } catch (const std::exception& failure) {
    ReportBoundaryFailure(where, &failure);
  } catch (...) {
    ReportBoundaryFailure(where, nullptr);
  }
  return fallback;
}

// Guarded, working for `context` (a dataset's) while `body` runs.
template <class T, class Body>
T GuardedIn(ModuleContext& context, const char* where, T fallback, Body&& body) {
  ModuleContextScope scope(context);
  return Guarded<T>(where, std::move(fallback), std::forward<Body>(body));
}

template <class Body>
void GuardedVoid(const char* where, Body&& body) {
  try {
    BoundaryScope scope;
    std::forward<Body>(body)();
  } catch (const std::exception& failure) {
    ReportBoundaryFailure(where, &failure);
  } catch (...) {
    ReportBoundaryFailure(where, nullptr);
  }
}

}  // namespace veldrane::ogr
