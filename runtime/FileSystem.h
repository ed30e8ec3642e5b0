#pragma once
// The file-system seam of the rename operation: the existence test of a name, the listing of
// a folder and a rename that never replaces an existing entry. The rename engine takes the
// interface, so tests can inject failures and a dry run can work on a simulated folder.
// Paths are absolute or relative texts with "/" as separator; names are UTF-8 on disk.

#include <QString>
#include <QStringList>

namespace rt {

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
  // test). Raises the runtime's file error for every other failure (53 when from is missing,
  // 76 when the folder is missing, 70, 75...); the entry then keeps its name.
  virtual bool renameNoReplace(const QString& from, const QString& to) = 0;

  // The names of every entry of a folder ("." and ".." excluded), in no particular order.
  // Raises the runtime's file error when the folder cannot be read (76 when it is missing).
  virtual QStringList entryNames(const QString& folder) const = 0;
};

// The machine's own file system.
class LocalFileSystem : public FileSystem {
 public:
  // How renameNoReplace works: Automatic uses renameat2(RENAME_NOREPLACE) and falls back to
  // link then unlink where the file system refuses the flag; LinkThenUnlink always takes the
  // fallback (for file systems known to refuse the flag, and for tests of the fallback).
  enum class Method { Automatic, LinkThenUnlink };

  explicit LocalFileSystem(Method method = Method::Automatic) : method_(method) {}

  bool exists(const QString& path) const override;
  bool renameNoReplace(const QString& from, const QString& to) override;
  QStringList entryNames(const QString& folder) const override;

 private:
  Method method_;
};

// One shared instance of the machine's file system (automatic method).
FileSystem& localFileSystem();

}  // namespace rt
