// Reading, planning and renaming folders of 10 000 and 100 000 small EXIF pictures, with the
// growth fitted by Google Benchmark: each step must stay linear in the number of pictures (the
// "BigO" line near N and the time per picture about the same at both sizes). Reading builds the
// list's rows (each picture read, sorted on its date); planning runs the engine on the simulated
// folder, as `tindra-cli plan` does; renaming runs it on disk (the names come back the same on
// every run, so each iteration renames every file twice again).
#include "app/naming/ConfigClass.h"
#include "app/naming/RenameEngine.h"
#include "app/naming/SimulatedFileSystem.h"
#include "bench/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QHash>

#include <vector>

namespace {

QString& rootDir() {
  static QString dir;
  return dir;
}

// The folder of count pictures, written on first use.
const QString& folderOf(int count) {
  static QHash<int, QString> folders;
  if (!folders.contains(count)) {
    const QString dir = rootDir() + QStringLiteral("/pictures-%1").arg(count);
    benchsupport::writePictures(dir, count, [count](int i) { return benchsupport::dateShuffled(i, count); });
    folders.insert(count, dir);
  }
  return folders[count];
}

void BM_Read(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const QString& dir = folderOf(count);
  for (auto _ : state) {
    const std::vector<RenameRow> rows = benchsupport::listRows(dir);
    if (static_cast<int>(rows.size()) != count) state.SkipWithError("not every picture was read");
  }
  state.SetComplexityN(count);
  state.SetItemsProcessed(state.iterations() * count);
}

// Runs the engine over the folder's rows on fs; every picture must get a name.
void runEngine(benchmark::State& state, rt::FileSystem& fs, std::vector<RenameRow>& rows) {
  ConfigClass config;
  SilentQuestions questions;
  RenameEngine engine(fs, config, {}, questions);
  for (RenameRow& row : rows) row.checked = true;
  if (engine.run(rows).renamed != static_cast<int>(rows.size())) state.SkipWithError("not every picture was named");
}

void BM_Plan(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::vector<RenameRow> listed = benchsupport::listRows(folderOf(count));
  for (auto _ : state) {
    std::vector<RenameRow> rows = listed;
    SimulatedFileSystem simulated(rt::localFileSystem());
    runEngine(state, simulated, rows);
  }
  state.SetComplexityN(count);
  state.SetItemsProcessed(state.iterations() * count);
}

void BM_Rename(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::vector<RenameRow> rows = benchsupport::listRows(folderOf(count));
  for (auto _ : state) runEngine(state, rt::localFileSystem(), rows);
  state.SetComplexityN(count);
  state.SetItemsProcessed(state.iterations() * count);
}

BENCHMARK(BM_Read)->Arg(10000)->Arg(100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Plan)->Arg(10000)->Arg(100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Rename)->Arg(10000)->Arg(100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  const benchsupport::BenchProgram program(argc, argv);
  if (!program.ready()) return 1;
  rootDir() = program.root();
  benchsupport::runBenchmarks(argc, argv);
  return 0;
}
