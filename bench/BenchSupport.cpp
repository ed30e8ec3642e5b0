#include "bench/BenchSupport.h"

#include "app/common/ErrorHandling.h"
#include "runtime/ComServer.h"
#include "tests/support/JpegBuilder.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace benchsupport {

namespace {

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

// Keeps the times per iteration of each benchmark that ran without error.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        times.record(run.benchmark_name(), {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()});
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  BenchTimes times;
};

}  // namespace

QByteArray dateInOrder(int i) {
  return QStringLiteral("2012:03:%1 10:%2:%3")
      .arg(twoDigits(1 + i % 28), twoDigits(i % 60), twoDigits((i / 60) % 60))
      .toLatin1();
}

QByteArray dateShuffled(int i, int count) {
  const int n = (i * 7919) % count;
  return QStringLiteral("2012:%1:%2 %3:%4:%5")
      .arg(twoDigits(1 + n / 1000), twoDigits(1 + (n / 40) % 25), twoDigits(n % 24), twoDigits(n % 60),
           twoDigits((n / 7) % 60))
      .toLatin1();
}

QByteArray cameraPicture(const QByteArray& dateTaken, bool bigEndian) {
  testsupport::ExifContent c;
  c.bigEndian = bigEndian;
  c.dateTimeOriginal = dateTaken;
  c.dateTime = dateTaken;
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

QStringList writePictures(const QString& dir, int count, const std::function<QByteArray(int)>& dateOf) {
  QDir().mkpath(dir);
  QStringList paths;
  for (int i = 0; i < count; ++i) {
    const QByteArray bytes = cameraPicture(dateOf(i), i % 2 == 1);
    const QString path = dir + QStringLiteral("/IMG_%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      std::exit(1);
    }
    paths.append(path);
  }
  return paths;
}

void usePrivateConfig(const QString& root) {
  QDir(root).mkpath(QStringLiteral("config"));
  setenv("XDG_CONFIG_HOME", QFile::encodeName(root + QStringLiteral("/config")).constData(), 1);
}

bool registerLibrary() {
  QString detail;
  if (rt::com::registerServer(QStringLiteral(TINDRA_LIBRARY_PATH), false, &detail) !=
      rt::com::RegistrationResult::Done) {
    std::fprintf(stderr, "cannot register the library: %s\n", qPrintable(detail));
    return false;
  }
  return true;
}

void printErrorsToStderr() {
  ErrorHandling::SetPresenter([](const QString&, const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
  });
}

HeadReader::HeadReader() : buffer_(64 * 1024) {}

qint64 HeadReader::read(const QString& path, benchmark::State& state) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) state.SkipWithError("open failed");
  const qint64 count = f.read(buffer_.data(), static_cast<qint64>(buffer_.size()));
  f.close();
  return count;
}

void BenchTimes::record(const std::string& name, Times times) { times_[name] = times; }

std::optional<double> BenchTimes::realRatio(const std::string& numerator, const std::string& denominator) const {
  const auto top = times_.find(numerator);
  const auto bottom = times_.find(denominator);
  if (top == times_.end() || bottom == times_.end() || bottom->second.real <= 0) return std::nullopt;
  return top->second.real / bottom->second.real;
}

std::optional<double> BenchTimes::cpuRatio(const std::string& numerator, const std::string& denominator) const {
  const auto top = times_.find(numerator);
  const auto bottom = times_.find(denominator);
  if (top == times_.end() || bottom == times_.end() || bottom->second.cpu <= 0) return std::nullopt;
  return top->second.cpu / bottom->second.cpu;
}

BenchTimes runBenchmarks(int& argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter.times;
}

}  // namespace benchsupport
