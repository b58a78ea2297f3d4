#include "ui/catalog_navigator.h"

#include <QCoreApplication>

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
      // The Text tab is not part of this build yet: with no source view as
      // the current tab the jump ends at the file's selection.
      (void)lngErrorLine;
    }
    if (done) done();
  });
}

}  // namespace veldrane::ui
