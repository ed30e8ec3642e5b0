// Reads 10 000 small EXIF pictures with PictureInfos, and, in the same run, opens each file,
// reads its first 64 KiB and closes it: the floor that any reader of these files pays. Prints
// the ratio of the two.
#include "app/picture/PictureInfos.h"
#include "bench/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QStringList>

#include <cstdio>

namespace {

constexpr int kFiles = 10000;

QStringList& files() {
  static QStringList list;
  return list;
}

void BM_OpenReadHead(benchmark::State& state) { benchsupport::OpenReadHeadLoop(state, files()); }

void BM_PictureInfos(benchmark::State& state) {
  for (auto _ : state) {
    double sum = 0;
    for (const QString& path : files()) {
      const JpegInfosClass info = PictureInfos(path);
      if (info.CreateDate() <= 0 || info.ImgWidth() != 640) state.SkipWithError("picture misread");
      sum += info.CreateDate();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * files().size());
}

BENCHMARK(BM_OpenReadHead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PictureInfos)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  const benchsupport::BenchProgram program(argc, argv);
  if (!program.ready()) return 1;
  files() = benchsupport::writePictures(program.root() + QStringLiteral("/pictures"), kFiles, benchsupport::dateInOrder);

  const benchsupport::BenchTimes times = benchsupport::runBenchmarks(argc, argv);
  const auto real = times.realRatio("BM_PictureInfos/real_time", "BM_OpenReadHead/real_time");
  const auto cpu = times.cpuRatio("BM_PictureInfos/real_time", "BM_OpenReadHead/real_time");
  if (real && cpu) {
    std::printf("PictureInfos / open+read 64 KiB+close: %.2f real time, %.2f CPU time (target at most 2)\n", *real,
                *cpu);
  }
  return 0;
}
