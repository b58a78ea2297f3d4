#pragma once
// "Find and Replace": a tool window over the source view's text, with a
// "Search" and a "Replace" tab. Find Next goes on from the caret and wraps
// around to the start; Replace replaces the selection when it is the find
// text, else moves on to the next match; Replace All replaces every match.
// Replacing outside an edit session asks to start one. Enter in "Find What:"
// is Find Next, Escape closes the window.
//
// Options (the find flags): 4 for Match Case, 2 for Whole Word Only, added.
//
// A Replace All of many matches reports its progress by signals, for the
// catalog's progress window, and stops early when CancelReplaceAll is
// called; the replacements made so far stay, as one step to undo.
#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;

namespace veldrane::ui {

class SvyViewSourceTab;
class SurveyTextEditor;
class UserMessages;

class frmSearchReplace : public QWidget {
  Q_OBJECT

 public:
  frmSearchReplace(SvyViewSourceTab& tab, UserMessages& messages, QWidget* parent = nullptr);

  void setSvyViewSourceTab(SvyViewSourceTab& tab) { tab_ = &tab; }
  // Reads the two check boxes into the options.
  void setOptions();
  // Puts `text` in "Find what" (as typed there).
  void SetFindWhat(const QString& text);
  int Options() const { return options_; }
  // Equal with regard to case when the options hold Match Case, else
  // without; Whole Word Only plays no part.
  static bool EqualString(const QString& a, const QString& b, int options);

  // Find Next. True when a match is selected.
  bool SurveyTextSearch(const QString& findWhat);
  void SurveyTextReplace(const QString& findWhat, const QString& replaceWith);
  // Returns the number of replacements made.
  int SurveyTextReplaceAll(const QString& findWhat, const QString& replaceWith);

 signals:
  void replaceAllStarted(int total);
  void replaceAllProgress(int done, int total);
  void replaceAllFinished();

 public slots:
  void CancelReplaceAll() { cancelled_ = true; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  SurveyTextEditor& Box();
  bool FindFrom(qsizetype from, const QString& findWhat);
  bool StartEditSession();
  int Replace(const std::vector<qsizetype>& matches, qsizetype length, const QString& replaceWith);
  void ShowLayout(bool replace);
  void Reset();

  SvyViewSourceTab* tab_;
  UserMessages& messages_;
  int options_ = 0;
  bool cancelled_ = false;
  QTabBar* tbSearch_;
  QLabel* lblReplaceWith_;
  QLineEdit* txtFindWhat_;
  QLineEdit* txtReplaceWith_;
  QCheckBox* chkMatchCase_;
  QCheckBox* chkWholeWord_;
  QPushButton* cmdFindNext_;
  QPushButton* cmdReplace_;
  QPushButton* cmdReplaceAll_;
  QPushButton* cmdCancel_;
};

}  // namespace veldrane::ui
