#include "app/picture/JpegReader.h"

#include "app/common/Orvofonctions2.h"
#include "app/picture/ByteOrder.h"
#include "app/picture/ExifDateText.h"
#include "runtime/RuntimeError.h"

#include <array>
#include <cstring>
#include <limits>
#include <optional>
#include <unordered_set>

namespace {

constexpr int16_t kSoi = static_cast<int16_t>(0xFFD8);
constexpr int16_t kSof0 = static_cast<int16_t>(0xFFC0);
constexpr int16_t kSos = static_cast<int16_t>(0xFFDA);
constexpr int16_t kApp1 = static_cast<int16_t>(0xFFE1);
constexpr int32_t kApp0 = 0xFFE0;
constexpr int32_t kApp15 = 0xFFEF;
constexpr int32_t kTagDateTime = 0x0132;
constexpr int32_t kTagExifPointer = 0x8769;
constexpr int32_t kTagDateTimeOriginal = 0x9003;
constexpr int32_t kTagSubSecTimeOriginal = 0x9291;
constexpr int32_t kMaxSubSecLength = 16;  // digits of a fraction of a second kept at most
constexpr int64_t kDateTextLength = 19;
// Entries of Exif sub-IFDs looked at per file, all pointers together. Real files need a few
// dozen and one directory holds at most 32767; the cap keeps a crafted file (thousands of
// pointers to thousands of entries each) from stalling the program.
constexpr int64_t kMaxSubIfdEntries = 1 << 16;

// Sequential reading at a position, as the reader has always done it: bytes past the end of
// the data read as zero and mark the cursor as having run past the end.
class Cursor {
 public:
  explicit Cursor(PictureBytes& bytes) : bytes_(bytes) {}

  int64_t pos() const { return pos_; }
  void seek(int64_t pos) { pos_ = pos; }
  bool pastEnd() const { return pastEnd_; }

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

// TIFF data of the APP1 segment: byte order and where offsets count from.
class TiffData {
 public:
  TiffData(Cursor& cursor, int64_t base, bool bigEndian)
      : cursor_(cursor), base_(base), bigEndian_(bigEndian) {}

  // The file position of a TIFF offset. Offsets are unsigned 32-bit: a value with the top bit
  // set, or one that takes the position past the signed 32-bit range, raises 6.
  int64_t position(int32_t offset) const {
    const int64_t pos = base_ + offset;
    if (offset < 0 || pos > std::numeric_limits<int32_t>::max()) rt::raise(rt::ErrOverflow);
    return pos;
  }

  int16_t value16(const uint8_t* b) const {
    int16_t value = Cursor::native16(b);
    if (bigEndian_) SwapBytes(value);
    return value;
  }
  int32_t value32(const uint8_t* b) const {
    int32_t value = Cursor::native32(b);
    if (bigEndian_) SwapBytes(value);
    return value;
  }

  // Entry count of the directory at the cursor; negative counts read as they are.
  int16_t readCount() {
    std::array<uint8_t, 2> b{};
    cursor_.read(b.data(), 2);
    return value16(b.data());
  }

  // One 12-byte entry at the cursor: tag and value (type and count are never looked at).
  // Returns false when the data ends before the entry does.
  bool readEntry(int32_t& tag, int32_t& value) {
    std::array<uint8_t, 12>& e = entry_;
    if (!cursor_.read(e.data(), 12)) return false;
    tag = Global::Unsigned(value16(&e[0]));
    value = value32(&e[8]);
    return true;
  }

  // The digits of the ASCII value of the entry read last, up to its first NUL; "" when the
  // value holds anything but digits or is longer than a fraction of a second needs. Values
  // of up to 4 bytes sit in the entry itself, longer ones at the offset it gives.
  QString digitsOfLastEntry() {
    const int32_t count = value32(&entry_[4]);
    if (count <= 0 || count > kMaxSubSecLength) return QString();
    std::array<uint8_t, kMaxSubSecLength> text{};
    if (count <= 4) {
      std::memcpy(text.data(), &entry_[8], static_cast<size_t>(count));
    } else {
      cursor_.seek(position(value32(&entry_[8])));
      if (!cursor_.read(text.data(), count)) return QString();
    }
    QString digits;
    for (int32_t i = 0; i < count && text[static_cast<size_t>(i)] != 0; ++i) {
      const char c = static_cast<char>(text[static_cast<size_t>(i)]);
      if (c < '0' || c > '9') return QString();
      digits.append(QLatin1Char(c));
    }
    return digits;
  }

  // The date text at offset; nullopt when it is cut or not a date.
  std::optional<rt::DateValue> dateAt(int32_t offset) {
    cursor_.seek(position(offset));
    std::array<uint8_t, kDateTextLength> text{};
    if (!cursor_.read(text.data(), kDateTextLength)) return std::nullopt;
    return ExifDateFromText(text);
  }

  Cursor& cursor() { return cursor_; }

 private:
  Cursor& cursor_;
  int64_t base_;
  bool bigEndian_;
  std::array<uint8_t, 12> entry_{};  // the entry read last
};

// The Exif sub-IFD at offset: DateTimeOriginal (the first 0x9003 entry) when present and a
// real date, and SubSecTimeOriginal (0x9291) beside it. budget counts the entries still
// allowed for this file.
void readSubIfd(TiffData& tiff, int32_t offset, int64_t& budget, JpegInfosClass& info) {
  Cursor& cursor = tiff.cursor();
  cursor.seek(tiff.position(offset));
  const int16_t count = tiff.readCount();
  bool dateSeen = false;
  for (int16_t i = 0; i < count && budget > 0; ++i, --budget) {
    int32_t tag = 0;
    int32_t value = 0;
    if (!tiff.readEntry(tag, value)) return;  // the rest would read as zero
    const int64_t next = cursor.pos();
    if (tag == kTagDateTimeOriginal && !dateSeen) {
      dateSeen = true;
      if (const auto date = tiff.dateAt(value)) info.SetCreateDate(*date);
    } else if (tag == kTagSubSecTimeOriginal) {
      info.SetSubSecOriginal(tiff.digitsOfLastEntry());
      return;
    }
    cursor.seek(next);
  }
}

// IFD0: every entry is read; DateTime and the sub-IFD pointer each send the reading elsewhere
// and back to the entry that follows.
void readIfd0(TiffData& tiff, JpegInfosClass& info) {
  Cursor& cursor = tiff.cursor();
  const int16_t count = tiff.readCount();
  std::unordered_set<int32_t> subIfdsRead;
  int64_t budget = kMaxSubIfdEntries;
  for (int16_t i = 0; i < count; ++i) {
    int32_t tag = 0;
    int32_t value = 0;
    if (!tiff.readEntry(tag, value)) return;  // the rest would read as zero
    const int64_t next = cursor.pos();
    if (tag == kTagDateTime) {
      if (const auto date = tiff.dateAt(value)) info.SetModifDate(*date);
    } else if (tag == kTagExifPointer && subIfdsRead.insert(value).second) {
      // A sub-IFD already read gives the same answer again: it is not read twice.
      readSubIfd(tiff, value, budget, info);
    }
    cursor.seek(next);
  }
}

// The APP1 body at the cursor: "Exif" 0 0, the TIFF header, then the dates.
void readExif(Cursor& cursor, JpegInfosClass& info) {
  cursor.readBigEndian16();  // APP1 length, not used
  std::array<uint8_t, 14> h{};
  cursor.read(h.data(), 14);
  const int64_t tiffBase = cursor.pos() - 8;
  static constexpr std::array<uint8_t, 6> kExif{0x45, 0x78, 0x69, 0x66, 0x00, 0x00};
  for (size_t i = 0; i < kExif.size(); ++i) {
    if (h[i] != kExif[i]) {
      info.SetMessage(PictureMessages::kBadExifHeader);
      return;
    }
  }
  bool bigEndian = false;
  if (h[6] == 0x49 && h[7] == 0x49) {
    bigEndian = false;
  } else if (h[6] == 0x4D && h[7] == 0x4D) {
    bigEndian = true;
  } else {
    info.SetMessage(PictureMessages::kUnknownByteOrder);
    return;
  }
  using Orvofonctions2::MakeInt;
  using Orvofonctions2::MakeLong;
  const int16_t magic = bigEndian ? MakeInt(h[9], h[8]) : MakeInt(h[8], h[9]);
  if (magic != 42) {
    info.SetMessage(PictureMessages::kBadTiffHeader);
    return;
  }
  const int32_t ifd0 = bigEndian ? MakeLong(MakeInt(h[13], h[12]), MakeInt(h[11], h[10]))
                                 : MakeLong(MakeInt(h[10], h[11]), MakeInt(h[12], h[13]));
  TiffData tiff(cursor, tiffBase, bigEndian);
  if (ifd0 > 8) cursor.seek(tiff.position(ifd0));
  readIfd0(tiff, info);
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
