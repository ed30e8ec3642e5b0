#pragma once
// Files that must survive a crash, and what identifies a file whatever its name: the journal of
// the rename runs writes its plan and its outcome through these, and finds files by identity.
// Errors are raised as the runtime's file errors.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace rt::durable {

// What stays the same when a file is renamed in its folder: device and inode, and (as long as
// nobody writes to it) its size and modification time.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = 0;
  int64_t modifiedNs = 0;  // modification time, nanoseconds since 1970

  bool sameFile(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
  bool operator==(const FileIdentity&) const = default;
};

// The identity of the entry at path (a link is not followed); nullopt when there is none (or a
// folder on the way is missing). Raises for every other failure.
std::optional<FileIdentity> identityOf(const QString& path);

// The identities of the named entries of one folder, in the order given (nullopt for a name
// that is not there). Cheaper than identityOf for many names: the folder is looked up once.
std::vector<std::optional<FileIdentity>> identitiesOf(const QString& folder, const QStringList& names);

// Every entry of a folder with its identity ("." and ".." excluded; entries that vanish while
// the folder is read are left out). Raises when the folder cannot be read (76 when missing).
std::vector<std::pair<QString, FileIdentity>> identitiesIn(const QString& folder);

// Creates the file at path holding bytes, durably: written to "<path>.part", synced, renamed to
// path without replacing anything, and the folder synced. Raises 58 when path exists; on any
// failure nothing is left at path.
void createFile(const QString& path, const QByteArray& bytes);

// Appends bytes to the existing file at path in one write, then syncs it.
void append(const QString& path, const QByteArray& bytes);

// Creates the folder and its missing parents.
void makeFolders(const QString& path);

// Reads the last at most maxBytes bytes of a file (all of it when smaller).
QByteArray readTail(const QString& path, int64_t maxBytes);

// Removes a file; a missing one is not an error.
void removeFile(const QString& path);

// Test seam: while set, every createFile and append raises this file error without writing.
void setWriteFaultForTesting(int32_t number);

}  // namespace rt::durable
