#pragma once
// The edge between GDAL and the data source. Everything the driver does for
// a GDAL caller runs inside a BoundaryScope (the data source's own reports
// become GDAL warnings, and files are reached through GDAL's virtual file
// systems) and inside Guarded (no exception ever reaches GDAL: a failure
// becomes a GDAL error and the call returns its fallback).
#include <exception>
#include <string>
#include <utility>

#include <cpl_error.h>
#include <ogr_core.h>

#include "config/module_context.h"
#include "model/notifier.h"

namespace veldrane::ogr {

// Turns the data source's message boxes and call-stack reports into GDAL
// warnings. Stateless, so one instance serves every thread.
class CplNotifier final : public INotifier {
 public:
  void Notify(NoticeKind kind, const std::string& title, const std::string& text) override;
};

// Installs the CplNotifier on the calling thread, and gives the current
// module context a VsiFileAccess when it has no file access (a dataset's
// context keeps the one its open had, so its folders are listed once),
// for the scope's lifetime.
class BoundaryScope {
 public:
  BoundaryScope();
  ~BoundaryScope();
  BoundaryScope(const BoundaryScope&) = delete;
  BoundaryScope& operator=(const BoundaryScope&) = delete;

 private:
  ScopedNotifier scoped_;
  ModuleContext* given_ = nullptr;  // the context given a file access here
};

// Emits CE_Failure "Veldrane: <where>: <what>" with the error number
// `number` for the exception in flight.
void ReportBoundaryFailure(const char* where, const std::exception* failure, CPLErrorNum number = CPLE_AppDefined);

// Emits CE_Failure "Veldrane: <what>: survey files are read-only" and
// returns OGRERR_UNSUPPORTED_OPERATION: the answer to every write.
OGRErr RefuseWrite(const char* what);

// Runs `body` inside a BoundaryScope; any exception becomes a GDAL error
// (numbered `number`: CPLE_OpenFailed for opens) and `fallback` is returned
// instead.
template <class T, class Body>
T Guarded(const char* where, T fallback, Body&& body, CPLErrorNum number = CPLE_AppDefined) {
  try {
    BoundaryScope scope;
    return std::forward<Body>(body)();
  } catch (const std::exception& failure) {
    ReportBoundaryFailure(where, &failure, number);
  } catch (...) {
    ReportBoundaryFailure(where, nullptr, number);
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
