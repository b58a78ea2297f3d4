// Speed of the catalog's "Text" tab on a 50 MB survey file: how soon the
// text is on screen once the file is selected (and how long until all of it
// is in the text box), a keystroke while the problems of that text are being
// checked, Find Next, and Replace All of 100,000 matches.
//
//   cmake -S . -B build-bench-ui -DCMAKE_BUILD_TYPE=Release -DVELDRANE_BUILD_TESTS=OFF
//   cmake --build build-bench-ui --target source_view_bench
//   QT_QPA_PLATFORM=offscreen build-bench-ui/bin/source_view_bench
//
// Targets: shown < 1 s, a keystroke well under a frame (16 ms), Find Next
// < 100 ms, Replace All of 100,000 matches within a few seconds.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/bench_support.h"
#include "ui/catalog_host.h"
#include "ui/frm_search_replace.h"
#include "ui/live_survey_check.h"
#include "ui/survey_text_editor.h"
#include "ui/svy_view_source_tab.h"

namespace veldrane::ui {
namespace {

using Clock = std::chrono::steady_clock;

// The calling thread's processor time: the machine the benchmarks run on is
// shared, so wall time alone says little.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

class BenchHost : public CatalogHost {
 public:
  CatalogLocation SelectedLocation() const override { return location; }
  void RefreshSurveyFile(const QString&) override {}
  void ShowStatusMessage(const QString&) override {}
  UserMessages& Messages() override { return messages; }
  CatalogLocation location;
  RecordedMessages messages;
};

// Cross sections of `points` coordinate lines each until the file holds
// `bytes`; the last line holds "NEEDLE".
QString WriteSurvey(const char* name, std::int64_t bytes, int points) {
  const std::string path = bench::ScratchDir() + "/" + name;
  if (!std::filesystem::exists(path)) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::int64_t written = std::fprintf(out, "#H00 EM09\r\n#H01 BENCH\r\n#H04 NAD83\r\n");
    for (int section = 0; section == 0 || written < bytes; ++section) {
      written += std::fprintf(out, "#X01 3394582.456 691500.449 3394328.885 692044.234 %d+00 XS %d\r\n#X02 R-%d\r\n",
                              section, section, section);
      for (int point = 0; point < points; ++point) {
        written += std::fprintf(out, "%d,%.3f,%.3f,11.74,GND\r\n", 3000 + point, 691554.828 + point,
                                3394557.099 - point);
      }
    }
    std::fprintf(out, "; NEEDLE\r\n");
    std::fclose(out);
  }
  return QString::fromStdString(path);
}

QString LargeSurvey() { return WriteSurvey("large.em", std::int64_t{50} << 20, 100); }

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A shown tab with `path` selected.
struct ShownTab {
  explicit ShownTab(const QString& path) {
    host.location = {path, QString::fromStdString(bench::ScratchDir())};
    tab.resize(1280, 800);
    tab.show();
    QApplication::processEvents();
  }
  BenchHost host;
  SvyViewSourceTab tab{host};
};

void BM_ShowLargeFile(benchmark::State& state) {
  const QString path = LargeSurvey();
  for (auto _ : state) {
    ShownTab shown(path);
    const auto start = Clock::now();
    const double startCpu = ThreadSeconds();
    shown.tab.Activate();
    QApplication::processEvents();  // the first screen is painted
    const auto onScreen = Clock::now();
    state.counters["shown_cpu_s"] = ThreadSeconds() - startCpu;
    shown.tab.GetRichTextBox();  // the rest appended
    state.SetIterationTime(Seconds(onScreen - start));
    state.counters["all_loaded_s"] = Seconds(Clock::now() - start);
    state.counters["all_loaded_cpu_s"] = ThreadSeconds() - startCpu;
    state.counters["lines"] = shown.tab.GetRichTextBox()->blockCount();
  }
  state.counters["peak_rss_MB"] = static_cast<double>(bench::PeakRssBytes()) / (1 << 20);
}
BENCHMARK(BM_ShowLargeFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

// Keystrokes, each painted, while the first check of the text runs.
void BM_KeystrokeWhileChecking(benchmark::State& state) {
  ShownTab shown(LargeSurvey());
  shown.tab.Activate();
  shown.tab.UpdateGUI_StartEditing();
  SurveyTextEditor& box = *shown.tab.GetRichTextBox();
  box.setFocus();
  double slowest = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    QTest::keyClick(&box, Qt::Key_X);
    QApplication::processEvents();
    const double took = Seconds(Clock::now() - start);
    slowest = std::max(slowest, took);
    state.SetIterationTime(took);
  }
  state.counters["slowest_ms"] = slowest * 1000;
}
BENCHMARK(BM_KeystrokeWhileChecking)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

// From Start Editing until the marks of the whole text are shown (the check
// runs on a worker thread).
void BM_CheckLargeFile(benchmark::State& state) {
  ShownTab shown(LargeSurvey());
  shown.tab.Activate();
  shown.tab.GetRichTextBox();
  for (auto _ : state) {
    QSignalSpy checked(&shown.tab.LiveCheck(), &LiveSurveyCheck::checked);
    shown.tab.UpdateGUI_StartEditing();
    if (!checked.wait(120000)) state.SkipWithError("no check result");
    state.counters["marks"] = static_cast<double>(shown.tab.GetRichTextBox()->Marks().size());
    state.PauseTiming();
    shown.tab.UpdateGUI_StopEditing();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CheckLargeFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// From the start to the last line; the argument is the find options (0:
// without regard to case, 4: Match Case).
void BM_FindNext(benchmark::State& state) {
  ShownTab shown(LargeSurvey());
  shown.tab.Activate();
  SurveyTextEditor& box = *shown.tab.GetRichTextBox();
  frmSearchReplace& find = shown.tab.SearchReplace();
  find.findChild<QCheckBox*>(QStringLiteral("chkMatchCase"))->setChecked(state.range(0) == 4);
  find.setOptions();
  for (auto _ : state) {
    box.moveCursor(QTextCursor::Start);
    benchmark::DoNotOptimize(find.SurveyTextSearch(QStringLiteral("NEEDLE")));
  }
}
BENCHMARK(BM_FindNext)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_ReplaceAll100k(benchmark::State& state) {
  const QString path = WriteSurvey("replace.em", 0, 100000);  // one cross section of 100,000 points
  for (auto _ : state) {
    state.PauseTiming();
    ShownTab shown(path);
    shown.tab.Activate();
    shown.tab.UpdateGUI_StartEditing();
    frmSearchReplace& replace = shown.tab.SearchReplace();
    shown.tab.GetRichTextBox()->moveCursor(QTextCursor::Start);
    state.ResumeTiming();
    state.counters["replaced"] = replace.SurveyTextReplaceAll(QStringLiteral("GND"), QStringLiteral("GROUND"));
  }
}
BENCHMARK(BM_ReplaceAll100k)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace veldrane::ui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
