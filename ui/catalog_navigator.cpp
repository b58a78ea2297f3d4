#include "ui/catalog_navigator.h"

#include <QCoreApplication>

#include "ui/survey_text_editor.h"
#include "ui/svy_view_source_tab.h"
#include "ui/text_line_selection.h"
#include "ui/user_messages.h"

namespace veldrane::ui {

void ArcCatalogNavigator::JumpToError(int lngErrorLine, const QString& strFileName, std::function<void()> done) {
  CatalogApplication* application = GetGxApplication();
  if (application == nullptr) {
    if (done) done();
    return;
  }
  application->SelectSurveyFile(strFileName, [application, lngErrorLine, done](bool selected) {
    if (selected) {
      application->SwitchToTextView();
      QCoreApplication::processEvents();
      if (auto* tab = qobject_cast<SvyViewSourceTab*>(application->CurrentView())) {
        if (tab->InEditingMode()) {
          application->Messages().Inform(
              "Please first click the 'Stop Editing' Button before attempting to view the error line.",
              "Halden Veldrane", MessageIcon::Information);
        } else if (SurveyTextEditor* box = tab->GetRichTextBox()) {
          HighlightLineInRTB(*box, lngErrorLine, application->Messages());
        }
      }
    }
    if (done) done();
  });
}

}  // namespace veldrane::ui
