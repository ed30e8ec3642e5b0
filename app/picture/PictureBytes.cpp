#include "app/picture/PictureBytes.h"

#include "runtime/FileSystem.h"
#include "runtime/RuntimeError.h"

#include <QDateTime>

#include <algorithm>
#include <cstring>
#include <unistd.h>

int64_t MemoryPictureBytes::readAt(int64_t pos, uint8_t* out, int64_t count) {
  const int64_t total = size();
  if (pos < 0 || count <= 0 || pos >= total) return 0;
  const int64_t n = std::min(count, total - pos);
  std::memcpy(out, bytes_.data() + pos, static_cast<size_t>(n));
  return n;
}

FilePictureBytes::FilePictureBytes(const QString& path) {
  // Opened through the runtime's path codec: a name that is not UTF-8 reaches its file.
  int fd = -1;
  try {
    fd = rt::openForReading(path);
  } catch (const rt::RuntimeError&) {
    rt::raise(rt::entryKind(path) == rt::EntryKind::Missing ? rt::ErrFileNotFound : rt::ErrPathFileAccess);
  }
  if (!file_.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    rt::raise(rt::ErrPathFileAccess);
  }
  // Asked right after opening, the size comes with the file status the first read needs anyway.
  size_ = file_.size();
  load(head_, 0, kWindowSize);
}

std::optional<rt::DateValue> FilePictureBytes::modificationDate() const {
  const QDateTime modified = file_.fileTime(QFileDevice::FileModificationTime).toLocalTime();
  if (!modified.isValid()) return std::nullopt;
  const QDate d = modified.date();
  const QTime t = modified.time();
  try {
    return rt::makeDate(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
  } catch (const rt::RuntimeError&) {
    return std::nullopt;
  }
}

void FilePictureBytes::load(Window& window, int64_t pos, int64_t count) {
  const int64_t length = std::clamp<int64_t>(size_ - pos, 0, std::max(count, kWindowSize));
  window.start = pos;
  window.bytes.resize(static_cast<size_t>(length));
  if (filePos_ != pos) {
    if (!file_.seek(pos)) rt::raise(rt::ErrDeviceIO);
    filePos_ = pos;
  }
  // The file device reads until it has the count or meets the end of the file.
  const qint64 done = file_.read(reinterpret_cast<char*>(window.bytes.data()), length);
  if (done < 0) rt::raise(rt::ErrDeviceIO);
  filePos_ += done;
  window.bytes.resize(static_cast<size_t>(done));
  if (done < length) size_ = pos + done;  // the file was cut while we read it
}

int64_t FilePictureBytes::readAt(int64_t pos, uint8_t* out, int64_t count) {
  if (pos < 0 || count <= 0 || pos >= size_) return 0;
  count = std::min(count, size_ - pos);
  const Window* window = &head_;
  if (!head_.holds(pos, count)) {
    if (!moving_.holds(pos, count)) load(moving_, pos, count);
    window = &moving_;
  }
  const int64_t available = static_cast<int64_t>(window->bytes.size()) - (pos - window->start);
  const int64_t n = std::clamp<int64_t>(available, 0, count);
  if (n > 0) std::memcpy(out, window->bytes.data() + (pos - window->start), static_cast<size_t>(n));
  return n;
}
