// What the benchmarks share: camera-like test pictures, a private registry with this build's
// library, the plain open-and-read floor, and the ratio of two benchmarks' times.
#pragma once

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace benchsupport {

// "2012:03:dd 10:mm:ss", a different date for each i below 28 * 60 * 60: pictures taken in
// shooting order.
QByteArray dateInOrder(int i);

// A date for picture i of count (count at least 1), the pictures taken in a shuffled order over
// the months of 2012.
QByteArray dateShuffled(int i, int count);

// A small JPEG as cameras write it: JFIF and EXIF heads (both dates set to dateTaken, a dozen
// other entries, about 3 KB of maker data), a 640 x 480 frame and about 4 KB of scan data.
QByteArray cameraPicture(const QByteArray& dateTaken, bool bigEndian);

// Creates dir if needed and writes count pictures IMG_00000.jpg... into it, picture i taken at
// dateOf(i), odd ones big-endian. Returns their paths in that order; exits the process with a
// message when a file cannot be written.
QStringList writePictures(const QString& dir, int count, const std::function<QByteArray(int)>& dateOf);

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
