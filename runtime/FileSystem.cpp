#include "runtime/FileSystem.h"

#include "runtime/RuntimeError.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rt {
namespace {

QByteArray native(const QString& path) { return QFile::encodeName(path); }

[[noreturn]] void raiseErrno(int err) { raise(fileErrorFromErrno(err)); }

bool entryExists(const QByteArray& path) {
  struct stat st;
  return ::lstat(path.constData(), &st) == 0;
}

// A rename that failed with ENOENT: the source is missing (53), or the target's folder (76).
[[noreturn]] void raiseMissing(const QByteArray& from) {
  raise(entryExists(from) ? ErrPathNotFound : ErrFileNotFound);
}

// The fallback for file systems that refuse RENAME_NOREPLACE: a new link can never replace an
// entry, so link to the new name, then drop the old one.
bool linkThenUnlink(const QByteArray& from, const QByteArray& to) {
  if (::linkat(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), 0) != 0) {
    const int err = errno;
    if (err == EEXIST) return false;
    if (err == ENOENT) raiseMissing(from);
    raiseErrno(err);
  }
  if (::unlink(from.constData()) != 0) {
    const int err = errno;
    ::unlink(to.constData());  // back to the one name the entry had
    raiseErrno(err);
  }
  return true;
}

bool flagRefused(int err) { return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP; }

}  // namespace

bool LocalFileSystem::exists(const QString& path) const {
  struct stat st;
  const QByteArray name = native(path);
  if (::lstat(name.constData(), &st) == 0) return true;
  const int err = errno;
  if (err == ENOENT || err == ENOTDIR) return false;
  raiseErrno(err);
}

bool LocalFileSystem::renameNoReplace(const QString& from, const QString& to) {
  const QByteArray source = native(from);
  const QByteArray target = native(to);
  if (method_ == Method::Automatic) {
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
      return true;
    const int err = errno;
    if (err == EEXIST) return false;
    if (err == ENOENT) raiseMissing(source);
    if (!flagRefused(err)) raiseErrno(err);
  }
  return linkThenUnlink(source, target);
}

QStringList LocalFileSystem::entryNames(const QString& folder) const {
  const QByteArray name = native(folder.isEmpty() ? QStringLiteral(".") : folder);
  DIR* dir = ::opendir(name.constData());
  if (!dir) {
    const int err = errno;
    raise(err == ENOENT ? ErrPathNotFound : fileErrorFromErrno(err));
  }
  QStringList names;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (!entry) break;
    const QByteArray entryName(entry->d_name);
    if (entryName == "." || entryName == "..") continue;
    names.append(QFile::decodeName(entryName));
  }
  const int err = errno;
  ::closedir(dir);
  if (err != 0) raiseErrno(err);  // a partial listing would hide taken names
  return names;
}

FileSystem& localFileSystem() {
  static LocalFileSystem instance;
  return instance;
}

}  // namespace rt
