#include "readers/survey_factory.h"

#include <array>
#include <exception>

#include "config/file_access.h"
#include "model/constants.h"
#include "model/error_propagation.h"
#include "model/survey_error.h"
#include "model/text.h"
#include "readers/em/em_baseline.h"
#include "readers/em/em_survey.h"
#include "readers/fixedcolumn/corvid830_survey.h"
#include "readers/pro/pro_survey.h"
#include "readers/traverse/tessel_traverse.h"

namespace veldrane {
namespace {

// ---------------------------------------------------------------------------
// Reader openers, one entry per SurveyReaderKind (in enum order). Plug a
// reader in by including its header above and naming its opener here.
struct ReaderEntry {
  SurveyReaderKind kind;
  const char* description;  // names the file type in the "not supported" error
  SurveyReaderOpener opener;
};

constexpr std::array<ReaderEntry, 4> kSurveyReaders{{
    {SurveyReaderKind::Corvid830, "fixed-column survey (.830)", &Corvid830Survey::Open},
    {SurveyReaderKind::Pro, "profile survey (.pro)", &ProSurvey::Open},
    {SurveyReaderKind::Traverse, "traverse (.27, .83)", &TesselTraverse::Open},
    {SurveyReaderKind::Baseline, "EM baseline (.bl)", &EMBaseline::Open},
}};
// ---------------------------------------------------------------------------

constexpr const char* kSourceOpenSurveyFile = "Ordane.SurveyFactory.OpenSurveyFile";

const ReaderEntry& EntryOf(SurveyReaderKind kind) {
  for (const auto& entry : kSurveyReaders)
    if (entry.kind == kind) return entry;
  return kSurveyReaders.front();  // unreachable: every kind has an entry
}

std::shared_ptr<IInterface> OpenWith(SurveyReaderKind kind, const std::string& path, const char* source) {
  const ReaderEntry& entry = EntryOf(kind);
  if (entry.opener == nullptr)
    throw RaisedError(kErrUnexpected, source,
                      path + " cannot be opened: reading " + entry.description + " files is not supported yet");
  return entry.opener(path);
}

template <class I>
std::shared_ptr<I> As(std::shared_ptr<IInterface> object, const std::string& path, const char* what,
                      const char* source) {
  auto result = std::dynamic_pointer_cast<I>(object);
  if (!result) throw RaisedError(kErrUnexpected, source, path + " did not open as a " + what);
  return result;
}

bool HasExtension(const std::string& path, std::string_view extension) {
  return EndsWithIgnoreCase(path, extension);
}

}  // namespace

SurveyReaderOpener FindSurveyReader(SurveyReaderKind kind) { return EntryOf(kind).opener; }

std::shared_ptr<ISurvey> OpenEMSurveyFile(const std::string& path) {
  auto survey = std::make_shared<EMSurvey>();
  survey->OpenSurvey(path);
  return survey;
}

std::shared_ptr<ISurvey> OpenCorvid830SurveyFile(const std::string& path) {
  constexpr const char* kSource = "Ordane.SurveyFactory.OpenCorvid830SurveyFile";
  return As<ISurvey>(OpenWith(SurveyReaderKind::Corvid830, path, kSource), path, "survey", kSource);
}

std::shared_ptr<ISurvey> OpenProSurveyFile(const std::string& path) {
  constexpr const char* kSource = "Ordane.SurveyFactory.OpenProSurveyFile";
  return As<ISurvey>(OpenWith(SurveyReaderKind::Pro, path, kSource), path, "survey", kSource);
}

std::shared_ptr<ITraverse> OpenTraverseFile(const std::string& path) {
  if (HasExtension(path, ".27") || HasExtension(path, ".83"))
    return As<ITraverse>(OpenWith(SurveyReaderKind::Traverse, path, kSourceOpenSurveyFile), path, "traverse",
                         kSourceOpenSurveyFile);
  if (HasExtension(path, ".bl")) return OpenBaselineFile(path);
  throw RaisedError(kErrUnrecognizedExtension, kSourceOpenSurveyFile,
                    path + " has an unrecognized traverse extension");
}

std::shared_ptr<ITraverse> OpenBaselineFile(const std::string& path) {
  constexpr const char* kSource = "Ordane.SurveyFactory.OpenBaselineFile";
  return As<ITraverse>(OpenWith(SurveyReaderKind::Baseline, path, kSource), path, "traverse", kSource);
}

std::shared_ptr<IInterface> OpenSurveyFile(const std::string& path) {
  if (HasExtension(path, ".em") || HasExtension(path, ".cl")) return OpenEMSurveyFile(path);
  if (HasExtension(path, ".830")) return OpenCorvid830SurveyFile(path);
  if (HasExtension(path, ".pro")) return OpenProSurveyFile(path);
  if (HasExtension(path, ".27") || HasExtension(path, ".83")) return OpenTraverseFile(path);
  if (HasExtension(path, ".bl")) return OpenBaselineFile(path);
  throw RaisedError(kErrUnrecognizedExtension, kSourceOpenSurveyFile,
                    path + " has an unrecognized survey/traverse extension");
}

std::shared_ptr<IInterface> OpenSurveyText(const std::string& path, std::string bytes) {
  TextOverlayAccess access(path, std::move(bytes));
  FileAccessScope scope(access);
  return OpenSurveyFile(path);
}

bool IsValidSurveyFile(const std::string& path) {
  try {
    for (const char* extension : {".em", ".cl", ".830", ".pro", ".83", ".27", ".bl"})
      if (HasExtension(path, extension)) return true;
    return false;
  } catch (const std::exception& failure) {
    ReportProcedureError(true, ProcedureWhere("IsValidSurveyFile", "survey_factory.cpp"), failure);
    return false;
  }
}

bool IsValidTraverseFile(const std::string& path) {
  try {
    for (const char* extension : {".83", ".27", ".bl"})
      if (HasExtension(path, extension)) return true;
    return false;
  } catch (const std::exception& failure) {
    ReportProcedureError(true, ProcedureWhere("IsValidTraverseFile", "survey_factory.cpp"), failure);
    return false;
  }
}

}  // namespace veldrane
