#include "app/picture/PictureBytes.h"

#include "runtime/FileSystem.h"
#include "runtime/RuntimeError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

int64_t MemoryPictureBytes::readAt(int64_t pos, uint8_t* out, int64_t count) {
  const int64_t total = size();
  if (pos < 0 || count <= 0 || pos >= total) return 0;
  const int64_t n = std::min(count, total - pos);
  std::memcpy(out, bytes_.data() + pos, static_cast<size_t>(n));
  return n;
}

namespace {

rt::OpenFile openPicture(const QString& path) {
  // Opened through the runtime's path codec: a name that is not UTF-8 reaches its file.
  try {
    return rt::openFileForReading(path);
  } catch (const rt::RuntimeError&) {
    rt::raise(rt::entryKind(path) == rt::EntryKind::Missing ? rt::ErrFileNotFound : rt::ErrPathFileAccess);
  }
}

}  // namespace

FilePictureBytes::FilePictureBytes(const QString& path) : FilePictureBytes(openPicture(path)) {}

FilePictureBytes::FilePictureBytes(rt::OpenFile file) : file_(file), size_(file.size) {
  try {
    load(head_, 0, kWindowSize);
  } catch (...) {
    ::close(file_.fd);
    throw;
  }
}

FilePictureBytes::~FilePictureBytes() { ::close(file_.fd); }

std::optional<rt::DateValue> FilePictureBytes::modificationDate() const { return rt::localFileDate(file_.modified); }

void FilePictureBytes::load(Window& window, int64_t pos, int64_t count) {
  const int64_t length = std::clamp<int64_t>(size_ - pos, 0, std::max(count, kWindowSize));
  window.start = pos;
  window.bytes.resize(static_cast<size_t>(length));
  // Reads until it has the count or meets the end of the file; one call in the usual case.
  int64_t done = 0;
  while (done < length) {
    const ssize_t n = ::pread(file_.fd, window.bytes.data() + done, static_cast<size_t>(length - done), pos + done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) rt::raise(rt::ErrDeviceIO);
    if (n == 0) break;
    done += n;
  }
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
