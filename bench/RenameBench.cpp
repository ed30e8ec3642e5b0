// Renames 10 000 small EXIF pictures with the rename engine (reading each picture, temporary
// names, final names), and, in the same run, a plain loop that opens each file, reads its
// first 64 KiB, closes it and renames it twice: the floor of any safe two-pass rename. Prints
// the ratio of the two. The engine gives the same names on every run, so each iteration does
// the whole work again.
#include "app/common/ErrorHandling.h"
#include "app/naming/ConfigClass.h"
#include "app/naming/FutureName.h"
#include "app/naming/RenameEngine.h"
#include "app/picture/PictureInfos.h"
#include "runtime/ComServer.h"
#include "tests/support/JpegBuilder.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
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

QByteArray pictureBytes(int i) {
  testsupport::ExifContent c;
  c.bigEndian = i % 2 == 1;
  c.dateTimeOriginal = QStringLiteral("2012:03:%1 10:%2:%3")
                           .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                           .arg(i % 60, 2, 10, QLatin1Char('0'))
                           .arg((i / 60) % 60, 2, 10, QLatin1Char('0'))
                           .toLatin1();
  c.dateTime = c.dateTimeOriginal;
  c.otherEntries = 12;
  const QByteArray exif = testsupport::exifBody(testsupport::exifTiff(c)) + QByteArray(3000, '\x11');
  return testsupport::JpegBuilder()
      .app0Jfif()
      .app1(exif)
      .dqt()
      .frame(0xC0, 8, 480, 640)
      .raw(QByteArray(4000, '\x5A'))
      .scanAndEnd()
      .bytes();
}

void makeFiles(const QString& dir) {
  QDir().mkpath(dir);
  for (int i = 0; i < kFiles; ++i) {
    const QByteArray bytes = pictureBytes(i);
    const QString path = dir + QStringLiteral("/IMG_%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      std::exit(1);
    }
  }
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
  std::vector<char> buffer(64 * 1024);
  bool forward = true;
  for (auto _ : state) {
    int64_t total = 0;
    for (const QString& name : names) {
      const QString path = plainDir() + QLatin1Char('/') + name;
      QFile f(path);
      if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) state.SkipWithError("open failed");
      total += f.read(buffer.data(), static_cast<qint64>(buffer.size()));
      f.close();
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

// Keeps the real time per iteration of each benchmark for the ratio.
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
  QDir(root.path()).mkpath(QStringLiteral("config"));
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
  engineDir() = root.path() + QStringLiteral("/engine");
  plainDir() = root.path() + QStringLiteral("/plain");
  makeFiles(engineDir());
  makeFiles(plainDir());

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto floor = reporter.times.find("BM_PlainReadAndRenameTwice/real_time");
  const auto engine = reporter.times.find("BM_RenameEngine/real_time");
  if (floor != reporter.times.end() && engine != reporter.times.end() && floor->second > 0) {
    std::printf("rename engine / open+read 64 KiB+close+2 renames: %.2f (target at most 2)\n",
                engine->second / floor->second);
  }
  return 0;
}
