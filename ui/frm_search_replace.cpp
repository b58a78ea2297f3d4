#include "ui/frm_search_replace.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <algorithm>

#include "ui/guarded.h"
#include "ui/survey_text_editor.h"
#include "ui/svy_view_source_tab.h"
#include "ui/user_messages.h"

namespace veldrane::ui {
namespace {

constexpr int kMatchCase = 4;
constexpr int kWholeWord = 2;
// Replace All gives the event loop a turn (progress window, Cancel) this
// often.
constexpr int kReplaceTurnMs = 50;

const QString kTitle = QStringLiteral("Halden Veldrane");
const QString kNotFound =
    QStringLiteral("Veldrane has finished searching the document.  The search item was not found");

}  // namespace

frmSearchReplace::frmSearchReplace(SvyViewSourceTab& tab, UserMessages& messages, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      tab_(&tab),
      messages_(messages),
      tbSearch_(new QTabBar(this)),
      lblReplaceWith_(new QLabel(QStringLiteral("Replace with:"), this)),
      txtFindWhat_(new QLineEdit(this)),
      txtReplaceWith_(new QLineEdit(this)),
      chkMatchCase_(new QCheckBox(QStringLiteral("Match Case"), this)),
      chkWholeWord_(new QCheckBox(QStringLiteral("Whole Word Only"), this)),
      cmdFindNext_(new QPushButton(QStringLiteral("Find Next"), this)),
      cmdReplace_(new QPushButton(QStringLiteral("Replace"), this)),
      cmdReplaceAll_(new QPushButton(QStringLiteral("Replace All"), this)),
      cmdCancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
  setWindowTitle(QStringLiteral("Find and Replace"));
  setObjectName(QStringLiteral("frmSearchReplace"));
  tbSearch_->addTab(QStringLiteral("Search"));
  tbSearch_->addTab(QStringLiteral("Replace"));
  auto* lblFindWhat = new QLabel(QStringLiteral("Find What:"), this);
  lblFindWhat->setBuddy(txtFindWhat_);
  lblReplaceWith_->setBuddy(txtReplaceWith_);
  const std::pair<QWidget*, const char*> names[] = {
      {tbSearch_, "tbSearch"},         {txtFindWhat_, "txtFindWhat"},     {txtReplaceWith_, "txtReplaceWith"},
      {chkMatchCase_, "chkMatchCase"}, {chkWholeWord_, "chkWholeWord"},   {cmdFindNext_, "cmdFindNext"},
      {cmdReplace_, "cmdReplace"},     {cmdReplaceAll_, "cmdReplaceAll"}, {cmdCancel_, "cmdCancel"}};
  for (const auto& [widget, name] : names) widget->setObjectName(QString::fromLatin1(name));
  txtFindWhat_->setAccessibleName(QStringLiteral("Find What:"));
  txtReplaceWith_->setAccessibleName(QStringLiteral("Replace with:"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(tbSearch_, 0, 0, 1, 3);
  grid->addWidget(lblFindWhat, 1, 0);
  grid->addWidget(txtFindWhat_, 1, 1);
  grid->addWidget(cmdFindNext_, 1, 2);
  grid->addWidget(lblReplaceWith_, 2, 0);
  grid->addWidget(txtReplaceWith_, 2, 1);
  grid->addWidget(cmdReplace_, 2, 2);
  grid->addWidget(chkMatchCase_, 3, 0, 1, 2);
  grid->addWidget(cmdReplaceAll_, 3, 2);
  grid->addWidget(chkWholeWord_, 4, 0, 1, 2);
  grid->addWidget(cmdCancel_, 4, 2);
  grid->setColumnStretch(1, 1);

  connect(tbSearch_, &QTabBar::currentChanged, this, [this](int index) { ShowLayout(index == 1); });
  connect(txtFindWhat_, &QLineEdit::textChanged, this, [this](const QString& text) {
    for (QPushButton* button : {cmdFindNext_, cmdReplace_, cmdReplaceAll_}) button->setEnabled(!text.isEmpty());
  });
  connect(chkMatchCase_, &QCheckBox::clicked, this, &frmSearchReplace::setOptions);
  connect(chkWholeWord_, &QCheckBox::clicked, this, &frmSearchReplace::setOptions);
  const auto findNext = [this] {
    if (txtFindWhat_->text().isEmpty()) return;
    Guarded("cmdFindNext_Click", "frmSearchReplace", [this] { SurveyTextSearch(txtFindWhat_->text()); });
  };
  connect(cmdFindNext_, &QPushButton::clicked, this, findNext);
  connect(txtFindWhat_, &QLineEdit::returnPressed, this, findNext);
  connect(cmdReplace_, &QPushButton::clicked, this, [this] {
    Guarded("cmdReplace_Click", "frmSearchReplace",
            [this] { SurveyTextReplace(txtFindWhat_->text(), txtReplaceWith_->text()); });
  });
  connect(cmdReplaceAll_, &QPushButton::clicked, this, [this] {
    Guarded("cmdReplaceAll_Click", "frmSearchReplace",
            [this] { SurveyTextReplaceAll(txtFindWhat_->text(), txtReplaceWith_->text()); });
  });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] {
    Reset();
    hide();
  });
  Reset();
}

// Escape, unused by the control that has the focus, reaches the window.
void frmSearchReplace::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    cmdCancel_->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void frmSearchReplace::Reset() {
  tbSearch_->setCurrentIndex(0);
  ShowLayout(false);
  txtFindWhat_->clear();
  txtReplaceWith_->clear();
  chkMatchCase_->setChecked(false);
  chkWholeWord_->setChecked(false);
  setOptions();
  for (QPushButton* button : {cmdFindNext_, cmdReplace_, cmdReplaceAll_}) button->setEnabled(false);
}

void frmSearchReplace::ShowLayout(bool replace) {
  for (QWidget* widget :
       std::initializer_list<QWidget*>{lblReplaceWith_, txtReplaceWith_, cmdReplace_, cmdReplaceAll_}) {
    widget->setVisible(replace);
  }
}

void frmSearchReplace::setOptions() {
  options_ = (chkMatchCase_->isChecked() ? kMatchCase : 0) + (chkWholeWord_->isChecked() ? kWholeWord : 0);
}

bool frmSearchReplace::EqualString(const QString& a, const QString& b, int options) {
  return a.compare(b, (options & kMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

SurveyTextEditor& frmSearchReplace::Box() { return *tab_->GetRichTextBox(); }

bool frmSearchReplace::FindFrom(qsizetype from, const QString& findWhat) {
  SurveyTextEditor& box = Box();
  const qsizetype found = box.Text().IndexOf(
      findWhat, from, (options_ & kMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive, (options_ & kWholeWord) != 0);
  if (found < 0) return false;
  QTextCursor cursor = box.textCursor();
  cursor.setPosition(static_cast<int>(found));
  cursor.setPosition(static_cast<int>(found + findWhat.size()), QTextCursor::KeepAnchor);
  box.setTextCursor(cursor);
  return true;
}

bool frmSearchReplace::SurveyTextSearch(const QString& findWhat) {
  SurveyTextEditor& box = Box();
  QTextCursor cursor = box.textCursor();
  if (cursor.hasSelection()) {
    cursor.setPosition(cursor.selectionEnd());
    box.setTextCursor(cursor);
  }
  if (FindFrom(cursor.position(), findWhat) || FindFrom(0, findWhat)) return true;
  messages_.Inform(kNotFound, kTitle, MessageIcon::Information);
  return false;
}

void frmSearchReplace::SetFindWhat(const QString& text) { txtFindWhat_->setText(text); }

bool frmSearchReplace::StartEditSession() {
  if (tab_->InEditingMode()) return true;
  if (!messages_.AskYesNo(QStringLiteral("Replace functionality requires you to be in an edit session.") +
                              QStringLiteral("Do you want to start an Edit Session?"),
                          QStringLiteral("Start Edit Session?"))) {
    return false;
  }
  tab_->UpdateGUI_StartEditing();
  return true;
}

void frmSearchReplace::SurveyTextReplace(const QString& findWhat, const QString& replaceWith) {
  SurveyTextEditor& box = Box();
  QTextCursor cursor = box.textCursor();
  if (!cursor.hasSelection()) {
    SurveyTextSearch(findWhat);
    return;
  }
  if (EqualString(cursor.selectedText(), findWhat, options_)) {
    if (!StartEditSession()) return;
    cursor.insertText(replaceWith);
    box.setTextCursor(cursor);
    return;
  }
  cursor.setPosition(cursor.selectionEnd());
  box.setTextCursor(cursor);
  FindFrom(cursor.position(), findWhat);
}

// Every match is found in the text as it was before the first replacement,
// and replaced once: from the caret (or a selected match) to the end, then
// from the start up to the first of those. Replacement text is never
// searched again, so a replacement that holds the find text (as "aa" for
// "a") cannot make Replace All go on for ever.
int frmSearchReplace::SurveyTextReplaceAll(const QString& findWhat, const QString& replaceWith) {
  SurveyTextEditor& box = Box();
  const TextChunks& text = box.Text();
  const Qt::CaseSensitivity sensitivity = (options_ & kMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
  const bool wholeWord = (options_ & kWholeWord) != 0;
  const QTextCursor cursor = box.textCursor();
  std::vector<qsizetype> matches;
  qsizetype from = cursor.hasSelection() ? cursor.selectionEnd() : cursor.position();
  if (cursor.hasSelection() && EqualString(cursor.selectedText(), findWhat, options_)) {
    matches.push_back(cursor.selectionStart());
  }
  for (qsizetype at = text.IndexOf(findWhat, from, sensitivity, wholeWord); at >= 0;
       at = text.IndexOf(findWhat, at + findWhat.size(), sensitivity, wholeWord)) {
    matches.push_back(at);
  }
  const qsizetype lapStart = matches.empty() ? from : std::min(from, matches.front());
  const qsizetype lapLimit = matches.empty() ? text.Size() : matches.front();
  for (qsizetype at = text.IndexOf(findWhat, 0, sensitivity, wholeWord);
       at >= 0 && at < lapStart && at + findWhat.size() <= lapLimit;
       at = text.IndexOf(findWhat, at + findWhat.size(), sensitivity, wholeWord)) {
    matches.push_back(at);
  }
  if (matches.empty()) {
    messages_.Inform(kNotFound, kTitle, MessageIcon::Information);
    return 0;
  }
  if (!StartEditSession()) return 0;
  std::sort(matches.begin(), matches.end());
  const int count = Replace(matches, findWhat.size(), replaceWith);
  messages_.Inform(
      QStringLiteral("Veldrane has finished its search of the document and has made %1 replacements.").arg(count),
      kTitle, MessageIcon::Information);
  return count;
}

// Replaces the matches (ascending, not overlapping) in the text box, giving
// the event loop a turn now and then; returns how many were replaced.
int frmSearchReplace::Replace(const std::vector<qsizetype>& matches, qsizetype length, const QString& replaceWith) {
  SurveyTextEditor& box = Box();
  const QPointer<frmSearchReplace> self(this);
  const int total = static_cast<int>(matches.size());
  cancelled_ = false;
  setEnabled(false);
  box.setReadOnly(true);
  emit replaceAllStarted(total);
  QTextCursor edit(box.document());
  QElapsedTimer turn;
  turn.start();
  qsizetype shift = 0;
  int done = 0;
  bool textReplaced = false;  // another file was shown meanwhile
  edit.beginEditBlock();
  for (; done < total && !cancelled_; ++done) {
    if (turn.elapsed() >= kReplaceTurnMs) {
      edit.endEditBlock();
      emit replaceAllProgress(done, total);
      const int revision = box.document()->revision();
      QApplication::processEvents();
      if (!self) return done;  // the view was closed, and this window with it
      textReplaced = box.document()->revision() != revision;
      if (textReplaced) break;
      turn.restart();
      edit.joinPreviousEditBlock();  // one step to undo, however many turns
    }
    edit.setPosition(static_cast<int>(matches[done] + shift));
    edit.setPosition(static_cast<int>(matches[done] + shift + length), QTextCursor::KeepAnchor);
    edit.insertText(replaceWith);
    shift += replaceWith.size() - length;
  }
  if (!textReplaced) {
    edit.endEditBlock();
    box.setTextCursor(edit);
  }
  if (tab_->InEditingMode()) box.setReadOnly(false);
  setEnabled(true);
  emit replaceAllProgress(done, total);
  emit replaceAllFinished();
  return done;
}

}  // namespace veldrane::ui
