#pragma once
// ArcCatalogNavigator: brings the catalog forward at a survey file and a
// line. JumpToError selects the file in the tree, switches to the "Text"
// tab and selects the line there, unless the text is being edited (then it
// only says so). The running catalog is this process's window; another
// process reaches it through the single-instance socket (`--goto`).
#include <QString>
#include <functional>

class QWidget;

namespace veldrane::ui {

class UserMessages;

// The running catalog as the navigator drives it.
class CatalogApplication {
 public:
  virtual ~CatalogApplication() = default;
  // Makes the survey file the tree's selection, listing the folders on the
  // way (and showing the file's folder when it is not in the tree);
  // `selected` gets false when there is no such file.
  virtual void SelectSurveyFile(const QString& path, std::function<void(bool)> selected) = 0;
  // Makes "Text" the current tab.
  virtual void SwitchToTextView() = 0;
  // The widget of the current tab.
  virtual QWidget* CurrentView() const = 0;
  virtual UserMessages& Messages() = 0;
};

class ArcCatalogNavigator {
 public:
  // `application` is null when no catalog runs.
  explicit ArcCatalogNavigator(CatalogApplication* application) : application_(application) {}

  CatalogApplication* GetGxApplication() const { return application_; }
  // Line numbers are one-based. The file is selected once the folders on
  // its way are listed; `done` runs after the jump (or when it stops).
  void JumpToError(int lngErrorLine, const QString& strFileName, std::function<void()> done = {});

 private:
  CatalogApplication* application_;
};

}  // namespace veldrane::ui
