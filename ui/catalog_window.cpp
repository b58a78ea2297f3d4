#include "ui/catalog_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include "config/error_log.h"
#include "ui/catalog_settings.h"
#include "ui/contents_tab.h"
#include "ui/error_log_window.h"
#include "ui/frm_search_replace.h"
#include "ui/live_survey_check.h"
#include "ui/metadata_tab.h"
#include "ui/preview_tab.h"
#include "ui/survey_file_actions.h"
#include "ui/survey_reader.h"
#include "ui/svy_view_source_tab.h"
#include "ui/table_tab.h"
#include "ui/task_runner.h"

namespace veldrane::ui {
namespace {

// What the views see of the window.
class WindowHost final : public CatalogHost {
 public:
  explicit WindowHost(CatalogWindow& window) : CatalogHost(&window), window_(window) {
    connect(&window, &CatalogWindow::selectionChanged, this, &CatalogHost::selectionChanged);
  }
  CatalogLocation SelectedLocation() const override { return window_.SelectedItem().Location(); }
  void RefreshSurveyFile(const QString& path) override { window_.RefreshSurveyFile(CatalogPath(path)); }
  void ShowStatusMessage(const QString& text) override { window_.statusBar()->showMessage(text); }
  UserMessages& Messages() override { return window_.Messages(); }

 private:
  CatalogWindow& window_;
};

constexpr int kScreenshotWidth = 1280;
constexpr int kScreenshotHeight = 800;

}  // namespace

CatalogWindow::CatalogWindow(Options options)
    : dialogs_(this),
      messages_(options.messages != nullptr ? options.messages : &dialogs_),
      settings_(options.keepSettings ? std::make_unique<CatalogSettings>() : nullptr),
      reader_(std::make_unique<SurveyReader>()),
      tasks_(new TaskRunner(this, this)),
      navigator_(this) {
  setWindowTitle("Veldrane Catalog");
  setAccessibleName(windowTitle());
  host_ = std::make_unique<WindowHost>(*this);
  treeModel_ = new CatalogTreeModel(*reader_, *tasks_, this);
  tree_ = new QTreeView(this);
  tree_->setObjectName("CatalogTree");
  tree_->setAccessibleName("Catalog tree");
  tree_->setModel(treeModel_);
  tree_->setHeaderHidden(true);
  tree_->setUniformRowHeights(true);
  tree_->setContextMenuPolicy(Qt::CustomContextMenu);
  BuildTabs();

  auto* splitter = new QSplitter(this);
  splitter->addWidget(tree_);
  splitter->addWidget(tabs_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({300, 980});
  setCentralWidget(splitter);
  statusBar()->setAccessibleName("Status bar");

  errorLog_ = new ErrorLogWindow(veldrane::ErrorLog(), this);
  addDockWidget(Qt::BottomDockWidgetArea, errorLog_);
  errorLog_->setFloating(true);
  errorLog_->hide();
  actions_ = new SurveyFileActions(*reader_, *tasks_, *messages_, this);
  BuildActions();

  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, &CatalogWindow::OnCurrentChanged);
  connect(tree_, &QWidget::customContextMenuRequested, this, &CatalogWindow::ShowTreeMenu);
  connect(tabs_, &QTabWidget::currentChanged, this, &CatalogWindow::OnTabChanged);
  connect(treeModel_, &CatalogTreeModel::surveyRead, this, &CatalogWindow::OnSurveyRead);
  connect(treeModel_, &CatalogTreeModel::listingFailed, this, [this](const QString& path, const QString& problem) {
    statusBar()->showMessage(path + ": " + problem);
  });
  connect(treeModel_, &QAbstractItemModel::modelReset, this, [this] { tree_->expand(treeModel_->RootIndex()); });
  connect(reader_.get(), &SurveyReader::renamed, this, &CatalogWindow::OnRenamed);
  connect(reader_.get(), &SurveyReader::notice, this,
          [this](const QString& title, const QString& text) { messages_->Inform(text, title, MessageIcon::Warning); });
  connect(errorLog_, &ErrorLogWindow::jumpRequested, this,
          [this](int line, const QString& file) { navigator_.JumpToError(line, file); });
  connect(actions_, &SurveyFileActions::status, statusBar(), [this](const QString& text) { statusBar()->showMessage(text); });
  connect(actions_, &SurveyFileActions::folderChanged, this, &CatalogWindow::RefreshFolder);
  connect(actions_, &SurveyFileActions::fileDeleted, this, [this](const QString& path) {
    veldrane::ErrorLog().RemoveSurveyFileFromErrorTreeGUI(NativePath(path));
    ForgetInTabs(path);
  });
  connect(actions_, &SurveyFileActions::metadataWritten, this, [this](const QString& path) {
    metadata_->Forget(path);
    ShowCurrentTab();
  });
  connect(metadata_, &MetadataTab::writeRequested, actions_, &SurveyFileActions::WriteMetadata);
  connect(contents_, &ContentsTab::openRequested, this, [this](const QString& fullName) { SelectPath(fullName, {}); });

  resize(kScreenshotWidth, kScreenshotHeight);
  if (settings_) RestoreSettings();
}

CatalogWindow::~CatalogWindow() {
  // Nothing going away may call back into the window (a tab widget losing
  // its pages says its current tab changed).
  tabs_->blockSignals(true);
  tree_->selectionModel()->blockSignals(true);
  treeModel_->blockSignals(true);
  // The tabs hand their cursors back to the reader thread when they go: they
  // go first, while the reader lives, and the reader then ends its work.
  delete centralWidget();
  reader_->Thread().waitForDone();
}

CatalogHost& CatalogWindow::Host() { return *host_; }

void CatalogWindow::BuildTabs() {
  tabs_ = new QTabWidget(this);
  tabs_->setAccessibleName("Catalog views");
  contents_ = new ContentsTab(*treeModel_, tabs_);
  preview_ = new PreviewTab(*reader_, *tasks_, tabs_);
  table_ = new TableTab(*reader_, *tasks_, tabs_);
  text_ = new SvyViewSourceTab(*host_, tabs_);
  text_->setAccessibleName(SvyViewSourceTab::Name());
  metadata_ = new MetadataTab(*reader_, *tasks_, tabs_);
  tabs_->addTab(contents_, "Contents");
  tabs_->addTab(preview_, "Preview");
  tabs_->addTab(table_, "Table");
  tabs_->addTab(text_, SvyViewSourceTab::Name());
  tabs_->addTab(metadata_, "Metadata");
}

void CatalogWindow::BuildActions() {
  auto* refresh = new QAction("Refresh", this);
  refresh->setShortcut(QKeySequence::Refresh);  // F5
  refresh->setShortcutContext(Qt::ApplicationShortcut);
  connect(refresh, &QAction::triggered, this, &CatalogWindow::RefreshSelected);
  addAction(refresh);
  auto* errorLog = errorLog_->toggleViewAction();
  errorLog->setShortcut(QKeySequence("Ctrl+E"));
  addAction(errorLog);
}

void CatalogWindow::RestoreSettings() {
  const QByteArray geometry = settings_->WindowGeometry();
  const QByteArray state = settings_->WindowState();
  const bool restored = (geometry.isEmpty() || restoreGeometry(geometry)) && (state.isEmpty() || restoreState(state));
  if (!restored)
    messages_->Inform("The saved window position could not be restored; the default one is used.",
                      "Lantern_Deck:HelpForm:Window_Position", MessageIcon::Warning);
  errorLog_->hide();  // shown again when errors arrive
  const QString tab = settings_->LastTab();
  if (CatalogTabNames().contains(tab)) ShowTab(tab);
}

void CatalogWindow::SaveSettings() const {
  if (!settings_) return;
  settings_->SetWindowGeometry(saveGeometry());
  settings_->SetWindowState(saveState());
  settings_->SetLastFolder(treeModel_->Root());
  settings_->SetLastTab(CurrentTabName());
}

void CatalogWindow::closeEvent(QCloseEvent* event) {
  // Unsaved edits in the Text tab are asked about first; edits that could
  // not be saved keep the window open.
  if (!text_->PromptToSaveEdits()) {
    event->ignore();
    return;
  }
  SaveSettings();
  QMainWindow::closeEvent(event);
}

QString CatalogWindow::StartFolder() const {
  const QString last = settings_ ? settings_->LastFolder() : QString();
  return !last.isEmpty() && QFileInfo(last).isDir() ? last : QDir::homePath();
}

void CatalogWindow::OpenFolder(const QString& folder) {
  const QString root = QFileInfo(folder).isDir() ? CatalogPath(folder) : QDir::homePath();
  treeModel_->SetRoot(root);
  tree_->setCurrentIndex(treeModel_->RootIndex());
  tree_->expand(treeModel_->RootIndex());
}

CatalogItem CatalogWindow::SelectedItem() const { return treeModel_->Item(tree_->currentIndex()); }

QString CatalogWindow::CurrentTabName() const { return tabs_->tabText(tabs_->currentIndex()); }

void CatalogWindow::ShowTab(const QString& name) {
  for (int i = 0; i < tabs_->count(); ++i)
    if (tabs_->tabText(i) == name) tabs_->setCurrentIndex(i);
}

QWidget* CatalogWindow::CurrentView() const { return tabs_->currentWidget(); }

// The source view follows the selection only while it is the current tab,
// and is asked about unsaved edits when it is left.
void CatalogWindow::OnTabChanged() {
  const bool textShown = tabs_->currentWidget() == text_;
  if (textShown) text_->Activate();
  else text_->Deactivate();
  ShowCurrentTab();
}

CatalogTab* CatalogWindow::CurrentCatalogTab() const { return qobject_cast<CatalogTab*>(tabs_->currentWidget()); }

void CatalogWindow::OnCurrentChanged() {
  const CatalogItem item = SelectedItem();
  if (item.FullName() != selected_) {
    selected_ = item.FullName();
    statusBar()->showMessage(selected_);
    emit selectionChanged();
  }
  ShowCurrentTab();
}

// A survey file is read as soon as it (or one of its classes) is selected,
// so that its classes, its problems and the tabs follow.
void CatalogWindow::ShowCurrentTab() {
  const QModelIndex current = tree_->currentIndex();
  const CatalogItem item = treeModel_->Item(current);
  const QModelIndex file =
      item.kind == CatalogItem::Kind::FeatureClass ? current.parent() : current;
  const QString wanted = item.FullName();
  treeModel_->EnsureListed(item.kind == CatalogItem::Kind::Folder ? QModelIndex() : file, [this, wanted] {
    const CatalogItem now = SelectedItem();
    if (now.FullName() != wanted) return;  // the selection moved on meanwhile
    if (CatalogTab* tab = CurrentCatalogTab()) tab->ShowItem(now);
  });
}

void CatalogWindow::ForgetInTabs(const QString& path) {
  for (CatalogTab* tab : std::initializer_list<CatalogTab*>{contents_, preview_, table_, metadata_}) tab->Forget(path);
}

void CatalogWindow::OnSurveyRead(const SurveyContents& contents) {
  ReplaceFileErrors(veldrane::ErrorLog(), contents.path, contents.errors);
  if (!contents.problem.isEmpty()) statusBar()->showMessage(contents.path + ": " + contents.problem);
}

void CatalogWindow::OnRenamed(const QString& oldPath, const QString& newPath) {
  veldrane::ErrorLog().RemoveSurveyFileFromErrorTreeGUI(NativePath(oldPath));
  ForgetInTabs(oldPath);
  const bool wasSelected = IsWithin(selected_, oldPath);
  RefreshFolder(QFileInfo(oldPath).absolutePath());
  if (wasSelected) SelectPath(newPath, {});
}

void CatalogWindow::RefreshFolder(const QString& folder) {
  const QModelIndex index = treeModel_->IndexOf(CatalogPath(folder));
  if (index.isValid() && treeModel_->IsListed(index)) treeModel_->Refresh(index);
}

void CatalogWindow::RefreshSelected() {
  const CatalogItem item = SelectedItem();
  if (item.kind == CatalogItem::Kind::None) return;
  if (item.kind == CatalogItem::Kind::Folder) {
    ForgetInTabs(item.path);
    treeModel_->Refresh(tree_->currentIndex());
    ShowCurrentTab();
    return;
  }
  RefreshSurveyFile(item.path);
}

void CatalogWindow::RefreshSurveyFile(const QString& path) {
  ForgetInTabs(path);
  const QModelIndex file = treeModel_->IndexOf(path);
  if (!file.isValid()) return;
  // The file's nodes stay while it is read again: the selection, and so the
  // Text tab, stays where it is.
  treeModel_->Refresh(file);
  treeModel_->EnsureListed(file, [this] { ShowCurrentTab(); });
}

void CatalogWindow::SelectPath(const QString& fullName, std::function<void(bool)> selected) {
  const QString root = treeModel_->Root();
  QString target = fullName;
  if (!IsWithin(target, root)) {
    // Outside the tree: the tree starts at the object's folder instead.
    QString file = target;
    while (!file.isEmpty() && !QFileInfo(file).exists()) file = QFileInfo(file).path();
    if (file.isEmpty() || file == "/" ) {
      if (selected) selected(false);
      return;
    }
    OpenFolder(QFileInfo(file).isDir() ? file : QFileInfo(file).absolutePath());
  }
  treeModel_->Locate(target, [this, selected](QModelIndex index) {
    if (index.isValid()) {
      for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) tree_->expand(up);
      tree_->setCurrentIndex(index);
      tree_->scrollTo(index);
    }
    if (selected) selected(index.isValid());
  });
}

void CatalogWindow::SelectSurveyFile(const QString& path, std::function<void(bool)> selected) {
  SelectPath(CatalogPath(path), std::move(selected));
}

void CatalogWindow::ShowTreeMenu(const QPoint& at) {
  const QModelIndex index = tree_->indexAt(at);
  if (!index.isValid()) return;
  tree_->setCurrentIndex(index);
  QMenu menu(this);
  actions_->Populate(menu, treeModel_->Item(index));
  if (!menu.isEmpty()) menu.addSeparator();
  menu.addAction("Refresh", QKeySequence::Refresh, this, &CatalogWindow::RefreshSelected);
  menu.exec(tree_->viewport()->mapToGlobal(at));
}

void CatalogWindow::Apply(const CatalogRequest& request, std::function<void(const QString&)> done) {
  auto problems = std::make_shared<QStringList>();
  QString select = request.select;
  if (!request.path.isEmpty()) {
    const QFileInfo path(request.path);
    if (!path.exists()) {
      *problems << request.path + ": no such folder or file";
    } else if (path.isDir()) {
      OpenFolder(request.path);
    } else {
      OpenFolder(path.absolutePath());
      if (select.isEmpty()) select = request.path;
    }
  }
  if (!request.tab.isEmpty()) ShowTab(request.tab);
  auto finish = [this, request, problems, done] {
    WhenSettled([this, request, problems, done] {
      // The file's problems are listed once its read has ended.
      if (request.HasGoto()) errorLog_->SelectError(request.gotoFile, request.gotoLine);
      ApplyToText(request, [problems, done] { done(problems->join('\n')); });
    });
  };
  auto jump = [this, request, problems, finish] {
    if (!request.HasGoto()) return finish();
    if (!QFileInfo(request.gotoFile).isFile()) {
      *problems << request.gotoFile + ": no such file";
      return finish();
    }
    navigator_.JumpToError(request.gotoLine, request.gotoFile, finish);
  };
  if (select.isEmpty()) return jump();
  SelectPath(select, [this, select, problems, jump](bool found) {
    if (!found) *problems << select + ": not found in the catalog";
    else tree_->expand(tree_->currentIndex());  // a file shows its classes
    jump();
  });
}

// --edit and --find, on the file the Text tab shows: editing starts, a
// check of the shown text still running is awaited (so its problems are
// marked, with or without --edit), then the text is looked for from the
// caret.
void CatalogWindow::ApplyToText(const CatalogRequest& request, std::function<void()> then) {
  if (request.edit || !request.find.isEmpty()) ShowTab("Text");
  if (CurrentView() != text_) return then();
  auto find = [this, request, then] {
    if (!request.find.isEmpty()) {
      frmSearchReplace& window = text_->SearchReplace();
      window.SetFindWhat(request.find);
      window.show();
      window.SurveyTextSearch(request.find);
    }
    then();
  };
  if (request.edit && !text_->InEditingMode() && !text_->FileName().isEmpty()) text_->UpdateGUI_StartEditing();
  if (!text_->LiveCheck().Checking()) return find();
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = connect(&text_->LiveCheck(), &LiveSurveyCheck::checked, this, [connection, find] {
    disconnect(*connection);
    find();
  });
}

// Settled: no task running, and none started by what the event queue still
// holds (a tab shown, a signal delivered late).
void CatalogWindow::WhenSettled(std::function<void()> then) {
  QTimer::singleShot(50, this, [this, then = std::move(then)]() mutable {
    if (tasks_->Pending() == 0) return then();
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(tasks_, &TaskRunner::idle, this, [this, connection, then]() mutable {
      disconnect(*connection);
      WhenSettled(std::move(then));
    });
  });
}

void CatalogWindow::PrepareScreenshot() {
  if (errorLog_->isVisible() || veldrane::ErrorLog().ErrorCount() > 0) {
    errorLog_->setFloating(false);
    errorLog_->show();
    resizeDocks({errorLog_}, {190}, Qt::Vertical);
  }
  resize(kScreenshotWidth, kScreenshotHeight);
}

}  // namespace veldrane::ui
