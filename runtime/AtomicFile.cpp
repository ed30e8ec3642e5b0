#include "runtime/AtomicFile.h"

#include "runtime/RuntimeError.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rt::files {
namespace {

std::atomic<int> g_writeFault{0};
std::atomic<bool> g_flush{true};
std::atomic<unsigned> g_tempCounter{0};

// The file a write must replace: the target of a symbolic link, else the path itself.
QString replacementTarget(const QString& path) {
  const QFileInfo info(path);
  if (!info.isSymLink()) return path;
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

void closeKeepingErrno(int fd) {
  const int saved = errno;
  ::close(fd);
  errno = saved;
}

bool writeAll(int fd, const QByteArray& bytes) {
  const char* data = bytes.constData();
  qint64 left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    left -= n;
  }
  return true;
}

// Creates a new, exclusive temporary file beside target. Returns its descriptor or -1 (errno).
int createTempBeside(const QString& target, QByteArray& tempName) {
  const QFileInfo info(target);
  const QString base = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".tmp-") +
                       QString::number(::getpid()) + QLatin1Char('-');
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempName = QFile::encodeName(base + QString::number(g_tempCounter.fetch_add(1)));
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

int32_t errorOfTempCreation(int err) {
  // The temporary file goes into the target's folder: "no such file" means no such folder.
  return err == ENOENT ? ErrPathNotFound : fileErrorFromErrno(err);
}

}  // namespace

namespace {

FileStamp stampOf(const struct stat& st) {
  return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), static_cast<int64_t>(st.st_size),
          static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec,
          static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

}  // namespace

std::optional<FileStamp> fileStamp(const QString& path) {
  struct stat st {};
  const QByteArray native = QFile::encodeName(path);
  if (native.isEmpty() || ::stat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return stampOf(st);
}

ReadResult readWholeFile(const QString& path, qint64 maxSize) {
  ReadResult result;
  const QByteArray native = QFile::encodeName(path);
  if (native.isEmpty()) return result;
  // O_NONBLOCK: a named pipe at the path is refused below instead of waited on.
  const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return result;
    result.exists = true;
    result.error = fileErrorFromErrno(errno);
    return result;
  }
  result.exists = true;
  struct stat st {};
  // Anything but a regular file is refused (a named pipe is never waited on, see the open), and
  // a file known to be over the cap without reading it; the count below catches one that grows
  // meanwhile or does not tell its size.
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxSize) {
    result.error = ErrPathFileAccess;
    ::close(fd);
    return result;
  }
  result.stamp = stampOf(st);
  QByteArray bytes;
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result.error = fileErrorFromErrno(errno);
      break;
    }
    if (n == 0) break;
    if (bytes.size() + n > maxSize) {
      result.error = ErrPathFileAccess;
      break;
    }
    bytes.append(chunk, n);
  }
  ::close(fd);
  if (result.error == 0) result.bytes = std::move(bytes);
  return result;
}

QString oversizeText(const QString& path, qint64 maxSize) {
  struct stat st {};
  const QByteArray native = QFile::encodeName(path);
  if (native.isEmpty() || ::stat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= maxSize) {
    return QString();
  }
  return QStringLiteral("Le fichier « %1 » dépasse la taille maximale de %2 Mo : il n'est ni lu ni modifié.")
      .arg(path)
      .arg(maxSize / (1024 * 1024));
}

int32_t writeFileAtomically(const QString& path, const QByteArray& bytes) {
  if (path.isEmpty()) return ErrPathFileAccess;
  const QString target = replacementTarget(path);
  const QByteArray nativeTarget = QFile::encodeName(target);

  struct stat existing {};
  const bool exists = ::stat(nativeTarget.constData(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) return ErrPathFileAccess;

  QByteArray tempName;
  const int fd = createTempBeside(target, tempName);
  if (fd < 0) return errorOfTempCreation(errno);

  bool ok = true;
  if (exists) {
    // Keep the replaced file's access rights; the owner only matters (and only works) as root.
    ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
    if (ok && ::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
      // Only root may give a file away; for anyone else the new file simply stays theirs.
    }
  }
  ok = ok && writeAll(fd, bytes) && (!g_flush.load() || ::fsync(fd) == 0);
  if (ok && ::close(fd) != 0) {
    ok = false;
  } else if (!ok) {
    closeKeepingErrno(fd);
  }
  if (ok && g_writeFault.load() != 0) {
    errno = g_writeFault.load();
    ok = false;
  }
  if (ok && ::rename(tempName.constData(), nativeTarget.constData()) != 0) ok = false;
  if (!ok) {
    const int err = errno;
    ::unlink(tempName.constData());
    return fileErrorFromErrno(err);
  }
  return 0;
}

void setFlushToDisk(bool flush) { g_flush.store(flush); }

void setWriteFaultForTesting(int err) { g_writeFault.store(err); }

}  // namespace rt::files
