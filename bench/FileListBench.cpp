// Adds 10 000 small EXIF pictures to the main window's list as one handed-over list (the way a
// later instance or the command line passes them) with the plan its columns show, and, in the
// same run, reads the same files with PictureInfos alone. Prints the ratio of the two, from the
// benchmarks and from pairs run in turn (TINDRA_BENCH_PAIRS of them, 9 by default). Also: the
// core list built from the same files with the plan of every row, against PictureInfos alone,
// and the plan of the 10 000 rows computed again after one setting changed, in the core and in
// the window.
#include "app/common/ProgramInfo.h"
#include "app/mainwindow/FileListView.h"
#include "tests/support/ScriptedUiServices.h"
#include "app/mainwindow/wMain.h"
#include "app/naming/ConfigClass.h"
#include "app/naming/PictureList.h"
#include "app/picture/PictureInfos.h"
#include "bench/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int kFiles = 10000;

QStringList& files() {
  static QStringList list;
  return list;
}

// Every file read by PictureInfos alone; false when one is misread.
bool readAlone() {
  double sum = 0;
  bool complete = true;
  for (const QString& path : files()) {
    const JpegInfosClass info = PictureInfos(path);
    complete &= info.CreateDate() > 0;
    sum += info.CreateDate();
  }
  benchmark::DoNotOptimize(sum);
  return complete;
}

// A window shown with an empty list, ready to take the files.
std::unique_ptr<wMain> emptyWindow() {
  auto window = std::make_unique<wMain>();
  window->resize(1000, 700);
  window->show();
  QCoreApplication::processEvents();
  return window;
}

// The files handed over to the window, until its columns show their plan; false when the list
// or the plan is not complete.
bool addToWindow(wMain& window, const QString& list, const ui::ScriptedUiServices& services) {
  window.AddFiles(list);
  const size_t planned = window.lvwFiles->pictures().plan().size();  // what the columns show
  return window.lvwFiles->rowCount() == kFiles && planned == static_cast<size_t>(kFiles) &&
         services.messages().isEmpty();
}

void BM_PictureInfos(benchmark::State& state) {
  for (auto _ : state)
    if (!readAlone()) state.SkipWithError("picture misread");
  state.SetItemsProcessed(state.iterations() * files().size());
}

void BM_AddFilesToList(benchmark::State& state) {
  ui::ScriptedUiServices services;
  const QString list = files().join(QStringLiteral("\r\n"));
  for (auto _ : state) {
    state.PauseTiming();
    auto window = emptyWindow();
    state.ResumeTiming();
    const bool complete = addToWindow(*window, list, services);
    state.PauseTiming();
    if (!complete) state.SkipWithError("the list is not complete");
    window.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * files().size());
}

// The ratio of adding to the window over reading alone, measured in turns so that both see the
// same machine (other programs' load changes from one benchmark to the next): the median of
// the ratios of pairs, or nothing when a turn failed.
std::optional<double> pairedAddRatio(int pairs) {
  ui::ScriptedUiServices services;
  const QString list = files().join(QStringLiteral("\r\n"));
  std::vector<double> ratios;
  for (int i = 0; i < pairs; ++i) {
    QElapsedTimer timer;
    timer.start();
    if (!readAlone()) return std::nullopt;
    const qint64 alone = timer.nsecsElapsed();
    auto window = emptyWindow();
    timer.restart();
    if (!addToWindow(*window, list, services)) return std::nullopt;
    ratios.push_back(static_cast<double>(timer.nsecsElapsed()) / static_cast<double>(alone));
  }
  if (ratios.empty()) return std::nullopt;
  std::sort(ratios.begin(), ratios.end());
  return ratios[ratios.size() / 2];
}

void BM_ListWithPlan(benchmark::State& state) {
  ConfigClass config;
  for (auto _ : state) {
    PictureList list;
    // As the window and tindra-cli build it: the files read at once, then added in order.
    std::vector<PictureList::ReadPath> read = list.read(files());
    list.reserve(read.size());
    for (PictureList::ReadPath& path : read) list.add(std::move(path));
    list.sort();
    const std::vector<RowPlan> plan = list.plan(config, RenameOffsets::fromConfig(config), rt::localFileSystem());
    if (plan.size() != static_cast<size_t>(kFiles) || plan.front().outcome != RowPlan::Outcome::Rename)
      state.SkipWithError("the plan is not complete");
  }
  state.SetItemsProcessed(state.iterations() * files().size());
}

void BM_PlanAfterSettingChange(benchmark::State& state) {
  PictureList list;
  for (const QString& path : files()) list.add(path);
  list.sort();
  ConfigClass config;
  bool suffix = false;
  for (auto _ : state) {
    config.SetIsSuffix(suffix = !suffix);
    const std::vector<RowPlan> plan = list.plan(config, RenameOffsets::fromConfig(config), rt::localFileSystem());
    if (plan.size() != static_cast<size_t>(kFiles)) state.SkipWithError("the plan is not complete");
  }
  state.SetItemsProcessed(state.iterations() * files().size());
}

// The window's list after one setting changed: the plan the two columns show, computed again.
void BM_WindowPlanAfterSettingChange(benchmark::State& state) {
  ui::ScriptedUiServices services;
  auto window = std::make_unique<wMain>();
  window->resize(1000, 700);
  window->show();
  window->AddFiles(files().join(QStringLiteral("\r\n")));
  bool suffix = true;
  for (auto _ : state) {
    CurrentConfig().SetIsSuffix(suffix = !suffix);
    window->SettingsChanged();
    if (window->lvwFiles->pictures().plan().size() != static_cast<size_t>(kFiles))
      state.SkipWithError("the plan is not complete");
  }
  CurrentConfig() = ConfigClass();
  state.SetItemsProcessed(state.iterations() * files().size());
}

BENCHMARK(BM_PictureInfos)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AddFilesToList)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListWithPlan)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlanAfterSettingChange)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WindowPlanAfterSettingChange)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir root;
  if (!root.isValid()) return 1;
  QDir(root.path()).mkpath(QStringLiteral("program"));
  benchsupport::usePrivateConfig(root.path());
  if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  if (!benchsupport::registerLibrary()) return 1;
  ProgramInfo::OverrideLocation(root.path() + QStringLiteral("/program"), QStringLiteral("tindra"));
  files() = benchsupport::writePictures(root.path() + QStringLiteral("/pictures"), kFiles,
                                        [](int i) { return benchsupport::dateShuffled(i, kFiles); });

  const benchsupport::BenchTimes times = benchsupport::runBenchmarks(argc, argv);
  const char* pairs = getenv("TINDRA_BENCH_PAIRS");
  if (const auto ratio = pairedAddRatio(pairs ? std::atoi(pairs) : 9)) {
    std::printf("AddFiles / PictureInfos alone, median of pairs run in turn: %.2f (target at most 1.5)\n", *ratio);
  }
  if (const auto ratio = times.realRatio("BM_AddFilesToList/real_time", "BM_PictureInfos/real_time")) {
    std::printf("AddFiles / PictureInfos alone: %.2f (target at most 1.5)\n", *ratio);
  }
  if (const auto ratio = times.realRatio("BM_ListWithPlan/real_time", "BM_PictureInfos/real_time")) {
    std::printf("List with plan / PictureInfos alone: %.2f (target at most 1.5)\n", *ratio);
  }
  return 0;
}
