#pragma once
// A named pipe for tests of code that must never wait on one. Should the code under test
// block on it (opening or reading it), the guard opens and closes its writing end after the
// patience runs out: the reader sees an empty pipe and goes on, so the test fails on its
// expectations instead of hanging.

#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

namespace testsupport {

class GuardedFifo {
 public:
  explicit GuardedFifo(const QString& path, std::chrono::milliseconds patience = std::chrono::seconds(5));
  ~GuardedFifo();
  GuardedFifo(const GuardedFifo&) = delete;
  GuardedFifo& operator=(const GuardedFifo&) = delete;

  const QString& path() const { return path_; }
  // False when the pipe could not be made.
  bool made() const { return made_; }
  // True once the guard had to release a reader that waited on the pipe.
  bool releasedAReader() const { return released_; }

 private:
  QString path_;
  bool made_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<bool> released_{false};
  std::thread guard_;
};

}  // namespace testsupport
