// Adds 10 000 small EXIF pictures to the main window's list as one handed-over list (the way a
// later instance or the command line passes them), and, in the same run, reads the same files
// with PictureInfos alone. Prints the ratio of the two.
#include "app/common/ProgramInfo.h"
#include "app/mainwindow/FileListView.h"
#include "app/mainwindow/ScriptedUiServices.h"
#include "app/mainwindow/wMain.h"
#include "app/picture/PictureInfos.h"
#include "bench/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kFiles = 10000;

QStringList& files() {
  static QStringList list;
  return list;
}

void BM_PictureInfos(benchmark::State& state) {
  for (auto _ : state) {
    double sum = 0;
    for (const QString& path : files()) {
      const JpegInfosClass info = PictureInfos(path);
      if (info.CreateDate() <= 0) state.SkipWithError("picture misread");
      sum += info.CreateDate();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * files().size());
}

void BM_AddFilesToList(benchmark::State& state) {
  ui::ScriptedUiServices services;
  const QString list = files().join(QStringLiteral("\r\n"));
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<wMain>();
    window->resize(1000, 700);
    window->show();
    QCoreApplication::processEvents();
    state.ResumeTiming();
    window->AddFiles(list);
    state.PauseTiming();
    if (window->lvwFiles->topLevelItemCount() != kFiles || !services.messages().isEmpty()) {
      state.SkipWithError("the list is not complete");
    }
    window.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * files().size());
}

BENCHMARK(BM_PictureInfos)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AddFilesToList)->Unit(benchmark::kMillisecond)->UseRealTime();

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
  if (const auto ratio = times.realRatio("BM_AddFilesToList/real_time", "BM_PictureInfos/real_time")) {
    std::printf("AddFiles / PictureInfos alone: %.2f (target at most 1.5)\n", *ratio);
  }
  return 0;
}
