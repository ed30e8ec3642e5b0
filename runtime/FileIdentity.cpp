#include "runtime/FileIdentity.h"

#include "runtime/RuntimeError.h"

#include <QFile>
#include <QHashFunctions>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rt::files {

size_t qHash(const FileIdentity& identity, size_t seed) {
  return qHashMulti(seed, identity.device, identity.inode);
}

EntryStatus examineEntry(const QString& path) {
  EntryStatus status;
  const QByteArray native = QFile::encodeName(path);
  struct stat st {};
  if (native.isEmpty() || ::lstat(native.constData(), &st) != 0) {
    const int err = native.isEmpty() ? ENOENT : errno;
    if (err != ENOENT && err != ENOTDIR) status.error = fileErrorFromErrno(err);
    return status;
  }
  status.identity = FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  if (S_ISREG(st.st_mode))
    status.kind = EntryKind::RegularFile;
  else if (S_ISDIR(st.st_mode))
    status.kind = EntryKind::Folder;
  else if (S_ISLNK(st.st_mode))
    status.kind = EntryKind::SymbolicLink;
  else
    status.kind = EntryKind::Other;
  return status;
}

int openRegularFileForReading(const QString& path, int32_t* error) {
  const QByteArray native = QFile::encodeName(path);
  // O_NONBLOCK: opening a named pipe waits for a writer otherwise; regular files ignore it.
  const int fd = native.isEmpty() ? -1 : ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int err = native.isEmpty() ? ENOENT : errno;
    *error = err == ENOENT || err == ENOTDIR ? ErrFileNotFound : ErrPathFileAccess;
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    *error = ErrPathFileAccess;
    return -1;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  *error = 0;
  return fd;
}

void closeDescriptor(int fd) {
  if (fd >= 0) ::close(fd);
}

}  // namespace rt::files
