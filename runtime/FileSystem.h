#pragma once
// The file-system seam of the rename operation: the existence test of a name, the listing of
// a folder, the longest name a folder takes and a rename that never replaces an existing
// entry. The rename engine takes the interface, so tests can inject failures and a dry run can
// work on a simulated folder. Paths are absolute or relative texts with "/" as separator; they
// turn into the bytes of Linux names through rt::encodePath/decodePath (runtime/PathCodec.h),
// so a name that is not UTF-8 is read and renamed like any other.

#include <QHash>
#include <QString>
#include <QStringView>
#include <QStringList>

#include <cstdint>
#include <mutex>
#include <optional>
#include <sys/types.h>

namespace rt {

// What a folder's status tells of its entries, for a cache of its listing: a folder whose
// stamp is the same as when it was listed holds the same entries, provided its last change
// was already settled then (older than the coarsest clock a file system stamps changes with:
// a change within the same tick would leave the times as they were).
struct FolderStamp {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t changedNs = 0;   // status change, nanoseconds since 1970-01-01 UTC
  int64_t modifiedNs = 0;  // last modification of its entries
  bool settled = false;    // both times at least two seconds before the stamp was taken
  bool sameEntries(const FolderStamp& o) const {
    return device == o.device && inode == o.inode && changedNs == o.changedNs && modifiedNs == o.modifiedNs;
  }
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when an entry of that name exists: a file, a folder, a link (even a dangling one),
  // anything else a folder may hold. False when there is none, or when a folder on the way
  // is missing or is not a folder. Raises the runtime's file error when the question cannot
  // be answered (permission on a folder on the way, a name that is too long...).
  virtual bool exists(const QString& path) const = 0;

  // Renames from to to without ever replacing anything. Returns false, changing nothing,
  // when an entry named to already exists (including one that appeared after an existence
  // test, and one whose name differs only in letter case on a file system that ignores case).
  // Raises the runtime's file error for every other failure (53 when from is missing, 76 when
  // the folder is missing, 70, 75...); the entry then keeps its name.
  virtual bool renameNoReplace(const QString& from, const QString& to) = 0;

  // The same rename within one folder ("" for the root), from the name from to the name to:
  // renameNoReplace(folder + "/" + from, folder + "/" + to) unless a file system does better.
  virtual bool renameInFolder(const QString& folder, QStringView from, QStringView to);

  // The names of every entry of a folder ("." and ".." excluded), in no particular order.
  // Raises the runtime's file error when the folder cannot be read (76 when it is missing).
  virtual QStringList entryNames(const QString& folder) const = 0;

  // The longest name, in bytes, the folder takes; 255 (the limit of most file systems) unless
  // the file system says otherwise.
  virtual qsizetype maxNameLength(const QString& folder) const;

  // The folder's stamp, taken before listing it; nullopt when this file system cannot tell
  // (then every listing is read anew) or the folder cannot be examined.
  virtual std::optional<FolderStamp> folderStamp(const QString& folder) const;
};

// The machine's own file system.
class LocalFileSystem : public FileSystem {
 public:
  // How renameNoReplace works. Automatic uses renameat2(RENAME_NOREPLACE); where the file
  // system refuses that flag (NFS, FUSE, SMB), a new hard link then the removal of the old
  // name; where it refuses hard links too (FAT, exFAT, SMB), an exclusive placeholder: the
  // target is created with O_CREAT | O_EXCL (refused when the name is taken, ignoring case
  // where the file system does), checked to be still the empty file just made, then renamed
  // onto. A way a file system refused is remembered for that file system (by device) and not
  // tried again. LinkThenUnlink and Placeholder always take that way (tests, known systems).
  enum class Method { Automatic, LinkThenUnlink, Placeholder };

  explicit LocalFileSystem(Method method = Method::Automatic) : method_(method) {}

  bool exists(const QString& path) const override;
  bool renameNoReplace(const QString& from, const QString& to) override;
  QStringList entryNames(const QString& folder) const override;
  qsizetype maxNameLength(const QString& folder) const override;
  std::optional<FolderStamp> folderStamp(const QString& folder) const override;

 protected:
  // The two calls a file system may refuse, 0 or the errno value; tests override them to
  // behave as a memory card does.
  virtual int renameWithoutReplacing(const char* from, const char* to);
  virtual int hardLink(const char* from, const char* to);

 private:
  enum class Way { Flag, Link, Placeholder };
  // The way every file system takes, when no file system has to be told apart (a fixed
  // method, or no refusal met yet: the source's device need not be asked for).
  std::optional<Way> fixedWay() const;
  Way wayFor(dev_t device) const;
  void refused(dev_t device, Way next);
  bool linkThenUnlink(const QByteArray& from, const QByteArray& to, dev_t device);

  Method method_;
  mutable std::mutex mutex_;
  QHash<dev_t, Way> ways_;  // the first way each file system accepts, once known
};

// One shared instance of the machine's file system (automatic method).
FileSystem& localFileSystem();

// What a path reaches, following links: nothing (or a folder on the way is missing), a
// regular file, a folder, or anything else (device, pipe, socket).
enum class EntryKind { Missing, File, Folder, Other };
EntryKind entryKind(const QString& path);

// Opens a regular file for reading and returns its descriptor (closed on exec; the open itself
// never waits, even on a named pipe); raises the runtime's file error when it cannot (53 when
// it is missing, 75 for a folder, a pipe, a device or anything else that is not a regular
// file).
int openForReading(const QString& path);

// A regular file open for reading and what its descriptor told of it, from the one status
// call the open makes anyway. The descriptor is the caller's to close.
struct OpenFile {
  int fd = -1;
  int64_t size = 0;
  int64_t modified = 0;  // last modification, in seconds since 1970-01-01 UTC
  uint64_t device = 0;
  uint64_t inode = 0;
};

// As openForReading, with the file's status. With refuseLink, a path whose last name is a
// symbolic link is refused too (the runtime's file error for ELOOP) instead of followed.
OpenFile openFileForReading(const QString& path, bool refuseLink = false);

}  // namespace rt
