#include "app/picture/PictureBytes.h"

#include "runtime/RuntimeError.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

int64_t MemoryPictureBytes::readAt(int64_t pos, uint8_t* out, int64_t count) {
  const int64_t total = size();
  if (pos < 0 || count <= 0 || pos >= total) return 0;
  const int64_t n = std::min(count, total - pos);
  std::memcpy(out, bytes_.data() + pos, static_cast<size_t>(n));
  return n;
}

FilePictureBytes::FilePictureBytes(const QString& path) : file_(path) {
  if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
    rt::raise(QFileInfo::exists(path) ? rt::ErrPathFileAccess : rt::ErrFileNotFound);
  }
  size_ = file_.size();
}

void FilePictureBytes::load(Window& window, int64_t pos, int64_t count) {
  const int64_t length = std::min(std::max(count, kWindowSize), size_ - pos);
  window.start = pos;
  window.bytes.resize(static_cast<size_t>(length));
  if (!file_.seek(pos)) rt::raise(rt::ErrDeviceIO);
  int64_t done = 0;
  while (done < length) {
    const qint64 got = file_.read(reinterpret_cast<char*>(window.bytes.data()) + done, length - done);
    if (got <= 0) break;
    done += got;
  }
  if (done < length) {
    // The file shrank or failed under us: keep what was read and report the failure.
    window.bytes.resize(static_cast<size_t>(done));
    rt::raise(rt::ErrDeviceIO);
  }
}

int64_t FilePictureBytes::readAt(int64_t pos, uint8_t* out, int64_t count) {
  if (pos < 0 || count <= 0 || pos >= size_) return 0;
  const int64_t n = std::min(count, size_ - pos);
  if (!headLoaded_) {
    headLoaded_ = true;
    load(head_, 0, kWindowSize);
  }
  const Window* window = &head_;
  if (!head_.holds(pos, n)) {
    if (!moving_.holds(pos, n)) load(moving_, pos, n);
    window = &moving_;
  }
  std::memcpy(out, window->bytes.data() + (pos - window->start), static_cast<size_t>(n));
  return n;
}
