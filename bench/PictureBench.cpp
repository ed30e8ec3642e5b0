// Reads 10 000 small EXIF pictures with PictureInfos, and, in the same run, opens each file,
// reads its first 64 KiB and closes it: the floor that any reader of these files pays. Prints
// the ratio of the two.
#include "app/common/ErrorHandling.h"
#include "app/picture/PictureInfos.h"
#include "runtime/ComServer.h"
#include "tests/support/JpegBuilder.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kFiles = 10000;

QStringList& files() {
  static QStringList list;
  return list;
}

// Pictures as cameras write them, half of each byte order, each with a few KB of maker data
// and scan data.
void makeFiles(const QString& dir) {
  for (int i = 0; i < kFiles; ++i) {
    testsupport::ExifContent c;
    c.bigEndian = i % 2 == 1;
    c.dateTime = QStringLiteral("2012:03:%1 10:%2:%3").arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                     .arg(i % 60, 2, 10, QLatin1Char('0')).arg((i / 60) % 60, 2, 10, QLatin1Char('0')).toLatin1();
    c.dateTimeOriginal = c.dateTime;
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

void BM_OpenReadHead(benchmark::State& state) {
  std::vector<char> buffer(64 * 1024);
  for (auto _ : state) {
    int64_t total = 0;
    for (const QString& path : files()) {
      QFile f(path);
      if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) state.SkipWithError("open failed");
      total += f.read(buffer.data(), static_cast<qint64>(buffer.size()));
      f.close();
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * files().size());
}

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

// Keeps the real time per iteration of each benchmark for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        times[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, std::pair<double, double>> times;  // real, CPU
};

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir root;
  if (!root.isValid()) return 1;
  QDir(root.path()).mkpath(QStringLiteral("config"));
  QDir(root.path()).mkpath(QStringLiteral("pictures"));
  setenv("XDG_CONFIG_HOME", QFile::encodeName(root.path() + QStringLiteral("/config")).constData(), 1);
  QCoreApplication app(argc, argv);
  QString detail;
  if (rt::com::registerServer(QStringLiteral(TINDRA_LIBRARY_PATH), false, &detail) !=
      rt::com::RegistrationResult::Done) {
    std::fprintf(stderr, "cannot register the library: %s\n", qPrintable(detail));
    return 1;
  }
  ErrorHandling::SetPresenter([](const QString&, const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
  });
  makeFiles(root.path() + QStringLiteral("/pictures"));

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto floor = reporter.times.find("BM_OpenReadHead/real_time");
  const auto reader = reporter.times.find("BM_PictureInfos/real_time");
  if (floor != reporter.times.end() && reader != reporter.times.end() && floor->second.first > 0 &&
      floor->second.second > 0) {
    std::printf("PictureInfos / open+read 64 KiB+close: %.2f real time, %.2f CPU time (target at most 2)\n",
                reader->second.first / floor->second.first, reader->second.second / floor->second.second);
  }
  return 0;
}
