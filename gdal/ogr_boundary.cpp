#include "gdal/ogr_boundary.h"

#include "model/survey_error.h"
#include "model/text.h"

namespace veldrane::ogr {
namespace {

CplNotifier& SharedNotifier() {
  static CplNotifier notifier;
  return notifier;
}

// One line per message: GDAL clients print messages as lines, and the data
// source's call-stack reports span several.
std::string OneLine(const std::string& text) {
  std::string line;
  bool pendingBlank = false;
  for (const char c : text) {
    if (c == '\n' || c == '\r' || c == '\t' || c == ' ') {
      pendingBlank = !line.empty();
      continue;
    }
    if (pendingBlank) line += ' ';
    pendingBlank = false;
    line += c;
  }
  return line;
}

}  // namespace

void CplNotifier::Notify(NoticeKind /*kind*/, const std::string& title, const std::string& text) {
  // Reports often repeat their title as their first words.
  const bool titled = !title.empty() && text.compare(0, title.size(), title) != 0;
  const std::string message = OneLine(titled ? title + ": " + text : text);
  CPLError(CE_Warning, CPLE_AppDefined, "%s", ToValidUtf8(message).c_str());
}

BoundaryScope::BoundaryScope() : scoped_(&SharedNotifier()) {}

void ReportBoundaryFailure(const char* where, const std::exception* failure) {
  try {
    std::string what = "unexpected failure";
    if (const auto* raised = dynamic_cast<const RaisedError*>(failure)) {
      what = raised->Description() + " (" + std::to_string(raised->Number()) +
             (raised->Source().empty() ? std::string() : ", " + raised->Source()) + ")";
    } else if (failure != nullptr) {
      what = failure->what();
    }
    CPLError(CE_Failure, CPLE_AppDefined, "Veldrane: %s: %s", where, ToValidUtf8(what).c_str());
  } catch (...) {
    CPLError(CE_Failure, CPLE_AppDefined, "Veldrane: %s failed", where);
  }
}

RingClosingMessages::RingClosingMessages() { CPLPushErrorHandlerEx(&RingClosingMessages::Keep, this); }

RingClosingMessages::~RingClosingMessages() {
  CPLPopErrorHandler();
  for (const auto& [type, number, text] : kept_) CPLError(type, number, "%s", text.c_str());
}

void CPL_STDCALL RingClosingMessages::Keep(CPLErr type, CPLErrorNum number, const char* text) {
  auto* self = static_cast<RingClosingMessages*>(CPLGetErrorHandlerUserData());
  const std::string message = text != nullptr ? text : "";
  if (type == CE_Warning && message.rfind("Non closed ring detected", 0) == 0) return;
  self->kept_.emplace_back(type, number, message);
}

}  // namespace veldrane::ogr
