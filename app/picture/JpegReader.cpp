#include "app/picture/JpegReader.h"

#include "app/picture/ByteOrder.h"
#include "app/picture/ExifTiff.h"
#include "app/picture/PictureCursor.h"
#include "runtime/RuntimeError.h"

#include <array>

namespace {

constexpr int16_t kSoi = static_cast<int16_t>(0xFFD8);
constexpr int16_t kSof0 = static_cast<int16_t>(0xFFC0);
constexpr int16_t kSos = static_cast<int16_t>(0xFFDA);
constexpr int16_t kApp1 = static_cast<int16_t>(0xFFE1);
constexpr int32_t kApp0 = 0xFFE0;
constexpr int32_t kApp15 = 0xFFEF;

// Reads a marker and, unless it is the marker the walk looks for, the length that follows it.
// Returns false when the data ends first. Raises 9 for a length below 2 (a length counts its
// own two bytes).
bool readSegmentHead(Cursor& cursor, int16_t wanted, int16_t& marker, int32_t& length) {
  marker = cursor.readBigEndian16();
  if (cursor.pastEnd()) return false;
  if (marker == wanted) return true;
  length = Global::Unsigned(cursor.readBigEndian16());
  if (cursor.pastEnd()) return false;
  if (length < 2) rt::raise(rt::ErrSubscript);
  return true;
}

// Frame-header walk: from offset 2 to SOF0, then the size and depth of the picture.
void readFrameHeader(PictureBytes& bytes, JpegInfosClass& info) {
  Cursor cursor(bytes);
  cursor.seek(2);
  for (;;) {
    int16_t marker = 0;
    int32_t length = 0;
    if (!readSegmentHead(cursor, kSof0, marker, length)) return;
    if (marker == kSof0) break;
    cursor.skip(length - 2);
    if (cursor.pastEnd() || marker == kSos) return;
  }
  cursor.readBigEndian16();  // segment length, not used
  std::array<uint8_t, 6> frame{};
  if (!cursor.read(frame.data(), 6)) return;  // cut inside the frame header
  int16_t lines = Cursor::native16(&frame[1]);
  int16_t samples = Cursor::native16(&frame[3]);
  SwapBytes(lines);
  SwapBytes(samples);
  info.SetDataBits(frame[0]);
  info.SetImgHeight(lines);
  info.SetImgWidth(samples);
  info.SetLayers(frame[5]);
}

// EXIF-segment walk: leaves the cursor after the APP1 marker, or returns false when the walk
// meets a marker outside APP0..APP15 or the end of the data first.
bool findFirstApp1(Cursor& cursor) {
  cursor.seek(0);
  cursor.readBigEndian16();  // start of image, checked before
  for (;;) {
    int16_t marker = 0;
    int32_t length = 0;
    if (!readSegmentHead(cursor, kApp1, marker, length)) return false;
    if (marker == kApp1) return true;
    cursor.skip(length - 2);
    const int32_t code = Global::Unsigned(marker);
    if (cursor.pastEnd() || code < kApp0 || code > kApp15) return false;
  }
}

// The APP1 body at the cursor: "Exif" 0 0, the TIFF header, then the dates.
void readExif(Cursor& cursor, JpegInfosClass& info) {
  cursor.readBigEndian16();  // APP1 length, not used
  std::array<uint8_t, 6> h{};
  cursor.read(h.data(), 6);
  static constexpr std::array<uint8_t, 6> kExif{0x45, 0x78, 0x69, 0x66, 0x00, 0x00};
  if (h != kExif) {
    info.SetMessage(PictureMessages::kBadExifHeader);
    return;
  }
  ReadExifTiff(cursor, cursor.pos(), info);
}

}  // namespace

void ReadJpegInfos(PictureBytes& bytes, JpegInfosClass& info) {
  Cursor start(bytes);
  if (start.readBigEndian16() != kSoi) {
    info.SetMessage(PictureMessages::kNotJpeg);
    return;
  }
  readFrameHeader(bytes, info);
  Cursor cursor(bytes);
  if (findFirstApp1(cursor)) readExif(cursor, info);
}
