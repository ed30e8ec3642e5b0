#pragma once
// A part of a picture's bytes seen as bytes of its own: a chunk, box or item that holds an
// EXIF block or an embedded JPEG. Reads never go outside the part, so offsets inside it
// cannot reach the rest of the file.

#include "app/picture/PictureBytes.h"

#include <algorithm>

class SliceBytes final : public PictureBytes {
 public:
  // The part [start, start + length) of bytes, cut to what bytes holds.
  SliceBytes(PictureBytes& bytes, int64_t start, int64_t length)
      : bytes_(bytes),
        start_(std::clamp<int64_t>(start, 0, bytes.size())),
        size_(std::clamp<int64_t>(length, 0, bytes.size() - start_)) {}
  int64_t size() const override { return size_; }
  int64_t readAt(int64_t pos, uint8_t* out, int64_t count) override {
    if (pos < 0 || count <= 0 || pos >= size_) return 0;
    return bytes_.readAt(start_ + pos, out, std::min(count, size_ - pos));
  }

 private:
  PictureBytes& bytes_;
  int64_t start_;
  int64_t size_;
};
