// Renames 10 000 small EXIF pictures with the rename engine (reading each picture, temporary
// names, final names), and, in the same run, a plain loop that opens each file, reads its
// first 64 KiB, closes it and renames it twice: the floor of any safe two-pass rename. Prints
// the ratio of the two. The engine gives the same names on every run, so each iteration does
// the whole work again.
#include "app/naming/ConfigClass.h"
#include "app/naming/FutureName.h"
#include "app/naming/RenameEngine.h"
#include "app/picture/PictureInfos.h"
#include "bench/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kFiles = 10000;

QString& engineDir() {
  static QString dir;
  return dir;
}
QString& plainDir() {
  static QString dir;
  return dir;
}

// The file list's rows for every picture of the folder, in list order.
std::vector<RenameRow> listRows(const QString& dir) {
  std::vector<RenameRow> rows;
  for (const QString& name : QDir(dir).entryList(QDir::Files, QDir::Name)) {
    const QString path = dir + QLatin1Char('/') + name;
    const JpegInfosClass info = PictureInfos(path);
    rows.push_back(RenameRow{path, name, dir, RowDateKey(info), HasExifDate(info), true});
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const RenameRow& a, const RenameRow& b) { return a.dateKey < b.dateKey; });
  return rows;
}

class SilentQuestions : public RenameQuestions {
 public:
  QString askDate(const QString&, const QString&) override { return QString(); }
  void progress(RenamePhase, int, int) override {}
};

void BM_PlainReadAndRenameTwice(benchmark::State& state) {
  QStringList names = QDir(plainDir()).entryList(QDir::Files, QDir::Name);
  benchsupport::HeadReader reader;
  bool forward = true;
  for (auto _ : state) {
    int64_t total = 0;
    for (const QString& name : names) {
      const QString path = plainDir() + QLatin1Char('/') + name;
      total += reader.read(path, state);
      const QByteArray from = QFile::encodeName(path);
      const QByteArray temporary = QFile::encodeName(plainDir() + QStringLiteral("/($)_") + name);
      const QByteArray to = QFile::encodeName(plainDir() + (forward ? QStringLiteral("/N") : QStringLiteral("/")) +
                                              (forward ? name : name.mid(1)));
      if (std::rename(from.constData(), temporary.constData()) != 0 ||
          std::rename(temporary.constData(), to.constData()) != 0)
        state.SkipWithError("rename failed");
    }
    for (QString& name : names) name = forward ? QStringLiteral("N") + name : name.mid(1);
    forward = !forward;
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * names.size());
}

void BM_RenameEngine(benchmark::State& state) {
  std::vector<RenameRow> rows = listRows(engineDir());
  ConfigClass config;
  SilentQuestions questions;
  RenameEngine engine(rt::localFileSystem(), config, {}, questions);
  for (auto _ : state) {
    for (RenameRow& row : rows) row.checked = true;
    const RenameSummary summary = engine.run(rows);
    if (summary.renamed != kFiles) state.SkipWithError("not every picture was renamed");
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(rows.size()));
}

BENCHMARK(BM_PlainReadAndRenameTwice)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenameEngine)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir root;
  if (!root.isValid()) return 1;
  benchsupport::usePrivateConfig(root.path());
  QCoreApplication app(argc, argv);
  if (!benchsupport::registerLibrary()) return 1;
  benchsupport::printErrorsToStderr();
  engineDir() = root.path() + QStringLiteral("/engine");
  plainDir() = root.path() + QStringLiteral("/plain");
  benchsupport::writePictures(engineDir(), kFiles, benchsupport::dateInOrder);
  benchsupport::writePictures(plainDir(), kFiles, benchsupport::dateInOrder);

  const benchsupport::BenchTimes times = benchsupport::runBenchmarks(argc, argv);
  if (const auto ratio = times.realRatio("BM_RenameEngine/real_time", "BM_PlainReadAndRenameTwice/real_time")) {
    std::printf("rename engine / open+read 64 KiB+close+2 renames: %.2f (target at most 2)\n", *ratio);
  }
  return 0;
}
