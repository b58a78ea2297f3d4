// The metadata members of the workspace helper: the document kept beside
// each survey file (its full name + ".xml"), filled from the survey's own
// values on every read, and saved back on request.
#include <exception>
#include <memory>
#include <string>

#include "config/file_system.h"
#include "config/metadata_writer.h"
#include "host/pugi_xml_property_set.h"
#include "model/constants.h"
#include "model/error_propagation.h"
#include "model/notifier.h"
#include "plugin/svy_workspace_helper.h"
#include "readers/survey_factory.h"

namespace veldrane {
namespace {

constexpr const char* kModule = "svy_workspace_metadata.cpp";

// "a.em:CrossSections" names the dataset "a.em".
std::string DatasetBaseName(const std::string& localName) { return localName.substr(0, localName.find(':')); }

// A stored document that could not be used is replaced by an empty one; the
// person who kept it is told why, since saving the filled document would
// replace it.
void ShowLoadProblems(ISurveyErrorQueue& problems) {
  while (!problems.IsEmpty()) {
    const auto record = problems.Pop();
    CurrentNotifier().Notify(NoticeKind::MessageBox, "Metadata", record->Filename() + " : " + record->Description());
  }
}

}  // namespace

std::shared_ptr<IXmlPropertySet> SvyWorkspaceHelper::Metadata(const std::string& localName) {
  try {
    const std::filesystem::path surveyFile = DatasetPath(DatasetBaseName(localName));
    if (!FileExists(surveyFile)) return nullptr;
    // Read anew on every request, so the document follows the file.
    const std::shared_ptr<IInterface> survey = OpenSurveyFile(surveyFile.string());
    GenericSurveyErrorQueue problems;
    std::shared_ptr<IXmlPropertySet> document = LoadMetadataFor(surveyFile, &problems);
    ShowLoadProblems(problems);
    if (survey == nullptr || !SetMetadataValuesFrom(*document, *survey)) {
      throw RaisedError(kErrUnexpected, "Ordane.SvyWorkspaceHelper.Metadata",
                        surveyFile.string() + " was read as neither a survey nor a traverse");
    }
    return document;
  } catch (const std::exception& failure) {
    ReportProcedureError(true, ProcedureWhere("Metadata", kModule), failure, kReportToErrorWindow);
    return nullptr;
  }
}

void SvyWorkspaceHelper::SetMetadata(const std::string& localName, const IXmlPropertySet& propertySet) {
  try {
    const std::filesystem::path target = MetadataPathFor(DatasetPath(DatasetBaseName(localName)));
    // A read-only document is kept by hand and is never replaced.
    if (FileExists(target) && IsArchiveAttributeSet(target)) return;
    propertySet.SaveAsFile(target);  // a document that cannot be saved stays as it was
  } catch (const std::exception&) {
    // Storing metadata is best effort: whatever was there stays untouched.
  }
}

}  // namespace veldrane
