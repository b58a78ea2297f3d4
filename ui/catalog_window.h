#pragma once
// The catalog's main window: the tree of folders, survey files and feature
// classes on the left; the tabs "Contents", "Preview", "Table", "Text" and
// "Metadata" for the selected object on the right; the "Survey Error Log"
// tool window; a status bar. It is what the views know as their CatalogHost
// and what the navigator drives as the running catalog.
#include <QMainWindow>
#include <functional>
#include <memory>

#include "ui/catalog_host.h"
#include "ui/catalog_navigator.h"
#include "ui/catalog_request.h"
#include "ui/catalog_tree_model.h"
#include "ui/user_messages.h"

class QTabWidget;
class QTreeView;

namespace veldrane::ui {

class CatalogSettings;
class CatalogTab;
class ContentsTab;
class ErrorLogWindow;
class MetadataTab;
class PreviewTab;
class SurveyFileActions;
class SurveyReader;
class SvyViewSourceTab;
class TableTab;
class TaskRunner;

class CatalogWindow : public QMainWindow, public CatalogApplication {
  Q_OBJECT

 public:
  struct Options {
    // Where message boxes and questions go; null: dialogs.
    UserMessages* messages = nullptr;
    // Restore the window's place, the last folder and tab, and keep them on close.
    bool keepSettings = true;
  };

  explicit CatalogWindow(Options options);
  CatalogWindow() : CatalogWindow(Options{}) {}
  ~CatalogWindow() override;

  CatalogHost& Host();
  TaskRunner& Tasks() const { return *tasks_; }
  SurveyReader& Reader() const { return *reader_; }
  CatalogTreeModel& TreeModel() const { return *treeModel_; }
  QTreeView* Tree() const { return tree_; }
  QTabWidget* Tabs() const { return tabs_; }
  ErrorLogWindow* ErrorWindow() const { return errorLog_; }
  ArcCatalogNavigator& Navigator() { return navigator_; }
  ContentsTab* Contents() const { return contents_; }
  PreviewTab* Preview() const { return preview_; }
  TableTab* Table() const { return table_; }
  MetadataTab* Metadata() const { return metadata_; }
  SvyViewSourceTab* Text() const { return text_; }
  SurveyFileActions& FileActions() const { return *actions_; }

  // The tree starts at the folder (the home folder when it does not exist).
  void OpenFolder(const QString& folder);
  // The folder a catalog starts at without PATH: the last one, else home.
  QString StartFolder() const;
  // Applies a request; `done` gets the problems (empty when everything
  // asked for was found) once the work it started has finished.
  void Apply(const CatalogRequest& request, std::function<void(const QString& problems)> done);
  // Selects the object (see CatalogTreeModel::Locate); `selected` says
  // whether it was found.
  void SelectPath(const QString& fullName, std::function<void(bool)> selected);
  void ShowTab(const QString& name);
  QString CurrentTabName() const;
  CatalogItem SelectedItem() const;
  // F5: lists the selected folder again, or reads the selected file again.
  void RefreshSelected();
  // Reads the survey file again; the tabs and the error log follow.
  void RefreshSurveyFile(const QString& path);
  // Lays the window out at 1280x800 (the error log docked below when it is
  // shown) for an image of the whole window.
  void PrepareScreenshot();

  // CatalogApplication
  void SelectSurveyFile(const QString& path, std::function<void(bool)> selected) override;
  void SwitchToTextView() override { ShowTab("Text"); }
  QWidget* CurrentView() const override;
  UserMessages& Messages() override { return *messages_; }

 signals:
  void selectionChanged();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildTabs();
  void BuildActions();
  void RestoreSettings();
  void SaveSettings() const;
  void OnCurrentChanged();
  void OnTabChanged();
  void ShowCurrentTab();
  CatalogTab* CurrentCatalogTab() const;
  void ForgetInTabs(const QString& path);
  void OnSurveyRead(const SurveyContents& contents);
  void OnRenamed(const QString& oldPath, const QString& newPath);
  void RefreshFolder(const QString& folder);
  void ShowTreeMenu(const QPoint& at);
  void WhenSettled(std::function<void()> then);
  void ApplyToText(const CatalogRequest& request, std::function<void()> then);

  DialogMessages dialogs_;
  UserMessages* messages_;
  std::unique_ptr<CatalogSettings> settings_;  // null when settings are not kept
  std::unique_ptr<SurveyReader> reader_;
  TaskRunner* tasks_;
  std::unique_ptr<CatalogHost> host_;
  CatalogTreeModel* treeModel_;
  QTreeView* tree_;
  QTabWidget* tabs_;
  ContentsTab* contents_;
  PreviewTab* preview_;
  TableTab* table_;
  SvyViewSourceTab* text_;
  MetadataTab* metadata_;
  ErrorLogWindow* errorLog_;
  SurveyFileActions* actions_;
  ArcCatalogNavigator navigator_;
  QString selected_;  // full name of the selection last announced
};

}  // namespace veldrane::ui
