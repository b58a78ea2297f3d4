// The catalog as a program: its command line, one instance per session,
// the screenshot automation, jumping to an error's line, and the file
// actions of the tree's context menu.
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "tests/ui/catalog_test_support.h"
#include "ui/catalog_request.h"
#include "ui/single_instance.h"
#include "ui/survey_file_actions.h"
#include "ui/survey_text_editor.h"
#include "ui/svy_view_source_tab.h"

namespace veldrane::ui::test {
namespace {

QString CatalogProgram() { return QString(VELDRANE_STAGE_DIR) + "/veldrane-catalog"; }

TEST(CatalogRequest, ParsesTheCommandLine) {
  const QString here = QDir::currentPath();
  struct Case {
    QStringList arguments;
    QString problem;  // start of it
    QString path, tab, gotoFile;
    int gotoLine;
    bool edit = false;
    QString find = {};
  } cases[] = {
      {{"samples", "--tab", "preview"}, "", here + "/samples", "Preview", "", 0},
      {{"--goto", "a/b.em:26"}, "", "", "", here + "/a/b.em", 26},
      {{"--goto", "/x:y/b.em:3"}, "", "", "", "/x:y/b.em", 3},
      {{"--goto", "b.em:0"}, "--goto b.em:0: expected FILE:LINE", "", "", "", 0},
      {{"--goto", "b.em"}, "--goto b.em: expected FILE:LINE", "", "", "", 0},
      {{"--tab", "Map"}, "--tab Map: not one of", "", "", "", 0},
      {{"a", "b"}, "unexpected argument b", "", "", "", 0},
      {{"--select"}, "--select needs a value", "", "", "", 0},
      {{"--edit", "--find", "#X01 5"}, "", "", "", "", 0, true, "#X01 5"},
  };
  for (const Case& c : cases) {
    CatalogRequest request;
    const QString problem = CatalogRequest::Parse(c.arguments, request);
    EXPECT_TRUE(c.problem.isEmpty() ? problem.isEmpty() : problem.startsWith(c.problem))
        << c.arguments.join(' ').toStdString() << ": " << problem.toStdString();
    if (!problem.isEmpty()) continue;
    EXPECT_EQ(request.path, c.path);
    EXPECT_EQ(request.tab, c.tab);
    const CatalogRequest carried = CatalogRequest::Deserialize(request.Serialize());
    EXPECT_EQ(carried.gotoFile, c.gotoFile);
    EXPECT_EQ(carried.gotoLine, c.gotoLine);
    EXPECT_EQ(carried.edit, c.edit);
    EXPECT_EQ(carried.find, c.find);
  }
}

// A second `veldrane-catalog --goto` hands the jump to the running one and
// ends; with nobody listening, handing over fails.
TEST(SingleInstance, GotoReachesTheRunningCatalog) {
  const QString name = QString("veldrane-catalog-test-%1").arg(QCoreApplication::applicationPid());
  EXPECT_FALSE(SingleInstance(name).HandOver(CatalogRequest{}, 500));
  SingleInstance running(name);
  ASSERT_TRUE(running.Listen());
  QSignalSpy received(&running, &SingleInstance::requestReceived);
  QProcess second;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("VELDRANE_CATALOG_INSTANCE", name);
  second.setProcessEnvironment(environment);
  second.start(CatalogProgram(), {"--goto", "/s/field_mistakes.em:26"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 60000));
  EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
  ASSERT_EQ(received.size(), 1);
  const auto request = received[0][0].value<CatalogRequest>();
  EXPECT_EQ(request.gotoFile, "/s/field_mistakes.em");
  EXPECT_EQ(request.gotoLine, 26);
}

TEST_F(CatalogTest, ScreenshotSavesTheWindowOrSaysWhatIsMissing) {
  CopySample("channel_hydro.em");
  const QString png = PathOf("shot.png");
  struct Case {
    QStringList arguments;
    int exitCode;
    QString message;
  } cases[] = {
      {{Folder(), "--select", PathOf("channel_hydro.em"), "--tab", "Preview"}, 0, ""},
      {{PathOf("missing")}, 1, "missing: no such folder or file"},
      {{Folder(), "--select", PathOf("channel_hydro.em/Areas")}, 1, "channel_hydro.em/Areas: not found in the catalog"},
  };
  for (const Case& c : cases) {
    QFile::remove(png);
    QProcess catalog;
    catalog.start(CatalogProgram(), c.arguments + QStringList{"--screenshot", png});
    ASSERT_TRUE(catalog.waitForFinished(120000));
    EXPECT_EQ(catalog.exitCode(), c.exitCode) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(QString(catalog.readAllStandardError()).contains(c.message));
    EXPECT_EQ(QImage(png).size(), c.exitCode == 0 ? QSize(1280, 800) : QSize(0, 0));
  }
}

TEST_F(CatalogWindowTest, JumpSelectsTheLineUnlessTheTextIsEdited) {
  const QString file = CopySample("field_mistakes.em");
  Open();
  struct Case {
    bool editing;
    QString selected;   // the text box's selection after the jump
    QString message;
  } cases[] = {
      {false, QString("#G03 2.44") + QChar::ParagraphSeparator, ""},
      {true, "", "Please first click the 'Stop Editing' Button before attempting to view the error line."},
  };
  for (const Case& c : cases) {
    messages.Clear();
    window.ShowTab("Contents");
    WaitIdle(window.Tasks());
    if (c.editing) {
      window.ShowTab("Text");
      window.Text()->GetRichTextBox()->moveCursor(QTextCursor::Start);
      window.Text()->UpdateGUI_StartEditing();
    }
    window.Navigator().JumpToError(26, file);
    WaitIdle(window.Tasks());
    EXPECT_EQ(window.CurrentTabName(), "Text");
    EXPECT_EQ(window.SelectedItem().path, file);
    EXPECT_EQ(window.Text()->GetRichTextBox()->textCursor().selectedText(), c.selected);
    EXPECT_EQ(messages.Texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
  }
}

// A file read again (after a save in the Text tab) brings its new classes
// and problems; the selected class stays selected.
TEST_F(CatalogWindowTest, ReadingAgainReplacesClassesAndProblems) {
  CopySample("levee.bl");
  const QString file = CopySample("field_mistakes.em", "x.em");
  Open();
  ASSERT_TRUE(Select(file + "/Benchmarks"));
  ASSERT_TRUE(ErrorLog().FindFile(NativePath(file)));
  QFile::remove(file);
  CopySample("profile.em", "x.em");
  window.RefreshSurveyFile(file);
  WaitIdle(window.Tasks());
  EXPECT_EQ(window.SelectedItem().FullName(), file + "/x.em Benchmarks");
  EXPECT_EQ(TreeChildren(file), QStringList({"x.em Profiles", "x.em ProfilePoints", "x.em MiscellaneousShotPoints",
                                             "x.em Benchmarks"}));
  EXPECT_FALSE(ErrorLog().FindFile(NativePath(file)));
}

// The window's place, the folder and the tab come back in the next run.
TEST_F(CatalogTest, KeepsFolderTabAndWindowSizeBetweenRuns) {
  const QByteArray settings = qgetenv("VELDRANE_SETTINGS");
  qputenv("VELDRANE_SETTINGS", NativePath(PathOf("settings.ini")).c_str());
  {
    CatalogWindow first(CatalogWindow::Options{&messages, true});
    first.OpenFolder(Folder());
    first.ShowTab("Metadata");
    first.resize(900, 640);
    first.close();
  }
  CatalogWindow second(CatalogWindow::Options{&messages, true});
  EXPECT_EQ(second.StartFolder(), Folder());
  EXPECT_EQ(second.CurrentTabName(), "Metadata");
  EXPECT_EQ(second.size(), QSize(900, 640));
  EXPECT_TRUE(messages.Shown().empty());
  qputenv("VELDRANE_SETTINGS", settings);
}

// Copy, rename and delete through the context menu's actions: the files
// change on disk, and the tree and the error log follow.
TEST_F(CatalogWindowTest, FileActionsChangeTheFolderAndTheTreeFollows) {
  const QString levee = CopySample("field_mistakes.em", "levee.em");
  Write("levee.em.xml", "<metadata/>");
  Open();
  ASSERT_TRUE(Select(levee));
  ASSERT_TRUE(ErrorLog().FindFile(NativePath(levee)));
  SurveyFileActions& actions = window.FileActions();
  messages.QueueText(Folder());
  actions.Copy(levee);
  WaitIdle(window.Tasks());
  EXPECT_EQ(TreeChildren(Folder()), QStringList({"levee.em", "leveeCopy.em"}));
  messages.QueueText("renamed.em");
  actions.Rename(levee);
  WaitIdle(window.Tasks());
  EXPECT_EQ(TreeChildren(Folder()), QStringList({"leveeCopy.em", "renamed.em"}));
  messages.QueueAnswer(MessageButton::Yes);
  actions.Delete(PathOf("renamed.em"));
  WaitIdle(window.Tasks());
  EXPECT_EQ(TreeChildren(Folder()), QStringList({"leveeCopy.em"}));
  EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), QStringList({"leveeCopy.em", "leveeCopy.em.xml"}));
  EXPECT_FALSE(ErrorLog().FindFile(NativePath(levee)));
  EXPECT_EQ(messages.Shown().back().title, "Confirm Delete");
}

}  // namespace
}  // namespace veldrane::ui::test
