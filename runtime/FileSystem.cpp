#include "runtime/FileSystem.h"

#include "runtime/PathCodec.h"
#include "runtime/RuntimeError.h"
#include "runtime/SystemError.h"

#include <cerrno>
#include <climits>
#include <limits>
#include <optional>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rt {
namespace {

QByteArray native(const QString& path) { return encodePath(path); }

// A folder path; "" is the working folder.
QByteArray nativeFolder(const QString& folder) { return encodePath(folder.isEmpty() ? QStringLiteral(".") : folder); }

bool entryExists(const QByteArray& path) {
  struct stat st;
  return ::lstat(path.constData(), &st) == 0;
}

// A rename that failed with ENOENT: the source is missing (53), or the target's folder (76).
[[noreturn]] void raiseMissing(const QByteArray& from) {
  raise(entryExists(from) ? ErrPathNotFound : ErrFileNotFound);
}

[[noreturn]] void raiseRenameError(int err, const QByteArray& from) {
  if (err == ENOENT) raiseMissing(from);
  raiseFileError(err);
}

// The device of the source of a rename, which must exist.
dev_t deviceOf(const QByteArray& from) {
  struct stat st;
  if (::lstat(from.constData(), &st) != 0) raiseRenameError(errno, from);
  return st.st_dev;
}

bool flagRefused(int err) { return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP; }
bool linkRefused(int err) { return err == EPERM || err == EOPNOTSUPP || err == ENOSYS; }

bool samePlaceholder(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && S_ISREG(b.st_mode) && b.st_size == 0;
}

// Whether the entry named path is still the empty file claimed (claimed: its status when made).
bool stillPlaceholder(const QByteArray& path, const struct stat& claimed) {
  struct stat now;
  return ::lstat(path.constData(), &now) == 0 && samePlaceholder(claimed, now);
}

// The way for file systems that refuse both the flag and hard links: claim the target with an
// exclusive create, which no file system grants over an existing name, and rename onto that
// claim only while it is still our own empty file. A failure removes the claim.
bool placeholderRename(const QByteArray& from, const QByteArray& to) {
  const int fd = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    const int err = errno;
    if (err == EEXIST) return false;
    raiseRenameError(err, from);
  }
  struct stat claimed;
  const bool known = ::fstat(fd, &claimed) == 0;
  const int fstatErr = errno;
  ::close(fd);
  if (!known) {
    ::unlink(to.constData());  // just made and never shown to anyone as a picture
    raiseFileError(fstatErr);
  }
  if (!stillPlaceholder(to, claimed)) return false;  // another program put something there
  if (::rename(from.constData(), to.constData()) != 0) {
    const int err = errno;
    if (stillPlaceholder(to, claimed)) ::unlink(to.constData());
    raiseRenameError(err, from);
  }
  return true;
}

}  // namespace

qsizetype FileSystem::maxNameLength(const QString&) const { return 255; }

bool FileSystem::renameInFolder(const QString& folder, QStringView from, QStringView to) {
  return renameNoReplace(joinPath(folder, from), joinPath(folder, to));
}

std::optional<FolderStamp> FileSystem::folderStamp(const QString&) const { return std::nullopt; }

bool LocalFileSystem::exists(const QString& path) const {
  struct stat st;
  const QByteArray name = native(path);
  if (::lstat(name.constData(), &st) == 0) return true;
  const int err = errno;
  if (err == ENOENT || err == ENOTDIR) return false;
  raiseFileError(err);
}

int LocalFileSystem::renameWithoutReplacing(const char* from, const char* to) {
  return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0 ? 0 : errno;
}

int LocalFileSystem::hardLink(const char* from, const char* to) {
  return ::linkat(AT_FDCWD, from, AT_FDCWD, to, 0) == 0 ? 0 : errno;
}

std::optional<LocalFileSystem::Way> LocalFileSystem::fixedWay() const {
  switch (method_) {
    case Method::LinkThenUnlink: return Way::Link;
    case Method::Placeholder: return Way::Placeholder;
    case Method::Automatic: break;
  }
  const std::lock_guard lock(mutex_);
  if (ways_.isEmpty()) return Way::Flag;  // no file system refused the flag: no need to ask which one this is
  return std::nullopt;
}

LocalFileSystem::Way LocalFileSystem::wayFor(dev_t device) const {
  const std::lock_guard lock(mutex_);
  return ways_.value(device, Way::Flag);
}

void LocalFileSystem::refused(dev_t device, Way next) {
  const std::lock_guard lock(mutex_);
  ways_.insert(device, next);
}

bool LocalFileSystem::renameNoReplace(const QString& from, const QString& to) {
  const QByteArray source = native(from);
  const QByteArray target = native(to);
  const std::optional<Way> fixed = fixedWay();
  switch (fixed ? *fixed : wayFor(deviceOf(source))) {
    case Way::Flag: {
      const int err = renameWithoutReplacing(source.constData(), target.constData());
      if (err == 0) return true;
      if (err == EEXIST) return false;
      if (!flagRefused(err)) raiseRenameError(err, source);
      const dev_t device = deviceOf(source);
      refused(device, Way::Link);
      return linkThenUnlink(source, target, device);
    }
    case Way::Link: return linkThenUnlink(source, target, method_ == Method::Automatic ? deviceOf(source) : 0);
    case Way::Placeholder: return placeholderRename(source, target);
  }
  return false;
}

// A new link can never replace an entry: link to the new name, then drop the old one.
bool LocalFileSystem::linkThenUnlink(const QByteArray& from, const QByteArray& to, dev_t device) {
  const int err = hardLink(from.constData(), to.constData());
  if (err == EEXIST) return false;
  if (err != 0 && linkRefused(err) && method_ == Method::Automatic) {
    refused(device, Way::Placeholder);
    return placeholderRename(from, to);
  }
  if (err != 0) raiseRenameError(err, from);
  if (::unlink(from.constData()) != 0) {
    const int unlinkErr = errno;
    ::unlink(to.constData());  // back to the one name the entry had
    raiseFileError(unlinkErr);
  }
  return true;
}

QStringList LocalFileSystem::entryNames(const QString& folder) const {
  const QByteArray name = nativeFolder(folder);
  DIR* dir = ::opendir(name.constData());
  if (!dir) {
    const int err = errno;
    if (err == ENOENT) raise(ErrPathNotFound);
    raiseFileError(err);
  }
  QStringList names;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (!entry) break;
    const QByteArray entryName(entry->d_name);
    if (entryName == "." || entryName == "..") continue;
    names.append(decodePath(entryName));
  }
  const int err = errno;
  ::closedir(dir);
  if (err != 0) raiseFileError(err);  // a partial listing would hide taken names
  return names;
}

qsizetype LocalFileSystem::maxNameLength(const QString& folder) const {
  errno = 0;
  const long limit = ::pathconf(nativeFolder(folder).constData(), _PC_NAME_MAX);
  if (limit > 0) return limit;
  return errno == 0 ? std::numeric_limits<qsizetype>::max() : NAME_MAX;  // no limit / unknown
}

std::optional<FolderStamp> LocalFileSystem::folderStamp(const QString& folder) const {
  struct stat st;
  if (::stat(nativeFolder(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
  const auto nanoseconds = [](const timespec& t) { return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec; };
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  // Two seconds: the coarsest step file systems stamp times with (FAT), far above a clock tick.
  const int64_t settledBefore = nanoseconds(now) - int64_t(2) * 1000000000;
  FolderStamp stamp;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.changedNs = nanoseconds(st.st_ctim);
  stamp.modifiedNs = nanoseconds(st.st_mtim);
  stamp.settled = stamp.changedNs <= settledBefore && stamp.modifiedNs <= settledBefore;
  return stamp;
}

FileSystem& localFileSystem() {
  static LocalFileSystem instance;
  return instance;
}

EntryKind entryKind(const QString& path) {
  struct stat st;
  if (::stat(native(path).constData(), &st) != 0) return EntryKind::Missing;
  if (S_ISREG(st.st_mode)) return EntryKind::File;
  if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
  return EntryKind::Other;
}

int openForReading(const QString& path) { return openFileForReading(path).fd; }

OpenFile openFileForReading(const QString& path, bool refuseLink) {
  // Without O_NONBLOCK, opening a named pipe would wait for a writer for ever. The flag stays:
  // it changes nothing for a regular file, the only kind kept.
  const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (refuseLink ? O_NOFOLLOW : 0);
  const int fd = ::open(native(path).constData(), flags);
  if (fd < 0) raiseFileError(errno);
  // Only a regular file holds a picture's bytes: a folder opens but holds none, and reading a
  // pipe or a device could wait, or never end.
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    raise(ErrPathFileAccess);
  }
  return OpenFile{fd, static_cast<int64_t>(st.st_size), static_cast<int64_t>(st.st_mtim.tv_sec),
                  static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

}  // namespace rt
