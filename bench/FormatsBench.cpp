// Reads the capture date of 10 000 mixed files (a quarter each of HEIC, DNG, MP4 and JPEG)
// with PictureInfos and, in the same run, opens each file, reads its first 64 KiB and closes
// it: the floor any reader of these files pays. Prints the ratio of the two. The HEIC files
// keep their EXIF item after the image data and the movies their "moov" box after the media
// data, as phones write them: the layouts that make a reader look past the file's head.
#include "app/picture/PictureInfos.h"
#include "bench/BenchSupport.h"
#include "tests/support/FormatBuilder.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kFiles = 10000;
constexpr int kMediaBytes = 128 * 1024;

QStringList& files() {
  static QStringList list;
  return list;
}

QByteArray heic(const QByteArray& date, bool bigEndian) {
  testsupport::HeifContent c;
  c.tiff = testsupport::exifTiff(benchsupport::cameraExif(date, bigEndian));
  c.exifAtEnd = true;
  c.imageBytes = kMediaBytes;
  return testsupport::heifFile(c);
}

QByteArray dng(const QByteArray& date, bool bigEndian) {
  testsupport::RawContent c;
  c.bigEndian = bigEndian;
  c.dateTime = date;
  c.dateTimeOriginal = date;
  return testsupport::rawFile(c) + QByteArray(kMediaBytes / 2, '\x33');  // the raw data
}

QByteArray mp4(int i) {
  using namespace testsupport;
  const QByteArray movie = mvhd(0, 3400000000ull + static_cast<uint64_t>(i) * 61) + trak(0, 1920, 1080);
  return box("ftyp", QByteArray("isom") + be32(0) + "isommp42") + box("mdat", QByteArray(kMediaBytes, '\x44')) +
         box("moov", movie);
}

QStringList writeFiles(const QString& dir) {
  QDir().mkpath(dir);
  QStringList paths;
  for (int i = 0; i < kFiles; ++i) {
    const QByteArray date = benchsupport::dateInOrder(i);
    static const char* const kExtensions[] = {"jpg", "heic", "dng", "mp4"};
    QByteArray bytes;
    switch (i % 4) {
      case 0: bytes = benchsupport::cameraPicture(date, i % 8 == 4); break;
      case 1: bytes = heic(date, i % 8 == 5); break;
      case 2: bytes = dng(date, i % 8 == 6); break;
      default: bytes = mp4(i); break;
    }
    const QString path = dir + QStringLiteral("/F_%1.%2").arg(i, 5, 10, QLatin1Char('0')).arg(QLatin1String(kExtensions[i % 4]));
    benchsupport::writeFile(path, bytes);
    paths.append(path);
  }
  return paths;
}

void BM_OpenReadHead(benchmark::State& state) { benchsupport::OpenReadHeadLoop(state, files()); }

void BM_PictureInfosMixed(benchmark::State& state) {
  for (auto _ : state) {
    double sum = 0;
    for (const QString& path : files()) {
      const JpegInfosClass info = PictureInfos(path);
      if (info.CreateDate() <= 0 || info.ImgWidth() <= 0) state.SkipWithError("file misread");
      sum += info.CreateDate();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * files().size());
}

BENCHMARK(BM_OpenReadHead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PictureInfosMixed)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  const benchsupport::BenchProgram program(argc, argv);
  if (!program.ready()) return 1;
  files() = writeFiles(program.root() + QStringLiteral("/mixed"));

  const benchsupport::BenchTimes times = benchsupport::runBenchmarks(argc, argv);
  const auto real = times.realRatio("BM_PictureInfosMixed/real_time", "BM_OpenReadHead/real_time");
  const auto cpu = times.cpuRatio("BM_PictureInfosMixed/real_time", "BM_OpenReadHead/real_time");
  if (real && cpu) {
    std::printf("PictureInfos on HEIC, DNG, MP4, JPEG / open+read 64 KiB+close: %.2f real time, %.2f CPU time (target at most 2)\n",
                *real, *cpu);
  }
  return 0;
}
