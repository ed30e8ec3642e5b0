#pragma once
// An exclusive advisory lock (flock) held for the life of the object. Serialises the
// read-modify-write cycles of processes (and of threads holding separate FileLock objects)
// that lock the same file or folder.

#include <QString>

#include <cstdint>

namespace rt::files {

class FileLock {
 public:
  enum class Kind { LockFile, Folder };

  // Kind::LockFile opens (creating it when missing) the file at path and locks it;
  // Kind::Folder locks the existing folder at path. Blocks until the lock is held.
  FileLock(const QString& path, Kind kind);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool locked() const { return fd_ >= 0; }
  // 0 when locked, else the runtime's file error number (76 for a missing folder).
  int32_t error() const { return error_; }

 private:
  int fd_ = -1;
  int32_t error_ = 0;
};

}  // namespace rt::files
