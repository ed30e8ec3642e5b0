#include "runtime/FileLock.h"

#include "runtime/RuntimeError.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace rt::files {

FileLock::FileLock(const QString& path, Kind kind) {
  const QByteArray native = QFile::encodeName(path);
  const int flags = kind == Kind::Folder ? (O_RDONLY | O_DIRECTORY | O_CLOEXEC) : (O_RDWR | O_CREAT | O_CLOEXEC);
  const int fd = native.isEmpty() ? -1 : ::open(native.constData(), flags, 0666);
  if (fd < 0) {
    const int err = native.isEmpty() ? ENOENT : errno;
    // A missing folder (or the lock file's missing folder) is a path error.
    error_ = (err == ENOENT || err == ENOTDIR) ? ErrPathNotFound : fileErrorFromErrno(err);
    return;
  }
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    error_ = fileErrorFromErrno(errno);
    ::close(fd);
    return;
  }
  fd_ = fd;
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the last descriptor releases the lock
}

}  // namespace rt::files
