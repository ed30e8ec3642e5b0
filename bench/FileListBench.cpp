// Adds 10 000 small EXIF pictures to the main window's list as one handed-over list (the way a
// later instance or the command line passes them), and, in the same run, reads the same files
// with PictureInfos alone. Prints the ratio of the two.
#include "app/common/ProgramInfo.h"
#include "app/mainwindow/FileListView.h"
#include "app/mainwindow/ScriptedUiServices.h"
#include "app/mainwindow/wMain.h"
#include "app/picture/PictureInfos.h"
#include "runtime/ComServer.h"
#include "tests/support/JpegBuilder.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kFiles = 10000;

QStringList& files() {
  static QStringList list;
  return list;
}

// Pictures as cameras write them, in both byte orders, in shuffled shooting order.
void makeFiles(const QString& dir) {
  for (int i = 0; i < kFiles; ++i) {
    const int n = (i * 7919) % kFiles;
    testsupport::ExifContent c;
    c.bigEndian = i % 2 == 1;
    c.dateTimeOriginal = QStringLiteral("2012:%1:%2 %3:%4:%5")
                             .arg(1 + n / 1000, 2, 10, QLatin1Char('0'))
                             .arg(1 + (n / 40) % 25, 2, 10, QLatin1Char('0'))
                             .arg(n % 24, 2, 10, QLatin1Char('0'))
                             .arg(n % 60, 2, 10, QLatin1Char('0'))
                             .arg((n / 7) % 60, 2, 10, QLatin1Char('0'))
                             .toLatin1();
    c.dateTime = c.dateTimeOriginal;
    c.otherEntries = 12;
    const QByteArray exif = testsupport::exifBody(testsupport::exifTiff(c)) + QByteArray(3000, '\x11');
    const QByteArray bytes = testsupport::JpegBuilder()
                                 .app0Jfif()
                                 .app1(exif)
                                 .dqt()
                                 .frame(0xC0, 8, 480, 640)
                                 .raw(QByteArray(4000, '\x5A'))
                                 .scanAndEnd()
                                 .bytes();
    const QString path = dir + QStringLiteral("/IMG_%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      std::exit(1);
    }
    files().append(path);
  }
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

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir root;
  if (!root.isValid()) return 1;
  for (const char* sub : {"config", "pictures", "program"}) QDir(root.path()).mkpath(QString::fromLatin1(sub));
  setenv("XDG_CONFIG_HOME", QFile::encodeName(root.path() + QStringLiteral("/config")).constData(), 1);
  if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  QString detail;
  if (rt::com::registerServer(QStringLiteral(TINDRA_LIBRARY_PATH), false, &detail) !=
      rt::com::RegistrationResult::Done) {
    std::fprintf(stderr, "cannot register the library: %s\n", qPrintable(detail));
    return 1;
  }
  ProgramInfo::OverrideLocation(root.path() + QStringLiteral("/program"), QStringLiteral("tindra"));
  makeFiles(root.path() + QStringLiteral("/pictures"));

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto reader = reporter.times.find("BM_PictureInfos/real_time");
  const auto list = reporter.times.find("BM_AddFilesToList/real_time");
  if (reader != reporter.times.end() && list != reporter.times.end() && reader->second > 0) {
    std::printf("AddFiles / PictureInfos alone: %.2f (target at most 1.5)\n", list->second / reader->second);
  }
  return 0;
}
