#pragma once
// What a path names on disk, told without opening it: the kind of the entry itself (a symbolic
// link is reported as such, not followed, unlike rt::entryKind; links among the folders on the
// way are followed) and the identity of the file (device and inode), which every path to one
// file shares.

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

}  // namespace rt::files
