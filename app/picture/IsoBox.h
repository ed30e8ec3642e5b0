#pragma once
// Boxes of ISO base media files (HEIF, AVIF, CR3, MP4, QuickTime): a 32-bit size and a type,
// a 64-bit size after the type when the size is 1, "to the end of the enclosing box or file"
// when it is 0. A box that claims more than its parent holds is cut to the parent (a cut file
// still shows its first boxes).

#include "app/picture/ContainerBytes.h"
#include "app/picture/PictureBytes.h"

#include <array>
#include <cstdint>
#include <optional>

namespace isobmff {

constexpr uint32_t fourcc(const char (&text)[5]) {
  return (static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24) |
         (static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16) |
         (static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8) | static_cast<uint8_t>(text[3]);
}

struct Box {
  uint32_t type = 0;
  int64_t start = 0;    // first byte of the size field
  int64_t payload = 0;  // first byte after the header
  int64_t end = 0;      // one past the last byte, never past the parent's end
};

// Boxes looked at per level: enough for any real file, a bound for crafted ones.
constexpr int kMaxBoxesPerLevel = 1 << 16;

// The box at pos inside [pos, end), or nullopt when its header is cut or its size is smaller
// than its header.
std::optional<Box> boxAt(PictureBytes& bytes, int64_t pos, int64_t end);

// Calls visit(box) for each box of [start, end) in order, until visit returns false, a header
// cannot be read or kMaxBoxesPerLevel boxes were seen.
template <typename Visit>
void forEachBox(PictureBytes& bytes, int64_t start, int64_t end, Visit visit) {
  int64_t pos = start;
  for (int seen = 0; seen < kMaxBoxesPerLevel && pos < end; ++seen) {
    const std::optional<Box> box = boxAt(bytes, pos, end);
    if (!box || !visit(*box)) return;
    pos = box->end;
  }
}

// The first child of type in [start, end).
std::optional<Box> findBox(PictureBytes& bytes, int64_t start, int64_t end, uint32_t type);

// Where the children of a "meta" box start: ISO writes it as a full box (4 bytes of version
// and flags first), QuickTime as a plain one; the handler box that comes first tells which.
int64_t metaChildren(PictureBytes& bytes, const Box& meta);

// Reads big-endian fields one after another inside [pos, end); a read that would cross end
// fails and makes every later read fail too.
class FieldReader {
 public:
  FieldReader(PictureBytes& bytes, int64_t pos, int64_t end) : bytes_(bytes), pos_(pos), end_(end) {}
  bool ok() const { return ok_; }
  int64_t pos() const { return pos_; }
  void skip(int64_t count) {
    if (!ok_ || count < 0 || count > end_ - pos_) ok_ = false;
    if (ok_) pos_ += count;
  }
  uint64_t u8() { return field(1); }
  uint64_t u16() { return field(2); }
  uint64_t u32() { return field(4); }
  uint64_t u64() { return field(8); }
  // An unsigned field of 0, 4 or 8 bytes (the sizes ISO allows in item locations); other
  // sizes fail.
  uint64_t sized(uint64_t count) {
    if (count != 0 && count != 4 && count != 8) ok_ = false;
    return count == 0 ? 0 : field(static_cast<int64_t>(count));
  }

 private:
  uint64_t field(int64_t count);

  PictureBytes& bytes_;
  int64_t pos_;
  int64_t end_;
  bool ok_ = true;
};

}  // namespace isobmff
