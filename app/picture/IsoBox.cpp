#include "app/picture/IsoBox.h"

namespace isobmff {

std::optional<Box> boxAt(PictureBytes& bytes, int64_t pos, int64_t end) {
  std::array<uint8_t, 16> h{};
  if (pos < 0 || end - pos < 8 || !container::readExact(bytes, pos, h.data(), 8)) return std::nullopt;
  Box box;
  box.start = pos;
  box.type = container::be32(&h[4]);
  uint64_t size = container::be32(h.data());
  box.payload = pos + 8;
  if (size == 1) {
    if (end - pos < 16 || !container::readExact(bytes, pos + 8, &h[8], 8)) return std::nullopt;
    size = container::be64(&h[8]);
    box.payload = pos + 16;
  } else if (size == 0) {
    size = static_cast<uint64_t>(end - pos);
  }
  if (size < static_cast<uint64_t>(box.payload - pos)) return std::nullopt;
  box.end = size > static_cast<uint64_t>(end - pos) ? end : pos + static_cast<int64_t>(size);
  return box;
}

std::optional<Box> findBox(PictureBytes& bytes, int64_t start, int64_t end, uint32_t type) {
  std::optional<Box> found;
  forEachBox(bytes, start, end, [&](const Box& box) {
    if (box.type == type) found = box;
    return !found;
  });
  return found;
}

int64_t metaChildren(PictureBytes& bytes, const Box& meta) {
  std::array<uint8_t, 4> type{};
  const bool plain = container::readExact(bytes, meta.payload + 4, type.data(), 4) &&
                     container::be32(type.data()) == fourcc("hdlr");
  return plain ? meta.payload : meta.payload + 4;
}

uint64_t FieldReader::field(int64_t count) {
  std::array<uint8_t, 8> b{};
  if (!ok_ || count > end_ - pos_ || !container::readExact(bytes_, pos_, b.data(), count)) {
    ok_ = false;
    return 0;
  }
  pos_ += count;
  uint64_t value = 0;
  for (int64_t i = 0; i < count; ++i) value = (value << 8) | b[static_cast<size_t>(i)];
  return value;
}

}  // namespace isobmff
