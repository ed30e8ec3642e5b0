#pragma once
// Whole-file reading with a size cap, and whole-file replacement that is atomic for readers:
// the new content goes to a temporary file in the same folder, which is then renamed over the
// target. A reader sees either the old file or the new one, never a mix; a failed write leaves
// the target untouched and removes its temporary file.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace rt::files {

// What tells one version of a file from another without reading it: a file replaced through
// writeFileAtomically is a new inode; one rewritten in place changes size or change time.
struct FileStamp {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = -1;
  int64_t changeNs = 0;  // status change time, nanoseconds
  int64_t modifyNs = 0;  // modification time, nanoseconds
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the regular file at path; nullopt when there is none (or not a regular file).
std::optional<FileStamp> fileStamp(const QString& path);

struct ReadResult {
  QByteArray bytes;     // the content (empty when absent or unreadable)
  bool exists = false;  // a file (or something else) is at the path
  int32_t error = 0;    // 0, or the runtime's file error number when it exists but cannot be read
  FileStamp stamp;      // of the file read, when error is 0 and it exists
};

// Reads the whole file at path. A missing file is exists = false, error = 0. A folder at the
// path, or anything else that is not a regular file (refused at once, a named pipe is never
// waited on), a read failure or a file larger than maxSize bytes gives error != 0 and no bytes.
ReadResult readWholeFile(const QString& path, qint64 maxSize);

// The French explanation for a file refused because it holds more than maxSize bytes, naming
// the file and the limit; "" when the file at path is not larger (or is absent).
QString oversizeText(const QString& path, qint64 maxSize);

// Replaces (or creates) the file at path with bytes. A symbolic link is followed, so its target
// is replaced and the link kept. An existing file keeps its permission bits and owner.
// Returns 0, or the runtime's file error number: 76 when the folder is missing (or a file
// stands where a folder should be), 75 when a folder stands at the path, 70, 61, 75 for other
// failures. On failure the target is unchanged.
int32_t writeFileAtomically(const QString& path, const QByteArray& bytes);

// Whether writeFileAtomically flushes the new content to the disk before the rename (the
// default), so that a crash never leaves an empty file. Fuzzers turn it off for speed.
void setFlushToDisk(bool flush);

// Test seam: while err is not 0, every writeFileAtomically fails with errno err at its last step
// (after the temporary file was written, before the rename).
void setWriteFaultForTesting(int err);

}  // namespace rt::files
