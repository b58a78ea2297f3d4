#pragma once
// A catalog stand-in and a fixture for the source view's tests: one "Text"
// tab over a scratch folder, a selection the test sets, recorded messages.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTextCursor>

#include "tests/core/temp_dir.h"
#include "ui/catalog_host.h"
#include "ui/survey_text_editor.h"
#include "ui/svy_view_source_tab.h"

namespace veldrane::ui::test {

class FakeCatalogHost : public CatalogHost {
 public:
  CatalogLocation SelectedLocation() const override { return selected; }
  void RefreshSurveyFile(const QString& path) override { refreshed << path; }
  void ShowStatusMessage(const QString& text) override { status << text; }
  UserMessages& Messages() override { return messages; }

  void Select(const QString& fullName, const QString& parent) {
    selected = {fullName, parent};
    emit selectionChanged();
  }

  CatalogLocation selected;
  QStringList refreshed;
  QStringList status;
  RecordedMessages messages;
};

class SourceViewTest : public ::testing::Test {
 protected:
  QString Folder() const { return QString::fromStdString(dir.path().string()); }
  QString Write(const std::string& name, const std::string& bytes) {
    veldrane::test::WriteFile(dir / name, bytes);
    return QString::fromStdString((dir / name).string());
  }
  std::string Read(const QString& path) const { return veldrane::test::ReadFile(path.toStdString()); }
  // Writes the file and shows it in the active tab. What an earlier case
  // left goes first: its edits are discarded by moving the selection away
  // (which also has a file of the same name read again), its messages and
  // unused answers are forgotten.
  QString Show(const std::string& name, const std::string& bytes) {
    host.messages.QueueAnswer(MessageButton::No);
    host.Select(Folder(), "/");
    host.messages.Clear();
    const QString path = Write(name, bytes);
    host.Select(path, Folder());
    tab.Activate();
    return path;
  }
  SurveyTextEditor& Box() { return *tab.GetRichTextBox(); }
  QString Text() { return Box().Text().ToString(); }
  // An edit as the user makes it: replaces `length` characters at `position`.
  void Edit(int position, int length, const QString& text) {
    QTextCursor cursor(Box().document());
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    cursor.insertText(text);
  }
  void Click(const char* button) { tab.findChild<QPushButton*>(button)->click(); }
  bool Enabled(const char* button) { return tab.findChild<QPushButton*>(button)->isEnabled(); }
  // What a user sees of the editing state: the text takes typing and has
  // its own background, and only the buttons that apply are enabled.
  void ExpectEditing(bool editing) {
    EXPECT_EQ(tab.InEditingMode(), editing);
    EXPECT_EQ(Box().isReadOnly(), !editing);
    EXPECT_EQ(Box().palette().color(QPalette::Base) != QPalette().color(QPalette::Base), editing);
    EXPECT_EQ(Enabled("cmdStartEditing"), !editing);
    EXPECT_EQ(Enabled("cmdStopEditing"), editing);
    EXPECT_EQ(Enabled("cmdSaveEdits"), editing);
  }

  veldrane::test::TempDir dir{"veldrane-ui-"};
  FakeCatalogHost host;
  SvyViewSourceTab tab{host};
};

}  // namespace veldrane::ui::test
