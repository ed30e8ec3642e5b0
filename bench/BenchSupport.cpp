#include "bench/BenchSupport.h"

#include "app/common/ErrorHandling.h"
#include "runtime/ComServer.h"
#include "app/naming/FutureName.h"
#include "app/picture/PictureInfos.h"

#include <QDir>

#include <algorithm>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace benchsupport {

namespace {

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

BenchProgram::BenchProgram(int& argc, char** argv) {
  if (!root_.isValid()) {
    std::fprintf(stderr, "cannot make a temporary folder\n");
    return;
  }
  usePrivateConfig(root_.path());
  app_ = std::make_unique<QCoreApplication>(argc, argv);
  if (!registerLibrary()) return;
  printErrorsToStderr();
  ready_ = true;
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

void OpenReadHeadLoop(benchmark::State& state, const QStringList& paths) {
  HeadReader reader;
  for (auto _ : state) {
    int64_t total = 0;
    for (const QString& path : paths) total += reader.read(path, state);
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * paths.size());
}

}  // namespace benchsupport
