// Speed of the desktop catalog where a user waits on it: listing a folder of
// 1,000 survey files in the tree (nothing read), redrawing the Preview of a
// million points after a pan or zoom, and opening the Table of a class of a
// million points (its first batch of rows). Targets: under 1 s, 200 ms and
// 1 s. Runs offscreen; the surveys are written into a scratch folder first.
//
//   build-bench/bin/catalog_speed [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTreeView>
#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "plugin/svy_dataset_helper.h"
#include "ui/catalog_tree_model.h"
#include "ui/feature_table_model.h"
#include "ui/map_renderer.h"
#include "ui/preview_data.h"
#include "ui/survey_reader.h"
#include "ui/task_runner.h"

namespace veldrane::ui {
namespace {

constexpr int kFiles = 1000;
constexpr int kSections = 1000;  // of kPoints points: a million points
constexpr int kPoints = 1000;

QString Scratch(const char* name) {
  const QString path = QString::fromStdString(bench::ScratchDir()) + '/' + name;
  QDir().mkpath(path);
  return path;
}

// A folder of small survey files (the tree lists them; nothing is read).
const QString& FolderOf1000Files() {
  static const QString folder = [] {
    const QString path = Scratch("thousand");
    for (int i = 0; i < kFiles; ++i) {
      std::FILE* out = std::fopen(QString("%1/survey%2.em").arg(path).arg(i, 4, 10, QChar('0')).toLocal8Bit(), "wb");
      std::fputs("#H00 EM09\n#H01 S.EM\n", out);
      std::fclose(out);
    }
    return path;
  }();
  return folder;
}

// kSections cross sections of kPoints points each, 10 ft apart.
const QString& MillionPointSurvey() {
  static const QString file = [] {
    const QString path = Scratch("million") + "/million.em";
    std::FILE* out = std::fopen(path.toLocal8Bit(), "wb");
    std::fputs("#H00 EM09\n#H01 M.EM\n#H02 3/14/2011\n#H04 NAD83\n#H06 US SURVEY FEET\n#H07 LA SOUTH\n", out);
    for (int s = 0, id = 1; s < kSections; ++s) {
      const double y = 690000.0 + 10.0 * s;
      std::fprintf(out, "#X01 3390000 %.3f %.3f %.3f %d+00 XS %d\n", y, 3390010.0 + 5.0 * kPoints, y, s, s);
      for (int p = 0; p < kPoints; ++p, ++id)
        std::fprintf(out, "%d,%.3f,%.3f,%.2f,GND\n", id, y, 3390000.0 + 5.0 * p, 10.0 + p % 20);
    }
    std::fclose(out);
    return path;
  }();
  return file;
}

void ListFolderOf1000Files(benchmark::State& state) {
  const QString folder = FolderOf1000Files();
  SurveyReader reader;
  TaskRunner tasks(nullptr);
  CatalogTreeModel model(reader, tasks);
  QTreeView view;
  view.setUniformRowHeights(true);
  view.setModel(&model);
  view.resize(300, 800);
  view.show();
  for (auto _ : state) {
    model.SetRoot(folder);
    view.expand(model.RootIndex());
    model.EnsureListed(model.RootIndex(), [] {});
    tasks.WaitUntilIdle(60000);
    QApplication::processEvents();  // the view lays the rows out
    if (model.rowCount(model.RootIndex()) != kFiles) state.SkipWithError("not every file listed");
  }
}
BENCHMARK(ListFolderOf1000Files)->Unit(benchmark::kMillisecond)->UseRealTime();

// The million points (and the thousand lines through them) read once; each
// iteration draws one view of 1280x800: the whole survey, a zoom, a pan.
void RedrawMillionPoints(benchmark::State& state) {
  static const PreviewData data = [] {
    SurveyReader reader;
    SurveyReader::Working working(reader);
    TaskProgress progress;
    return ReadPreview(*reader.Dataset(MillionPointSurvey()), -1, progress);
  }();
  MapView view = MapView::Showing(data.extent, QSize(1280, 800));
  if (state.range(0) >= 1) view.ZoomAt(QPointF(640, 400), 4);
  if (state.range(0) == 2) view.PanBy(QPointF(300, -200));
  QImage image;
  for (auto _ : state) RenderPreview(data, view, image);
  state.SetLabel(state.range(0) == 0 ? "full extent" : state.range(0) == 1 ? "zoom x4" : "zoom x4, panned");
}
BENCHMARK(RedrawMillionPoints)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Selecting the file: it is read and its classes are listed with their
// feature counts (what the tree waits for before the tabs show anything).
void ReadMillionPointSurvey(benchmark::State& state) {
  SurveyReader reader;
  SurveyReader::Working working(reader);
  for (auto _ : state) {
    reader.Forget(MillionPointSurvey());
    TaskProgress progress;
    const SurveyContents contents = reader.ReadContents(MillionPointSurvey(), progress);
    if (contents.classes.size() != 2 || contents.classes[1].features != kSections * kPoints)
      state.SkipWithError("not read whole");
  }
}
BENCHMARK(ReadMillionPointSurvey)->Unit(benchmark::kMillisecond)->UseRealTime();

// The survey is read already (the tree read it when it was selected): the
// table opens a cursor and shows its first batch.
void OpenTableOfMillionPoints(benchmark::State& state) {
  SurveyReader reader;
  TaskRunner tasks(nullptr);
  FeatureTableModel model(reader, tasks);
  int points = -1;
  reader.Run<int>(
      nullptr, tasks, "", [&](TaskProgress&) { return reader.Dataset(MillionPointSurvey())->ClassIndex("million.em CrossSectionPoints"); },
      [&](int index, bool) { points = index; });
  tasks.WaitUntilIdle(600000);
  for (auto _ : state) {
    model.Show(MillionPointSurvey(), points);
    tasks.WaitUntilIdle(60000);
    if (model.rowCount() != FeatureTableModel::kBatchRows) state.SkipWithError("no first batch");
  }
}
BENCHMARK(OpenTableOfMillionPoints)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace veldrane::ui

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
