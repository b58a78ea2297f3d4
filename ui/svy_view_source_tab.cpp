#include "ui/svy_view_source_tab.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "readers/survey_factory.h"
#include "ui/frm_search_replace.h"
#include "ui/guarded.h"
#include "ui/live_survey_check.h"
#include "ui/survey_text_editor.h"

namespace veldrane::ui {
namespace {

const QColor kEditingColour(0xC0, 0xFF, 0xC0);

// The survey file a catalog object shows: itself, or the file that holds it.
QString SurveyFileOf(const CatalogLocation& location) {
  if (IsValidSurveyFile(location.fullName.toStdString())) return location.fullName;
  if (IsValidSurveyFile(location.parentFullName.toStdString())) return location.parentFullName;
  return {};
}

QString ReadFailure(const std::exception& failure) {
  if (const auto* system = dynamic_cast<const std::filesystem::filesystem_error*>(&failure)) {
    return QString::fromStdString(system->code().message());
  }
  return QString::fromStdString(failure.what());
}

// Shows the wait cursor for as long as it lives.
struct WaitCursor {
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

SvyViewSourceTab::SvyViewSourceTab(CatalogHost& host, QWidget* parent)
    : QWidget(parent),
      host_(host),
      editor_(new SurveyTextEditor(this)),
      startEditing_(new QPushButton(QStringLiteral("Start Editing"), this)),
      stopEditing_(new QPushButton(QStringLiteral("Stop Editing"), this)),
      saveEdits_(new QPushButton(QStringLiteral("Save Edits"), this)),
      liveCheck_(new LiveSurveyCheck(*editor_, this)) {
  setObjectName(QStringLiteral("SvyViewSourceTab"));
  startEditing_->setObjectName(QStringLiteral("cmdStartEditing"));
  stopEditing_->setObjectName(QStringLiteral("cmdStopEditing"));
  saveEdits_->setObjectName(QStringLiteral("cmdSaveEdits"));
  editor_->setAccessibleName(QStringLiteral("Text"));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(startEditing_);
  buttons->addWidget(stopEditing_);
  buttons->addWidget(saveEdits_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(editor_, 1);
  setTabOrder(startEditing_, stopEditing_);
  setTabOrder(stopEditing_, saveEdits_);
  setTabOrder(saveEdits_, editor_);

  connect(startEditing_, &QPushButton::clicked, this,
          [this] { Guarded("cmdStartEditing_Click", "TextView", [this] { UpdateGUI_StartEditing(); }); });
  connect(stopEditing_, &QPushButton::clicked, this,
          [this] { Guarded("cmdStopEditing_Click", "TextView", [this] { OnStopEditingClicked(); }); });
  connect(saveEdits_, &QPushButton::clicked, this,
          [this] { Guarded("cmdSaveEdits_Click", "TextView", [this] { SaveEdits(); }); });
  connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, &SvyViewSourceTab::ShowCaretLine);
  auto* find = new QShortcut(QKeySequence::Find, this);
  find->setContext(Qt::WidgetWithChildrenShortcut);
  connect(find, &QShortcut::activated, this, &SvyViewSourceTab::ShowSearchReplace);
  UpdateGUI_StopEditing();
}

SvyViewSourceTab::~SvyViewSourceTab() = default;

bool SvyViewSourceTab::Applies(const CatalogLocation& location) { return !location.fullName.isEmpty(); }

void SvyViewSourceTab::Activate() {
  if (active_) return;
  active_ = true;
  selectionConnection_ = connect(&host_, &CatalogHost::selectionChanged, this, &SvyViewSourceTab::OnSelectionChanged);
  followed_ = host_.SelectedLocation();
  // Edits that could not be saved when the tab was left are still there.
  if (!editing_) Refresh();
}

void SvyViewSourceTab::Deactivate() {
  if (!active_) return;
  Guarded("Deactivate", "SvyViewSourceTab", [this] {
    if (!PromptToSaveEdits()) return;
    editing_ = false;
    UpdateGUI_StopEditing();
  });
  disconnect(selectionConnection_);
  active_ = false;
}

void SvyViewSourceTab::Refresh() {
  Guarded("Refresh", "SvyViewSourceTab", [this] { RefreshViewSourceTab(); });
}

SurveyTextEditor* SvyViewSourceTab::GetRichTextBox() {
  editor_->FinishLoading();
  return editor_;
}

QString SvyViewSourceTab::FileName() const { return file_ ? file_->Path() : QString(); }

void SvyViewSourceTab::RefreshViewSourceTab() {
  const CatalogLocation location = host_.SelectedLocation();
  if (location.fullName.isEmpty()) return;
  liveCheck_->Stop();
  file_.reset();
  loadedText_.clear();
  editor_->LoadText({});
  const QString path = location.parentFullName.isEmpty() ? QString() : SurveyFileOf(location);
  if (!path.isEmpty()) LoadFile(path);
  UpdateButtons();
}

void SvyViewSourceTab::LoadFile(QString path) {
  try {
    QString text;
    file_ = SurveyTextFile::Load(path, text);
    loadedText_ = text;
    editor_->LoadText(text);
    liveCheck_->Start(path, file_->Format());
  } catch (const std::exception& failure) {
    // The box stays empty; the status bar says why.
    file_.reset();
    loadedText_.clear();
    editor_->LoadText({});
    host_.ShowStatusMessage(QStringLiteral("%1 could not be read: %2").arg(path, ReadFailure(failure)));
  }
}

bool SvyViewSourceTab::HasUnsavedEdits() {
  editor_->FinishLoading();
  return editor_->document()->isModified() && editor_->Text().ToString() != loadedText_;
}

bool SvyViewSourceTab::SaveEdits() {
  if (!file_) return false;
  WaitCursor wait;
  editor_->FinishLoading();
  if (file_->OnDisk() == SurveyTextFile::DiskState::Changed) {
    const MessageButton answer = host_.Messages().Ask(
        QStringLiteral("%1 has been changed on disk by another program since it was loaded.\n\n"
                       "Yes overwrites it with your edits; No reloads it from disk and drops your edits; "
                       "Cancel leaves both as they are.")
            .arg(file_->Path()),
        QStringLiteral("Save Edits"), {MessageButton::Yes, MessageButton::No, MessageButton::Cancel},
        MessageIcon::Warning);
    if (answer == MessageButton::No) LoadFile(QString(file_->Path()));
    if (answer != MessageButton::Yes) return false;
  }
  const QString text = editor_->Text().ToString();
  const QString failure = file_->Save(text, loadedText_);
  if (!failure.isEmpty()) {
    host_.Messages().Inform(QStringLiteral("The edits could not be saved to %1: %2. The file was left as it was.")
                                .arg(file_->Path(), failure),
                            QStringLiteral("Save Edits"), MessageIcon::Critical);
    return false;
  }
  loadedText_ = text;
  editor_->document()->setModified(false);
  RefreshSurvey();
  return true;
}

bool SvyViewSourceTab::PromptToSaveEdits() {
  if (!editing_ || !HasUnsavedEdits()) return true;
  if (host_.Messages().AskYesNo(QStringLiteral("Do you wish to save your edits?"), QStringLiteral("Stop Editing"))) {
    return SaveEdits();
  }
  host_.Messages().Inform(QStringLiteral("Your changes will be discarded."), QStringLiteral("Stop Editing"));
  RefreshViewSourceTab();
  return true;
}

void SvyViewSourceTab::RefreshSurvey() {
  if (file_) host_.RefreshSurveyFile(file_->Path());
}

void SvyViewSourceTab::UpdateGUI_StartEditing() {
  editor_->FinishLoading();
  editing_ = true;
  editor_->setReadOnly(false);
  QPalette palette = editor_->palette();
  palette.setColor(QPalette::Base, kEditingColour);
  editor_->setPalette(palette);
  UpdateButtons();
  // The shown text has been checked since it was loaded; typing starts the
  // next check.
}

// A save reads the survey again itself, and leaving the editing state
// changes nothing on disk, so the survey is not read again here.
void SvyViewSourceTab::UpdateGUI_StopEditing() {
  editor_->setReadOnly(true);
  // Locked, but the caret still moves, so the status bar follows it.
  editor_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  editor_->setPalette(QPalette());
  UpdateButtons();
}

void SvyViewSourceTab::UpdateButtons() {
  startEditing_->setEnabled(!editing_ && file_.has_value());
  stopEditing_->setEnabled(editing_);
  saveEdits_->setEnabled(editing_);
}

void SvyViewSourceTab::OnStopEditingClicked() {
  if (!PromptToSaveEdits()) return;
  editing_ = false;
  UpdateGUI_StopEditing();
  // The selection may have moved on while edits that could not be saved
  // were kept on screen.
  if (SurveyFileOf(host_.SelectedLocation()) != FileName()) Refresh();
}

void SvyViewSourceTab::OnSelectionChanged() {
  const CatalogLocation location = host_.SelectedLocation();
  if (location.fullName == followed_.fullName && location.parentFullName == followed_.parentFullName) return;
  followed_ = location;
  Guarded("m_pSelection_OnSelectionChanged", "SvyViewSourceTab", [this] {
    if (!PromptToSaveEdits()) return;
    editing_ = false;
    UpdateGUI_StopEditing();
    RefreshViewSourceTab();
  });
}

frmSearchReplace& SvyViewSourceTab::SearchReplace() {
  if (!searchReplace_) searchReplace_ = new frmSearchReplace(*this, host_.Messages(), this);
  return *searchReplace_;
}

void SvyViewSourceTab::ShowSearchReplace() {
  frmSearchReplace& window = SearchReplace();
  window.show();
  window.raise();
  window.activateWindow();
}

void SvyViewSourceTab::ShowCaretLine() {
  if (!active_) return;
  const int line = editor_->document()->findBlock(editor_->textCursor().selectionStart()).blockNumber() + 1;
  host_.ShowStatusMessage(QStringLiteral("Line number: %1").arg(line));
}

}  // namespace veldrane::ui
