// What the catalog shows of a folder: the tree, the Preview's drawing and
// the Table's rows, checked against the OGR driver's own view of the files.
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <map>

#include <ogrsf_frmts.h>

#include "gdal/survey_report.h"
#include "plugin/svy_dataset_helper.h"
#include "tests/ui/catalog_test_support.h"
#include "ui/feature_table_model.h"
#include "ui/map_renderer.h"
#include "ui/preview_data.h"
#include "ui/survey_file_actions.h"

namespace veldrane::ui::test {
namespace {

TEST_F(CatalogWindowTest, TreeListsFoldersSurveyFilesAndTheirClassesOnly) {
  CopySample("levee.em");
  CopySample("control.83");
  CopySample("profile.em", "sub/profile.em");
  Write("levee.em.xml", "<metadata/>");
  Write("notes.txt", "not a survey\n");
  Write(".hidden/x.em", "#H00 EM09\n");
  Open();
  EXPECT_EQ(TreeChildren(Folder()), QStringList({"sub", "control.83", "levee.em"}));
  struct Case {
    QString select;
    QString selected;  // the full name selected
    QStringList classes;
  } cases[] = {
      {PathOf("levee.em"), PathOf("levee.em"),
       {"levee.em CrossSections", "levee.em CrossSectionPoints", "levee.em Benchmarks"}},
      {PathOf("levee.em/Benchmarks"), PathOf("levee.em/levee.em Benchmarks"), {}},
      {PathOf("sub/profile.em"), PathOf("sub/profile.em"), {}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Select(c.select)) << c.select.toStdString();
    EXPECT_EQ(window.SelectedItem().FullName(), c.selected);
    if (!c.classes.isEmpty()) {
      EXPECT_EQ(TreeChildren(c.selected), c.classes);
    }
  }
}

// Every sample draws: pixels inside its extent differ from the background.
TEST(Preview, DrawsEverySample) {
  SurveyReader reader;
  SurveyReader::Working working(reader);
  for (const QString& name : SampleFiles()) {
    TaskProgress progress;
    const auto dataset = reader.Dataset(SamplesFolder() + '/' + name);
    ASSERT_TRUE(dataset) << name.toStdString();
    const PreviewData data = ReadPreview(*dataset, -1, progress);
    ASSERT_FALSE(data.layers.empty()) << name.toStdString();
    const MapView view = MapView::Showing(data.extent, QSize(320, 240));
    QImage image;
    RenderPreview(data, view, image, false);
    const QRect extent = QRectF(view.ToScreen(data.extent.left(), data.extent.bottom()),
                                view.ToScreen(data.extent.right(), data.extent.top()))
                             .toAlignedRect()
                             .adjusted(-1, -1, 1, 1);
    int drawn = 0;
    for (int y = extent.top(); y <= extent.bottom(); ++y)
      for (int x = extent.left(); x <= extent.right(); ++x) drawn += image.pixel(x, y) != kPreviewBackground;
    EXPECT_GT(drawn, 20) << name.toStdString();
  }
}

// A click finds what is drawn on top: points, then lines, then the area
// that holds the point by the even-odd rule (a hole is outside, an island
// in a hole inside).
TEST(Preview, IdentifiesWhatIsDrawnAtAPoint) {
  PreviewData data;
  PreviewLayer area;
  area.type = HostGeometryType::Polygon;
  area.xy = {0, 0, 10, 0, 10, 10, 0, 10, 3, 3, 7, 3, 7, 7, 3, 7, 4, 4, 6, 4, 6, 6, 4, 6};
  area.partEnds = {4, 8, 12};
  area.shapes = {{7, 0, 3, QRectF(0, 0, 10, 10)}};
  PreviewLayer line;
  line.type = HostGeometryType::Polyline;
  line.xy = {20, 0, 30, 0};
  line.partEnds = {2};
  line.shapes = {{3, 0, 1, QRectF(20, 0, 10, 0)}};
  PreviewLayer points;
  points.xy = {40, 5, 25, 0};  // the second lies on the line: the point wins
  points.oids = {9, 11};
  data.layers = {area, line, points};
  struct Case {
    QPointF at;
    int layer;  // -1: nothing
    int oid;
  } cases[] = {
      {{1, 1}, 0, 7}, {{5, 3.5}, -1, 0}, {{5, 5}, 0, 7}, {{22, 0.3}, 1, 3},
      {{40.3, 5}, 2, 9}, {{25, 0.1}, 2, 11}, {{50, 50}, -1, 0},
  };
  for (const Case& c : cases) {
    const auto hit = FindFeatureAt(data, c.at, 0.5);
    EXPECT_EQ(hit ? hit->layer : -1, c.layer) << c.at.x() << "," << c.at.y();
    if (hit) {
      EXPECT_EQ(hit->oid, c.oid);
    }
  }
}

// All rows of every class, a batch at a time: as many as OGR counts.
TEST_F(CatalogTest, TableHoldsEveryFeatureOfTheClass) {
  for (const QString& name : SampleFiles()) CopySample(name);
  WriteSurvey("big.em", 3, FeatureTableModel::kBatchRows - 300);  // points over three batches
  std::map<QString, qint64> expected;
  {
    ogr::RegisterDriversForTools();
    const auto opened = ogr::OpenSurveys(NativePath(Folder()));
    ASSERT_TRUE(opened.dataset);
    for (OGRLayer* layer : ogr::SurveyLayers(*opened.dataset))
      expected[QString::fromStdString(layer->GetName())] = layer->GetFeatureCount(TRUE);
  }
  ASSERT_EQ(expected[PathOf("big.em").section('/', -1) + " CrossSectionPoints"], 3 * (FeatureTableModel::kBatchRows - 300));
  SurveyReader reader;
  TaskRunner tasks(nullptr);
  FeatureTableModel model(reader, tasks);
  std::map<QString, qint64> shown;
  for (const auto& [layer, count] : expected) {
    const QString file = PathOf(layer.section(' ', 0, 0));
    QString problem;
    int classIndex = -1;
    {
      SurveyReader::Working working(reader);
      const auto dataset = reader.Dataset(file);
      classIndex = dataset->ClassIndex(NativePath(layer));
    }
    model.Show(file, classIndex);
    WaitIdle(tasks);
    while (model.canFetchMore()) {
      model.fetchMore();
      WaitIdle(tasks);
    }
    shown[layer] = model.rowCount();
    EXPECT_TRUE(model.AllFetched());
  }
  EXPECT_EQ(shown, expected);
}

TEST_F(CatalogTest, ExportWritesTheWholeFileOrNothing) {
  const QString small = CopySample("levee.em");
  const QString large = WriteSurvey("large.em", 400, 400);
  SurveyReader reader;
  TaskRunner tasks(nullptr);
  tasks.SetProgressDelay(0);
  SurveyFileActions actions(reader, tasks, messages);
  QStringList status;
  QObject::connect(&actions, &SurveyFileActions::status, [&](const QString& text) { status << text; });
  struct Case {
    QString file;
    bool cancel;
    QString status;
  } cases[] = {
      {small, false, "Exported 3 layers, 114 features to " + PathOf("levee.gpkg")},
      {large, true, "Export cancelled; nothing was written."},
  };
  for (const Case& c : cases) {
    const QString output = c.file.chopped(3) + ".gpkg";
    messages.QueueText(output);
    actions.ExportToGeoPackage(c.file);
    if (c.cancel) {
      // Cancel once the copy has begun writing.
      ASSERT_TRUE(QTest::qWaitFor([&] {
        return tasks.NewestWindow() && tasks.NewestWindow()->findChild<QProgressBar*>()->value() > 0;
      }, 60000));
      tasks.NewestWindow()->CancelButton()->click();
    }
    ASSERT_TRUE(WaitIdle(tasks));
    EXPECT_EQ(status.last(), c.status);
    EXPECT_EQ(QFileInfo::exists(output), !c.cancel) << output.toStdString();
  }
  // Nothing half-written is left anywhere in the folder.
  EXPECT_EQ(QDir(Folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList({"large.em", "levee.em", "levee.gpkg"}));
}

}  // namespace
}  // namespace veldrane::ui::test
