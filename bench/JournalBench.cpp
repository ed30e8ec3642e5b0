// Renames 10 000 small EXIF pictures with the rename engine and its journal (plan worked out
// on a simulated folder, identities, the plan written and synced before the first move, the
// outcome synced at the end), and, in the same run, with the same engine without journal.
// Prints the median ratio of the two. Each folder is on the same file system; the engine gives the
// same names on every run, so each iteration does the whole work again.
#include "app/naming/ConfigClass.h"
#include "app/naming/JournalStore.h"
#include "app/naming/RenameEngine.h"
#include "bench/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kFiles = 10000;

QString& plainDir() {
  static QString dir;
  return dir;
}
QString& journaledDir() {
  static QString dir;
  return dir;
}

// One engine over one folder, with or without journal.
struct Renamer {
  Renamer(const QString& dir, bool journaled)
      : rows(benchsupport::listRows(dir)), engine(rt::localFileSystem(), config, {}, questions) {
    if (journaled) engine.setJournal(&journal);
  }
  bool run() {
    for (RenameRow& row : rows) row.checked = true;
    const RenameSummary summary = engine.run(rows);
    return summary.renamed == kFiles && summary.journalProblem.isEmpty();
  }
  std::vector<RenameRow> rows;
  ConfigClass config;
  SilentQuestions questions;
  JournalWriter journal;
  RenameEngine engine;
};

double& medianRatio() {
  static double ratio = 0;
  return ratio;
}

// Each iteration renames both folders, one right after the other, so that both runs meet the
// same load of the machine; the ratio kept is the median of the iterations' ratios.
void BM_EngineWithAndWithoutJournal(benchmark::State& state) {
  Renamer plain(plainDir(), false);
  Renamer journaled(journaledDir(), true);
  std::vector<double> ratios;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    if (!plain.run()) state.SkipWithError("the run without journal failed");
    const auto t1 = std::chrono::steady_clock::now();
    if (!journaled.run()) state.SkipWithError("the journaled run failed");
    const auto t2 = std::chrono::steady_clock::now();
    ratios.push_back(std::chrono::duration<double>(t2 - t1).count() / std::chrono::duration<double>(t1 - t0).count());
  }
  std::sort(ratios.begin(), ratios.end());
  medianRatio() = ratios.empty() ? 0 : ratios[ratios.size() / 2];
  state.counters["with/without"] = medianRatio();
  state.SetItemsProcessed(state.iterations() * 2 * kFiles);
}

BENCHMARK(BM_EngineWithAndWithoutJournal)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(7);

}  // namespace

int main(int argc, char** argv) {
  const benchsupport::BenchProgram program(argc, argv);
  if (!program.ready()) return 1;
  ::setenv("XDG_STATE_HOME", QFile::encodeName(program.root() + QStringLiteral("/state")).constData(), 1);
  plainDir() = program.root() + QStringLiteral("/plain");
  journaledDir() = program.root() + QStringLiteral("/journaled");
  benchsupport::writePictures(plainDir(), kFiles, benchsupport::dateInOrder);
  benchsupport::writePictures(journaledDir(), kFiles, benchsupport::dateInOrder);

  benchsupport::runBenchmarks(argc, argv);
  std::printf("rename engine with journal / without (median of adjacent runs): %.3f (target at most 1.15)\n",
              medianRatio());
  return 0;
}
