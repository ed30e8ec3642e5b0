#pragma once
// Where the picture reader takes its bytes from: a file read in windows, or bytes already in
// memory. Positions count from the start of the file.

#include "runtime/DateValue.h"
#include "runtime/FileSystem.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <memory>
#include <new>
#include <span>
#include <utility>
#include <vector>

class PictureBytes {
 public:
  virtual ~PictureBytes() = default;
  // Total number of bytes.
  virtual int64_t size() const = 0;
  // Copies the bytes [pos, pos + count) that exist into out and returns how many were copied
  // (fewer at the end of the data, 0 when pos is at or past the end or negative). Raises a
  // run-time error when the underlying file cannot be read.
  virtual int64_t readAt(int64_t pos, uint8_t* out, int64_t count) = 0;
};

// Bytes in memory, not owned: the span must outlive the object.
class MemoryPictureBytes final : public PictureBytes {
 public:
  explicit MemoryPictureBytes(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  int64_t size() const override { return static_cast<int64_t>(bytes_.size()); }
  int64_t readAt(int64_t pos, uint8_t* out, int64_t count) override;

 private:
  std::span<const uint8_t> bytes_;
};

// A file opened read-only. The first window (the file's head, where the marker segments and
// the EXIF block live) is read at once and kept; reads elsewhere go through a second window
// that moves to where they fall. Each window holds at most kWindowSize bytes and never more
// than the file has. The file is closed when the object goes away. Its size and date come
// from the status the open took: one open, one status call and one read for most pictures.
class FilePictureBytes final : public PictureBytes {
 public:
  static constexpr int64_t kWindowSize = 64 * 1024;

  // Opens the file and reads its head; raises 53 when it does not exist, 75 when it is not a
  // regular file (a folder, a named pipe: refused at once, never waited on) or cannot be
  // opened, 57 when it cannot be read.
  explicit FilePictureBytes(const QString& path);
  // Takes the open file over (closing it in every case) and reads its head; raises 57 when it
  // cannot be read.
  explicit FilePictureBytes(rt::OpenFile file);
  ~FilePictureBytes() override;
  FilePictureBytes(const FilePictureBytes&) = delete;
  FilePictureBytes& operator=(const FilePictureBytes&) = delete;
  int64_t size() const override { return size_; }
  // Raises 57 when the file cannot be read.
  int64_t readAt(int64_t pos, uint8_t* out, int64_t count) override;
  // The file's last-modification date and time (local time, to the second), from the open
  // file; nullopt when it cannot be told or lies outside years 100..9999.
  std::optional<rt::DateValue> modificationDate() const;

 private:
  // Leaves the bytes a window grows by uninitialised: each is read from the file before use,
  // and zeroing 64 KiB per picture cost more than parsing it.
  template <class T>
  struct Uninitialised : std::allocator<T> {
    template <class U>
    struct rebind {
      using other = Uninitialised<U>;
    };
    Uninitialised() = default;
    template <class U>
    Uninitialised(const Uninitialised<U>&) noexcept {}
    template <class U>
    void construct(U* at) noexcept {
      ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Args>
    void construct(U* at, Args&&... args) {
      ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
  };
  struct Window {
    int64_t start = 0;
    std::vector<uint8_t, Uninitialised<uint8_t>> bytes;
    bool holds(int64_t pos, int64_t count) const {
      return pos >= start && pos - start + count <= static_cast<int64_t>(bytes.size());
    }
  };
  // Fills the window from pos with up to max(count, kWindowSize) bytes, never past the end.
  void load(Window& window, int64_t pos, int64_t count);

  rt::OpenFile file_;
  int64_t size_ = 0;
  Window head_;
  Window moving_;
};
