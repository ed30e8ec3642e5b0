// Renames 10 000 small EXIF pictures with the rename engine (reading each picture, temporary
// names, final names), and, in the same run, a plain loop that opens each file, reads its
// first 64 KiB, closes it and renames it twice: the floor of any safe two-pass rename. Prints
// the ratio of the two. The engine gives the same names on every run, so each iteration does
// the whole work again.
#include "app/naming/ConfigClass.h"
#include "app/naming/RenameEngine.h"
#include "bench/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>

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
  std::vector<RenameRow> rows = benchsupport::listRows(engineDir());
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
  const benchsupport::BenchProgram program(argc, argv);
  if (!program.ready()) return 1;
  engineDir() = program.root() + QStringLiteral("/engine");
  plainDir() = program.root() + QStringLiteral("/plain");
  benchsupport::writePictures(engineDir(), kFiles, benchsupport::dateInOrder);
  benchsupport::writePictures(plainDir(), kFiles, benchsupport::dateInOrder);

  const benchsupport::BenchTimes times = benchsupport::runBenchmarks(argc, argv);
  if (const auto ratio = times.realRatio("BM_RenameEngine/real_time", "BM_PlainReadAndRenameTwice/real_time")) {
    std::printf("rename engine / open+read 64 KiB+close+2 renames: %.2f (target at most 2)\n", *ratio);
  }
  return 0;
}
