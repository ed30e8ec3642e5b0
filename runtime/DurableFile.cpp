#include "runtime/DurableFile.h"

#include "runtime/PathCodec.h"
#include "runtime/RuntimeError.h"


#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rt::durable {
namespace {

std::atomic<int32_t> g_fault{0};

// An empty folder is the root: paths are folder + "/" + name.
QByteArray native(const QString& path) { return path.isEmpty() ? QByteArray("/") : encodePath(path); }

[[noreturn]] void raiseErrno(int err) { raise(err == ENOENT ? ErrPathNotFound : fileErrorFromErrno(err)); }

void checkFault() {
  if (const int32_t number = g_fault.load()) raise(number);
}

FileIdentity identityFrom(const struct stat& st) {
  return FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
                      static_cast<int64_t>(st.st_size),
                      static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// Closes fd on every path out.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now; the error close reports (a delayed write failure) is raised.
  void close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) raiseErrno(errno);
  }

 private:
  int fd_;
};

void writeAll(int fd, const QByteArray& bytes) {
  const char* data = bytes.constData();
  size_t left = static_cast<size_t>(bytes.size());
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      raiseErrno(errno);
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
}

void syncFd(int fd) {
  if (::fsync(fd) != 0) raiseErrno(errno);
}

void syncFolderOf(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
  Fd fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0) raiseErrno(errno);
  syncFd(fd.get());
}

}  // namespace

std::optional<FileIdentity> identityOf(const QString& path) {
  struct stat st;
  if (::lstat(native(path).constData(), &st) == 0) return identityFrom(st);
  const int err = errno;
  if (err == ENOENT || err == ENOTDIR) return std::nullopt;
  raiseErrno(err);
}

std::vector<std::optional<FileIdentity>> identitiesOf(const QString& folder, const QStringList& names) {
  Fd dirFd(::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() < 0) raiseErrno(errno);
  std::vector<std::optional<FileIdentity>> identities;
  identities.reserve(static_cast<size_t>(names.size()));
  for (const QString& name : names) {
    struct stat st;
    if (::fstatat(dirFd.get(), native(name).constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
      identities.push_back(identityFrom(st));
    } else if (errno == ENOENT) {
      identities.push_back(std::nullopt);
    } else {
      raiseErrno(errno);
    }
  }
  return identities;
}

std::vector<std::pair<QString, FileIdentity>> identitiesIn(const QString& folder) {
  Fd dirFd(::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() < 0) raiseErrno(errno);
  const int fd = ::dup(dirFd.get());
  DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
  if (!dir) {
    if (fd >= 0) ::close(fd);
    raiseErrno(errno);
  }
  std::vector<std::pair<QString, FileIdentity>> entries;
  int err = 0;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (!entry) {
      err = errno;
      break;
    }
    const QByteArray name(entry->d_name);
    if (name == "." || name == "..") continue;
    struct stat st;
    if (::fstatat(dirFd.get(), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) continue;
      err = errno;
      break;
    }
    entries.emplace_back(decodePath(name), identityFrom(st));
  }
  ::closedir(dir);
  if (err != 0) raiseErrno(err);  // a partial listing would hide files
  return entries;
}

void createFile(const QString& path, const QByteArray& bytes) {
  checkFault();
  const QByteArray target = native(path);
  const QByteArray part = target + ".part";
  {
    Fd fd(::open(part.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.get() < 0) raiseErrno(errno);
    try {
      writeAll(fd.get(), bytes);
      syncFd(fd.get());
      fd.close();
    } catch (...) {
      ::unlink(part.constData());
      throw;
    }
  }
  if (::renameat2(AT_FDCWD, part.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) != 0) {
    const int err = errno;
    ::unlink(part.constData());
    raise(err == EEXIST ? ErrFileExists : fileErrorFromErrno(err));
  }
  syncFolderOf(target);
}

void append(const QString& path, const QByteArray& bytes) {
  checkFault();
  Fd fd(::open(native(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC));
  if (fd.get() < 0) raiseErrno(errno);
  writeAll(fd.get(), bytes);
  syncFd(fd.get());
  fd.close();
}

void makeFolders(const QString& path) {
  const QByteArray full = native(path);
  for (qsizetype i = 1; i <= full.size(); ++i) {
    if (i < full.size() && full[i] != '/') continue;
    const QByteArray part = full.left(i);
    if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST) raiseErrno(errno);
  }
  struct stat st;
  if (::stat(full.constData(), &st) != 0) raiseErrno(errno);
  if (!S_ISDIR(st.st_mode)) raise(ErrPathNotFound);
}

QByteArray readTail(const QString& path, int64_t maxBytes) {
  Fd fd(::open(native(path).constData(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) raiseErrno(errno);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) raiseErrno(errno);
  const int64_t start = st.st_size > maxBytes ? st.st_size - maxBytes : 0;
  QByteArray bytes(static_cast<qsizetype>(st.st_size - start), Qt::Uninitialized);
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::pread(fd.get(), bytes.data() + done, static_cast<size_t>(bytes.size() - done), start + done);
    if (got < 0) {
      if (errno == EINTR) continue;
      raiseErrno(errno);
    }
    if (got == 0) break;
    done += got;
  }
  bytes.truncate(done);
  return bytes;
}

void removeFile(const QString& path) {
  if (::unlink(native(path).constData()) != 0 && errno != ENOENT) raiseErrno(errno);
}

void setWriteFaultForTesting(int32_t number) { g_fault = number; }

}  // namespace rt::durable
