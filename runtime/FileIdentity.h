#pragma once
// What a path names on disk, told without ever waiting on it: the kind of entry (a symbolic
// link is reported as such, not followed; links among the folders on the way are followed)
// and the identity of the file (device and inode), which two paths to one file share. And
// the opening of a regular file for reading, which refuses anything else at once: a named
// pipe or a device opened the ordinary way can block for ever.

#include <QString>

#include <cstdint>

namespace rt::files {

enum class EntryKind { Missing, RegularFile, Folder, SymbolicLink, Other };

struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

size_t qHash(const FileIdentity& identity, size_t seed = 0);

struct EntryStatus {
  EntryKind kind = EntryKind::Missing;
  FileIdentity identity;  // of the entry itself (the link for a symbolic link)
  int32_t error = 0;      // the runtime's file error when the entry could not be examined
};

// The entry at path. Missing when there is none or a folder on the way is missing or is not
// a folder; error != 0 (kind Missing) when the question cannot be answered (a folder on the
// way that cannot be searched, a name too long...).
EntryStatus examineEntry(const QString& path);

// Opens the file at path (following links) read-only, without waiting on a named pipe or a
// device, and returns its descriptor (close-on-exec), or -1 with *error set: 53 when there is
// no such file, 75 when the path is not a regular file or cannot be opened.
int openRegularFileForReading(const QString& path, int32_t* error);

// Closes a descriptor that openRegularFileForReading gave and nothing else took over.
void closeDescriptor(int fd);

}  // namespace rt::files
