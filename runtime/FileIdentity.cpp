#include "runtime/FileIdentity.h"

#include "runtime/PathCodec.h"
#include "runtime/RuntimeError.h"

#include <QHashFunctions>

#include <cerrno>
#include <sys/stat.h>

namespace rt::files {

size_t qHash(const FileIdentity& identity, size_t seed) {
  return qHashMulti(seed, identity.device, identity.inode);
}

EntryStatus examineEntry(const QString& path) {
  EntryStatus status;
  const QByteArray native = encodePath(path);
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

}  // namespace rt::files
