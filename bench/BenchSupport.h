// What the benchmarks share: camera-like test pictures (bench/BenchPictures.h), the list's rows,
// a private registry with this build's library, the plain open-and-read floor, and the ratio of
// two benchmarks' times.
#pragma once

#include "app/naming/RenameQuestions.h"
#include "app/naming/RenameRow.h"
#include "bench/BenchPictures.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QCoreApplication>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace benchsupport {

// The file list's rows for every picture of dir, in list order (shooting order).
std::vector<RenameRow> listRows(const QString& dir);

// What a benchmark program starts with: a private temporary folder made the configuration
// folder, the application object, this build's library registered there and the program's
// error messages on stderr.
class BenchProgram {
 public:
  BenchProgram(int& argc, char** argv);
  // False, with a message on stderr, when the folder cannot be made or the library registered.
  bool ready() const { return ready_; }
  QString root() const { return root_.path(); }

 private:
  QTemporaryDir root_;
  std::unique_ptr<QCoreApplication> app_;
  bool ready_ = false;
};

// Creates root/config and makes it the configuration folder, so that the registry the
// benchmark uses is its own. Call before the application object exists.
void usePrivateConfig(const QString& root);

// Registers this build's library in that registry. Returns false, with a message on stderr,
// when it cannot.
bool registerLibrary();

// Sends the program's error messages to stderr instead of message boxes.
void printErrorsToStderr();

// Opens a file, reads its first 64 KiB and closes it: the floor that any reader of these
// files pays.
class HeadReader {
 public:
  HeadReader();
  // Returns the bytes read (-1 when the file cannot be read); marks the benchmark as failed
  // when the file cannot be opened.
  qint64 read(const QString& path, benchmark::State& state);

 private:
  std::vector<char> buffer_;
};

// The floor of reading pictures: open, read the head and close every file of paths, once
// per iteration.
void OpenReadHeadLoop(benchmark::State& state, const QStringList& paths);

// The real and CPU time per iteration of each benchmark that ran without error, keyed by
// benchmark name ("BM_Name/real_time").
class BenchTimes {
 public:
  struct Times {
    double real = 0;
    double cpu = 0;
  };
  void record(const std::string& name, Times times);
  // numerator / denominator, or nothing when either is missing or the denominator is zero.
  std::optional<double> realRatio(const std::string& numerator, const std::string& denominator) const;
  std::optional<double> cpuRatio(const std::string& numerator, const std::string& denominator) const;

 private:
  std::map<std::string, Times> times_;
};

// Runs the benchmarks the command line selects, reporting on the console, and returns their
// times.
BenchTimes runBenchmarks(int& argc, char** argv);

}  // namespace benchsupport
