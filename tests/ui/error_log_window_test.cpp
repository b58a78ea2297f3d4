// The "Survey Error Log" window over the error log: node texts and lines,
// listing once, showing itself only for something new, and which nodes a
// double-click (or Enter) follows.
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include "tests/ui/catalog_test_support.h"
#include "ui/error_log_item_model.h"
#include "ui/error_log_window.h"

namespace veldrane::ui::test {
namespace {

std::shared_ptr<GenericSurveyErrorQueue> Queue(const std::vector<GenericSurveyError>& errors) {
  auto queue = std::make_shared<GenericSurveyErrorQueue>();
  for (const auto& e : errors) queue->Push(std::make_shared<GenericSurveyError>(e));
  return queue;
}

class ErrorLogWindowTest : public ::testing::Test {
 protected:
  QStringList Rows(const QModelIndex& parent) const {
    QStringList rows;
    for (int r = 0; r < model.rowCount(parent); ++r) rows << model.index(r, 0, parent).data().toString();
    return rows;
  }

  ErrorLogModel log;
  QWidget owner;
  ErrorLogWindow window{log, &owner};
  ErrorLogItemModel& model = window.Model();
  const std::vector<GenericSurveyError> errors{
      {"/s/a.em", 3, "Invalid File Format Version : EM08", 1},
      {"/s/a.em", 0, "Baseline file not found", 2},
      {"/s/b.em", 21, "Duplicate #V02 record ignored", 0},
  };
};

TEST_F(ErrorLogWindowTest, ListsEachErrorOnceAndShowsOnlyForNewOnes) {
  EXPECT_TRUE(log.PullErrors(*Queue(errors)));
  EXPECT_TRUE(window.isVisibleTo(&owner));
  EXPECT_EQ(Rows({}), QStringList({"/s/a.em", "/s/b.em"}));
  const QModelIndex a = model.index(0, 0);
  EXPECT_EQ(Rows(a), QStringList({"(Line : 3) Invalid File Format Version : EM08", "Baseline file not found"}));
  EXPECT_EQ(model.index(0, 0, model.index(1, 0)).data(ErrorLogItemModel::kLineRole).toString(),
            "/s/b.em:21: warning: Duplicate #V02 record ignored");
  EXPECT_EQ(window.CopyText(a), "/s/a.em:3: error: Invalid File Format Version : EM08\n"
                                "/s/a.em: fatal: Baseline file not found");

  // The same queue again adds nothing and leaves the closed window closed.
  window.hide();
  EXPECT_FALSE(log.PullErrors(*Queue(errors)));
  EXPECT_FALSE(window.isVisibleTo(&owner));
  EXPECT_EQ(model.rowCount(a), 2);

  // A file read again or deleted leaves the window.
  log.RemoveSurveyFileFromErrorTreeGUI("/s/a.em");
  EXPECT_EQ(Rows({}), QStringList({"/s/b.em"}));
}

TEST_F(ErrorLogWindowTest, FollowsOnlyErrorsWithALine) {
  log.PullErrors(*Queue(errors));
  QSignalSpy jumps(&window, &ErrorLogWindow::jumpRequested);
  struct Case {
    QModelIndex node;
    int line;  // 0: no jump
  } cases[] = {
      {model.index(0, 0, model.index(0, 0)), 3},
      {model.index(1, 0, model.index(0, 0)), 0},  // line 0: listed, never followed
      {model.index(0, 0), 0},                     // a file node
      {model.index(0, 0, model.index(1, 0)), 21},
  };
  for (const Case& c : cases) {
    jumps.clear();
    window.TreeView1()->setCurrentIndex(c.node);
    QTest::keyClick(window.TreeView1(), Qt::Key_Return);
    window.Activate(c.node);  // the double-click
    ASSERT_EQ(jumps.size(), c.line > 0 ? 2 : 0) << c.node.data().toString().toStdString();
    if (c.line > 0) {
      EXPECT_EQ(jumps[0][0].toInt(), c.line);
      EXPECT_EQ(jumps[0][1].toString(), c.node.parent().data().toString());
    }
  }
}

}  // namespace
}  // namespace veldrane::ui::test
