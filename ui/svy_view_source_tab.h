#pragma once
// The catalog's "Text" tab: the raw text of the selected survey file (or of
// the file that holds the selected feature class), read-only until "Start
// Editing", saved by "Save Edits" without changing what was not edited
// (survey_text_file.h), and read again by the catalog after every save.
//
// Editing states:
//   not editing  text locked, window colour   "Start Editing" enabled (when a file is shown)
//   editing      text unlocked, light green   "Stop Editing" and "Save Edits" enabled
// Leaving the editing state (Stop Editing, another selection, leaving the
// tab) always asks about unsaved edits first (PromptToSaveEdits); when the
// edits cannot be saved they stay on screen, still being edited.
//
// Ctrl+F opens "Find and Replace" over the text.
#include <QString>
#include <QWidget>
#include <optional>

#include "ui/catalog_host.h"
#include "ui/survey_text_file.h"

class QPushButton;

namespace veldrane::ui {

class LiveSurveyCheck;
class SurveyTextEditor;
class frmSearchReplace;

class SvyViewSourceTab : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool m_InEditingMode READ InEditingMode WRITE SetInEditingMode)

 public:
  explicit SvyViewSourceTab(CatalogHost& host, QWidget* parent = nullptr);
  ~SvyViewSourceTab() override;

  // The tab's caption in the catalog.
  static QString Name() { return QStringLiteral("Text"); }
  // True when something is selected.
  static bool Applies(const CatalogLocation& location);

  // The tab became the catalog's current view: it follows the selection
  // from now on and shows the selected file.
  void Activate();
  // The tab is left: unsaved edits are asked about, the selection is no
  // longer followed.
  void Deactivate();
  void Refresh();

  bool InEditingMode() const { return editing_; }
  void SetInEditingMode(bool editing) { editing_ = editing; }

  // The text box, holding the whole text (a file still loading is finished
  // first).
  SurveyTextEditor* GetRichTextBox();
  // Shows the text of the selected survey file; an empty box when the
  // selection is no survey file or its file cannot be read.
  void RefreshViewSourceTab();
  // Writes the text box to the file. False when nothing was written (the
  // user was told why, or chose not to overwrite a file changed on disk).
  bool SaveEdits();
  // Asks whether to save unsaved edits, saves or discards them. False when
  // the edits are still unsaved (the save failed or was declined).
  bool PromptToSaveEdits();
  // Has the catalog read the shown survey file again.
  void RefreshSurvey();
  void UpdateGUI_StartEditing();
  void UpdateGUI_StopEditing();

  // The survey file shown; empty when none.
  QString FileName() const;
  // "Find and Replace" over the text (created on first use; Ctrl+F shows it).
  frmSearchReplace& SearchReplace();
  // Marks the text's problems while it is edited.
  LiveSurveyCheck& LiveCheck() { return *liveCheck_; }

 private:
  void LoadFile(QString path);
  bool HasUnsavedEdits();
  void OnSelectionChanged();
  void OnStopEditingClicked();
  void ShowCaretLine();
  void ShowSearchReplace();
  void UpdateButtons();

  CatalogHost& host_;
  SurveyTextEditor* editor_;
  QPushButton* startEditing_;
  QPushButton* stopEditing_;
  QPushButton* saveEdits_;
  LiveSurveyCheck* liveCheck_;
  frmSearchReplace* searchReplace_ = nullptr;
  std::optional<SurveyTextFile> file_;
  QString loadedText_;  // the text box's text right after the last load or save
  CatalogLocation followed_;
  QMetaObject::Connection selectionConnection_;
  bool active_ = false;
  bool editing_ = false;
};

}  // namespace veldrane::ui
