// "Find and Replace" over the source view's text.
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "tests/ui/source_view_support.h"
#include "ui/frm_search_replace.h"

namespace veldrane::ui::test {
namespace {

enum class Action { Find, Replace, ReplaceAll };

const QString kNotFound = "Veldrane has finished searching the document.  The search item was not found";
const QString kEditSession =
    "Replace functionality requires you to be in an edit session.Do you want to start an Edit Session?";

TEST_F(SourceViewTest, FindAndReplaceFollowTheirRules) {
  struct Case {
    const char* name;
    std::string text;
    int start, length;  // the selection before; length 0: the caret at start
    bool matchCase, wholeWord, editing;
    Action action;
    QString find, replace;
    MessageButton answer;
    QString textAfter;
    int startAfter, lengthAfter;
    QStringList messages;
  } cases[] = {
      {"wraps around quietly", "abc xyz", 4, 0, false, false, false, Action::Find, "abc", "", {}, "abc xyz", 0, 3, {}},
      {"not found", "abc", 0, 0, false, false, false, Action::Find, "zzz", "", {}, "abc", 0, 0, {kNotFound}},
      {"whole word", "abcd abc", 0, 0, false, true, false, Action::Find, "abc", "", {}, "abcd abc", 5, 3, {}},
      {"match case", "abc ABC", 0, 0, true, false, false, Action::Find, "ABC", "", {}, "abc ABC", 4, 3, {}},
      {"other selection moves on", "foo bar foo", 4, 3, false, false, true, Action::Replace, "foo", "X", {},
       "foo bar foo", 8, 3, {}},
      {"replace asks once, yes", "foo bar", 0, 3, false, false, false, Action::Replace, "foo", "X",
       MessageButton::Yes, "X bar", 1, 0, {kEditSession}},
      {"replace asks once, no", "foo bar", 0, 3, false, false, false, Action::Replace, "foo", "X", MessageButton::No,
       "foo bar", 0, 3, {kEditSession}},
      {"case ignored in equality", "abc", 0, 3, false, false, true, Action::Replace, "ABC", "X", {}, "X", 1, 0, {}},
      {"three replaced", "a1 b a1 c a1", 0, 0, false, false, true, Action::ReplaceAll, "a1", "Z", {}, "Z b Z c Z", 9, 0,
       {"Veldrane has finished its search of the document and has made 3 replacements."}},
      {"a by aa ends", "a a a", 2, 0, false, false, true, Action::ReplaceAll, "a", "aa", {}, "aa aa aa", 8, 0,
       {"Veldrane has finished its search of the document and has made 3 replacements."}},
      {"match around the caret", "xxaaxx", 3, 0, false, false, true, Action::ReplaceAll, "aa", "B", {}, "xxBxx", 3, 0,
       {"Veldrane has finished its search of the document and has made 1 replacements."}},
      {"all, not found", "abc", 0, 0, false, false, true, Action::ReplaceAll, "zzz", "X", {}, "abc", 0, 0, {kNotFound}},
  };
  for (const Case& c : cases) {
    Show("f.em", c.text);
    if (c.editing) Click("cmdStartEditing");
    frmSearchReplace& window = tab.SearchReplace();
    window.findChild<QCheckBox*>("chkMatchCase")->setChecked(c.matchCase);
    window.findChild<QCheckBox*>("chkWholeWord")->setChecked(c.wholeWord);
    window.setOptions();
    QTextCursor cursor = Box().textCursor();
    cursor.setPosition(c.start);
    cursor.setPosition(c.start + c.length, QTextCursor::KeepAnchor);
    Box().setTextCursor(cursor);
    host.messages.QueueAnswer(c.answer);
    if (c.action == Action::Find) window.SurveyTextSearch(c.find);
    else if (c.action == Action::Replace) window.SurveyTextReplace(c.find, c.replace);
    else window.SurveyTextReplaceAll(c.find, c.replace);
    EXPECT_EQ(Text(), c.textAfter) << c.name;
    EXPECT_EQ(Box().textCursor().selectionStart(), c.startAfter) << c.name;
    EXPECT_EQ(Box().textCursor().selectionEnd() - Box().textCursor().selectionStart(), c.lengthAfter) << c.name;
    EXPECT_EQ(host.messages.Texts(), c.messages) << c.name;
    EXPECT_EQ(tab.InEditingMode(), c.editing || c.answer == MessageButton::Yes) << c.name;
  }
}

// The keyboard: Ctrl+F opens the window, Enter in "Find What:" is Find
// Next, Escape closes the window and clears it.
TEST_F(SourceViewTest, FindAndReplaceByKeyboard) {
  Show("f.em", "one two one");
  tab.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
  Box().setFocus();
  QTest::keyClick(&Box(), Qt::Key_F, Qt::ControlModifier);
  frmSearchReplace& window = tab.SearchReplace();
  ASSERT_TRUE(window.isVisible());
  auto* findWhat = window.findChild<QLineEdit*>("txtFindWhat");
  QTest::keyClicks(findWhat, "one");
  QTest::keyClick(findWhat, Qt::Key_Return);
  QTest::keyClick(findWhat, Qt::Key_Return);
  EXPECT_EQ(Box().textCursor().selectionStart(), 8);
  QTest::keyClick(findWhat, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(findWhat->text().isEmpty());
}

}  // namespace
}  // namespace veldrane::ui::test
