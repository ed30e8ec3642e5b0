#pragma once
// Fixed-size reads for the container walks (TIFF directories, ISOBMFF boxes, PNG and RIFF
// chunks): a read succeeds only when every byte asked for is there.

#include "app/picture/JpegInfosClass.h"
#include "app/picture/PictureBytes.h"

#include <cstdint>

namespace container {

// True when [pos, pos + count) lies inside bytes and was copied into out.
inline bool readExact(PictureBytes& bytes, int64_t pos, uint8_t* out, int64_t count) {
  const int64_t size = bytes.size();
  if (pos < 0 || count < 0 || pos > size || count > size - pos) return false;
  return bytes.readAt(pos, out, count) == count;
}

inline uint16_t be16(const uint8_t* b) { return static_cast<uint16_t>((b[0] << 8) | b[1]); }
inline uint32_t be32(const uint8_t* b) {
  return (static_cast<uint32_t>(b[0]) << 24) | (static_cast<uint32_t>(b[1]) << 16) |
         (static_cast<uint32_t>(b[2]) << 8) | b[3];
}
inline uint64_t be64(const uint8_t* b) { return (static_cast<uint64_t>(be32(b)) << 32) | be32(b + 4); }
inline uint16_t le16(const uint8_t* b) { return static_cast<uint16_t>(b[0] | (b[1] << 8)); }
inline uint32_t le32(const uint8_t* b) {
  return b[0] | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
         (static_cast<uint32_t>(b[3]) << 24);
}

// Puts a picture's size into the record the way the JPEG frame header does: 16-bit fields
// (above 32767 reads as negative, above 65535 is cut to 65535), depth as bits per sample and
// number of samples (0 when the container does not tell).
inline void setPictureSize(JpegInfosClass& info, int64_t width, int64_t height, int64_t bits = 0,
                           int64_t samples = 0) {
  const auto field16 = [](int64_t v) {
    return static_cast<int16_t>(static_cast<uint16_t>(v < 0 ? 0 : (v > 65535 ? 65535 : v)));
  };
  const auto field8 = [](int64_t v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
  info.SetImgWidth(field16(width));
  info.SetImgHeight(field16(height));
  info.SetDataBits(field8(bits));
  info.SetLayers(field8(samples));
}

}  // namespace container
