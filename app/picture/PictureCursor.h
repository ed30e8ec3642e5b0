#pragma once
// Sequential reading of picture bytes at a position, as the JPEG reader has always done it:
// bytes past the end of the data read as zero and mark the cursor as having run past the end.

#include "app/picture/ByteOrder.h"
#include "app/picture/PictureBytes.h"

#include <array>
#include <cstdint>
#include <cstring>

class Cursor {
 public:
  explicit Cursor(PictureBytes& bytes) : bytes_(bytes) {}

  int64_t pos() const { return pos_; }
  void seek(int64_t pos) { pos_ = pos; }
  bool pastEnd() const { return pastEnd_; }
  PictureBytes& bytes() { return bytes_; }

  // Returns false (and zero-fills) when the data ends before count bytes.
  bool read(uint8_t* out, int64_t count) {
    const int64_t got = bytes_.readAt(pos_, out, count);
    pos_ += count;
    if (got < count) {
      std::memset(out + got, 0, static_cast<size_t>(count - got));
      pastEnd_ = true;
      return false;
    }
    return true;
  }

  void skip(int64_t count) {
    pos_ += count;
    if (pos_ > bytes_.size()) pastEnd_ = true;
  }

  // A 16-bit value stored big-endian (JPEG): read in native order, then swapped.
  int16_t readBigEndian16() {
    std::array<uint8_t, 2> b{};
    read(b.data(), 2);
    int16_t value = native16(b.data());
    SwapBytes(value);
    return value;
  }

  static int16_t native16(const uint8_t* b) { return static_cast<int16_t>(b[0] | (b[1] << 8)); }
  static int32_t native32(const uint8_t* b) {
    return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                                (static_cast<uint32_t>(b[2]) << 16) |
                                (static_cast<uint32_t>(b[3]) << 24));
  }

 private:
  PictureBytes& bytes_;
  int64_t pos_ = 0;
  bool pastEnd_ = false;
};
