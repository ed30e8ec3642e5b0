#include "tests/support/GuardedFifo.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

GuardedFifo::GuardedFifo(const QString& path, std::chrono::milliseconds patience) : path_(path) {
  const QByteArray native = QFile::encodeName(path);
  made_ = ::mkfifo(native.constData(), 0644) == 0;
  if (!made_) return;
  guard_ = std::thread([this, native, patience] {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!stop_) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      if (std::chrono::steady_clock::now() < deadline) continue;
      // Opening the writing end without waiting succeeds only while a reader holds the pipe.
      const int fd = ::open(native.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (fd >= 0) {
        released_ = true;
        ::close(fd);
      }
    }
  });
}

GuardedFifo::~GuardedFifo() {
  stop_ = true;
  if (guard_.joinable()) guard_.join();
}

}  // namespace testsupport
