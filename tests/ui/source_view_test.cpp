// The "Text" tab: what it shows, its editing states, leaving them, and
// saving without changing what was not edited.
#include <sys/mount.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QRegularExpression>
#include <functional>
#include <iostream>

#include "tests/ui/source_view_support.h"
#include "ui/live_survey_check.h"
#include "ui/text_line_selection.h"

namespace veldrane::ui::test {
namespace {

const char* const kSurvey = "#H00 EM09\r\n#H01 A\r\n#H02 3/1/2011\r\n";

TEST_F(SourceViewTest, ShowsTheTextOfTheSelectedSurveyFile) {
  const QString survey = Write("a.em", kSurvey);
  const QString notes = Write("notes.txt", "not a survey\n");
  struct Case {
    QString fullName, parent, text;
  } cases[] = {
      {survey, Folder(), "#H00 EM09\n#H01 A\n#H02 3/1/2011\n"},
      {survey + "/CrossSections", survey, "#H00 EM09\n#H01 A\n#H02 3/1/2011\n"},
      {Folder(), "/", ""},
      {notes, Folder(), ""},
      {Folder() + "/gone.em", Folder(), ""},
  };
  tab.Activate();
  for (const Case& c : cases) {
    host.Select(c.fullName, c.parent);
    EXPECT_EQ(Text(), c.text) << c.fullName.toStdString();
    EXPECT_EQ(Enabled("cmdStartEditing"), !c.text.isEmpty());
    // Loading is no edit: stopping at once asks nothing.
    Click("cmdStartEditing");
    Click("cmdStopEditing");
  }
  EXPECT_TRUE(host.messages.Shown().empty());
  EXPECT_TRUE(host.status.last().contains("gone.em could not be read")) << host.status.last().toStdString();
}

TEST_F(SourceViewTest, LeavingTheEditingStateAsksAboutUnsavedEdits) {
  const QString question = "Do you wish to save your edits?";
  const QString discarded = "Your changes will be discarded.";
  struct Case {
    const char* name;
    bool selectAnother;
    MessageButton answer;
    QStringList messages;
    std::string savedA;
    QString shown;
  } cases[] = {
      {"stop, no", false, MessageButton::No, {question, discarded}, kSurvey, "#H00 EM09\n#H01 A\n#H02 3/1/2011\n"},
      {"stop, yes", false, MessageButton::Yes, {question}, "#H00 EM09\r\n#H01 Z\r\n#H02 3/1/2011\r\n",
       "#H00 EM09\n#H01 Z\n#H02 3/1/2011\n"},
      {"select, yes", true, MessageButton::Yes, {question}, "#H00 EM09\r\n#H01 Z\r\n#H02 3/1/2011\r\n", "#H00 B\n"},
      {"select, no", true, MessageButton::No, {question, discarded}, kSurvey, "#H00 B\n"},
  };
  for (const Case& c : cases) {
    host.refreshed.clear();
    const QString a = Show("a.em", kSurvey);
    const QString b = Write("b.em", "#H00 B\n");
    Click("cmdStartEditing");
    ExpectEditing(true);
    Edit(15, 1, "Z");
    host.messages.QueueAnswer(c.answer);
    if (c.selectAnother) host.Select(b, Folder());
    else Click("cmdStopEditing");
    EXPECT_EQ(host.messages.Texts(), c.messages) << c.name;
    EXPECT_EQ(Read(a), c.savedA) << c.name;
    EXPECT_EQ(Text(), c.shown) << c.name;
    ExpectEditing(false);
    EXPECT_EQ(host.refreshed, c.answer == MessageButton::Yes ? QStringList{a} : QStringList{}) << c.name;
  }
}

TEST_F(SourceViewTest, SavingKeepsEncodingLineBreaksAndUneditedBytes) {
  struct Case {
    const char* name;
    std::string before;
    int position, length;
    QString replacement;
    std::string after;
  } cases[] = {
      {"CRLF", kSurvey, 15, 1, "B", "#H00 EM09\r\n#H01 B\r\n#H02 3/1/2011\r\n"},
      {"Windows-1252", "#H08 CAF\xC9 \x80 \x81\r\n#H01 A\r\n", 19, 1, "B", "#H08 CAF\xC9 \x80 \x81\r\n#H01 B\r\n"},
      {"no final break", "a\nb", 2, 1, "c", "a\nc\n"},
      {"lone CR", "a\rb\r", 2, 1, "c", "a\rc\r"},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" "a\r\n", 0, 1, QString::fromUtf8("\xC3\xA9"), "\xEF\xBB\xBF\xC3\xA9\r\n"},
      {"mixed, line edited", "a\r\nb\nc\r\nd\n", 4, 1, "x", "a\r\nb\nx\r\nd\n"},
      {"mixed, line added", "a\r\nb\nc\r\n", 2, 0, "new\n", "a\r\nnew\r\nb\nc\r\n"},
  };
  for (const Case& c : cases) {
    const QString path = Show("s.em", c.before);
    Click("cmdStartEditing");
    Edit(c.position, c.length, c.replacement);
    Click("cmdSaveEdits");
    EXPECT_EQ(Read(path), c.after) << c.name;
    ASSERT_TRUE(tab.SaveEdits()) << c.name;
    EXPECT_EQ(Read(path), c.after) << c.name << " (saved twice)";
    ExpectEditing(true);
    Click("cmdStopEditing");
    EXPECT_TRUE(host.messages.Shown().empty()) << c.name;
  }
}

// A tmpfs of its own for the file, when the tests run as root.
struct SmallFileSystem {
  explicit SmallFileSystem(const std::filesystem::path& where) : path(where) {
    std::filesystem::create_directories(path);
    mounted = ::geteuid() == 0 && ::mount("tmpfs", path.c_str(), "tmpfs", 0, "size=64k") == 0;
  }
  ~SmallFileSystem() {
    if (mounted) ::umount2(path.c_str(), MNT_DETACH);
  }
  std::filesystem::path path;
  bool mounted = false;
};

TEST_F(SourceViewTest, AFailedSaveLeavesTheOldFileAndSaysWhy) {
  struct Case {
    const char* name;
    std::function<bool(SmallFileSystem&, const QString& path)> breakIt;  // false: cannot be set up here
    QString replacement;
    QString reason;
  } cases[] = {
      {"character Windows-1252 cannot hold", [](auto&, auto&) { return true; }, QString::fromUtf8("\xC4\x85"),
       "line 2 holds the character"},
      {"read-only folder",
       [](SmallFileSystem& fs, const QString&) {
         if (fs.mounted) return ::mount(nullptr, fs.path.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
         std::filesystem::permissions(fs.path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
         return ::geteuid() != 0;
       },
       "B", "Read-only file system|Permission denied"},
      {"full file system",
       [](SmallFileSystem& fs, const QString&) {
         veldrane::test::WriteFile(fs.path / "filler", std::string(200 * 1024, 'x'));
         return fs.mounted;
       },
       "B", "No space left on device"},
      {"file deleted", [](auto&, const QString& path) { return std::filesystem::remove(path.toStdString()); }, "B",
       "the file no longer exists"},
  };
  for (const Case& c : cases) {
    SmallFileSystem fs(dir / c.name);
    const std::string before = "#H08 CAF\xC9\r\n" + std::string(20 * 1024, 'A') + "\r\n";
    const QString path = Show(std::string(c.name) + "/s.em", before);
    Click("cmdStartEditing");
    Edit(11, 1, c.replacement);
    if (!c.breakIt(fs, path)) {
      std::cout << "[ SKIPPED  ] " << c.name << ": needs root and tmpfs\n";
      continue;
    }
    EXPECT_FALSE(tab.SaveEdits()) << c.name;
    ASSERT_EQ(host.messages.Shown().size(), 1u) << c.name;
    const QString message = host.messages.Shown()[0].text;
    EXPECT_TRUE(message.contains(path) && message.contains(QRegularExpression(c.reason))) << message.toStdString();
    if (std::filesystem::exists(path.toStdString())) {
      EXPECT_EQ(Read(path), before) << c.name;
    }
    for (const auto& entry : std::filesystem::directory_iterator(fs.path)) {
      EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << "left behind: " << entry.path();
    }
    ExpectEditing(true);
  }
}

TEST_F(SourceViewTest, AFileChangedOnDiskIsNotOverwrittenWithoutAsking) {
  struct Case {
    MessageButton answer;
    std::string onDisk;
    QString shown;
  } cases[] = {
      {MessageButton::Yes, "#H00 EM09\r\n#H01 Z\r\n#H02 3/1/2011\r\n", "#H00 EM09\n#H01 Z\n#H02 3/1/2011\n"},
      {MessageButton::No, "#H00 OTHER PROGRAM\r\n", "#H00 OTHER PROGRAM\n"},
      {MessageButton::Cancel, "#H00 OTHER PROGRAM\r\n", "#H00 EM09\n#H01 Z\n#H02 3/1/2011\n"},
  };
  for (const Case& c : cases) {
    const QString path = Show("a.em", kSurvey);
    Click("cmdStartEditing");
    Edit(15, 1, "Z");
    veldrane::test::WriteFile(path.toStdString(), "#H00 OTHER PROGRAM\r\n");
    host.messages.QueueAnswer(c.answer);
    EXPECT_EQ(tab.SaveEdits(), c.answer == MessageButton::Yes);
    ASSERT_EQ(host.messages.Shown().size(), 1u);
    EXPECT_TRUE(host.messages.Shown()[0].text.startsWith(path + " has been changed on disk"));
    EXPECT_EQ(Read(path), c.onDisk);
    EXPECT_EQ(Text(), c.shown);
  }
}

TEST_F(SourceViewTest, HighlightLineSelectsTheLineWithItsBreak) {
  struct Case {
    std::string text;
    int line;
    QString selected;  // empty: the warning
  } cases[] = {
      {kSurvey, 1, QString("#H00 EM09") + QChar::ParagraphSeparator},
      {kSurvey, 2, QString("#H01 A") + QChar::ParagraphSeparator},
      {"a\nb\nlast", 3, "last"},
      {"a\nb\n", 3, ""},
      {"a\nb\n", 0, ""},
      {"", 1, ""},
  };
  for (const Case& c : cases) {
    Show("a.em", c.text);
    EXPECT_EQ(HighlightLineInRTB(Box(), c.line, host.messages), !c.selected.isEmpty());
    EXPECT_EQ(Box().textCursor().selectedText(), c.selected) << c.text << " line " << c.line;
    EXPECT_EQ(host.messages.Texts(), c.selected.isEmpty() ? QStringList{kLineNotFoundMessage} : QStringList{});
    if (!c.selected.isEmpty()) {
      EXPECT_EQ(host.status.last(), QString("Line number: %1").arg(c.line));
    }
  }
}

// The text copy the view searches and saves stays equal to the document
// through random edits across its chunks, and finds what a plain search of
// the whole text finds.
TEST_F(SourceViewTest, TheTextCopyFollowsEveryEdit) {
  std::string lines;
  for (int i = 0; i < 6000; ++i) lines += "3001,691554.828,3394557.099,11.74,GND\r\n";
  Show("big.em", lines);
  Click("cmdStartEditing");
  QRandomGenerator random(7);
  const QString pieces[] = {"x", "\n", "ab\ncd", "", "GND,"};
  for (int step = 0; step < 300; ++step) {
    const int size = Box().document()->characterCount() - 1;
    const int position = random.bounded(size + 1);
    if (step % 10 == 9) Box().undo();
    else Edit(position, random.bounded(std::min(size - position, step % 3 == 0 ? 150000 : 3) + 1), pieces[step % 5]);
    QString reference = Box().document()->toRawText();
    reference.replace(QChar::ParagraphSeparator, u'\n');
    ASSERT_EQ(Text(), reference) << "step " << step;
    const int from = random.bounded(reference.size() + 1);
    EXPECT_EQ(Box().Text().IndexOf(u"GND", from, Qt::CaseSensitive, false), reference.indexOf("GND", from));
  }
}

// The shown file's problems are marked on the line of the broken
// coordinate, while typing too: they go when it is fixed and come back
// when it breaks again; what was saved stays marked after editing.
TEST_F(SourceViewTest, ProblemsAreMarkedWhileTyping) {
  QSignalSpy checked(&tab.LiveCheck(), &LiveSurveyCheck::checked);
  Show("m.em",
       "#H00 EM09\r\n#X01 3394582.456 691500.449 3394328.885 692044.234 37+00 XS 37\r\n#X02 R-37\r\n"
       "3003,691554.828,3394557.099,11.74,GND\r\n3004,691676.273,3394500.468,1O.41,TOE\r\n"
       "3005,691736.089,3394472.575,28.52,CL\r\n");
  const int broken = static_cast<int>(Text().indexOf("1O.41")) + 1;
  ASSERT_TRUE(checked.wait(20000));
  // The broken coordinate, and the section it leaves with one point.
  EXPECT_EQ(Box().Marks().size(), 2u);
  EXPECT_TRUE(Box().Marks().count(5) && Box().Marks().count(6));
  Click("cmdStartEditing");
  Edit(broken, 1, "0");
  ASSERT_TRUE(checked.wait(20000));
  EXPECT_TRUE(Box().Marks().empty()) << Box().Marks().begin()->second.description.toStdString();
  Edit(broken, 1, "O");
  ASSERT_TRUE(checked.wait(20000));
  ASSERT_TRUE(Box().Marks().count(5));
  EXPECT_EQ(Box().Marks().at(5).severity, 1);
  EXPECT_TRUE(Box().Marks().at(5).description.startsWith("error: Non-Numeric Elevation Value"));
  const QRect line5 = Box().cursorRect(QTextCursor(Box().document()->findBlockByNumber(4)));
  EXPECT_EQ(Box().ToolTipAt(line5.center()), Box().Marks().at(5).description);
  Click("cmdSaveEdits");
  Click("cmdStopEditing");
  EXPECT_TRUE(Box().Marks().count(5));
}

}  // namespace
}  // namespace veldrane::ui::test
