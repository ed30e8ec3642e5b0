#include "app/picture/ExifTiff.h"

#include "app/common/Orvofonctions2.h"
#include "app/picture/ExifDateText.h"
#include "runtime/RuntimeError.h"

#include <array>
#include <cstring>
#include <limits>
#include <unordered_set>

namespace {

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

// TIFF data: byte order and where offsets count from.
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
// real date; with subSec, also the digits of SubSecTimeOriginal (0x9291) beside it. budget
// counts the entries still allowed for this file.
std::optional<rt::DateValue> readSubIfdDate(TiffData& tiff, int32_t offset, int64_t& budget,
                                            QString* subSec = nullptr) {
  Cursor& cursor = tiff.cursor();
  cursor.seek(tiff.position(offset));
  const int16_t count = tiff.readCount();
  std::optional<rt::DateValue> date;
  bool dateSeen = false;
  for (int16_t i = 0; i < count && budget > 0; ++i, --budget) {
    int32_t tag = 0;
    int32_t value = 0;
    if (!tiff.readEntry(tag, value)) return date;  // the rest would read as zero
    const int64_t next = cursor.pos();
    if (tag == kTagDateTimeOriginal && !dateSeen) {
      dateSeen = true;
      date = tiff.dateAt(value);
      if (!subSec) return date;
    } else if (tag == kTagSubSecTimeOriginal && subSec) {
      *subSec = tiff.digitsOfLastEntry();
      return date;
    }
    cursor.seek(next);
  }
  return date;
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
      QString subSec;
      if (const auto date = readSubIfdDate(tiff, value, budget, &subSec)) info.SetCreateDate(*date);
      if (!subSec.isEmpty()) info.SetSubSecOriginal(subSec);
    }
    cursor.seek(next);
  }
}

bool magicAccepted(uint16_t value, TiffMagic magic) {
  if (value == 42) return true;
  return magic == TiffMagic::kRaw && (value == 0x55 || value == 0x4F52 || value == 0x5352);
}

// Leaves the cursor where IFD0 starts.
void seekIfd0(TiffData& tiff, const TiffHeader& header) {
  if (header.ifd0 > 8) tiff.cursor().seek(tiff.position(header.ifd0));
}

}  // namespace

std::optional<TiffHeader> ReadTiffHeader(Cursor& cursor, int64_t base, JpegInfosClass& info, TiffMagic magic) {
  cursor.seek(base);
  std::array<uint8_t, 8> h{};
  cursor.read(h.data(), 8);
  TiffHeader header;
  if (h[0] == 0x49 && h[1] == 0x49) {
    header.bigEndian = false;
  } else if (h[0] == 0x4D && h[1] == 0x4D) {
    header.bigEndian = true;
  } else {
    info.SetMessage(PictureMessages::kUnknownByteOrder);
    return std::nullopt;
  }
  using Orvofonctions2::MakeInt;
  using Orvofonctions2::MakeLong;
  const int16_t value = header.bigEndian ? MakeInt(h[3], h[2]) : MakeInt(h[2], h[3]);
  header.magic = static_cast<uint16_t>(value);
  if (!magicAccepted(header.magic, magic)) {
    info.SetMessage(PictureMessages::kBadTiffHeader);
    return std::nullopt;
  }
  header.ifd0 = header.bigEndian ? MakeLong(MakeInt(h[7], h[6]), MakeInt(h[5], h[4]))
                                 : MakeLong(MakeInt(h[4], h[5]), MakeInt(h[6], h[7]));
  return header;
}

void ReadExifTiff(Cursor& cursor, int64_t base, JpegInfosClass& info, TiffMagic magic) {
  const auto header = ReadTiffHeader(cursor, base, info, magic);
  if (!header) return;
  TiffData tiff(cursor, base, header->bigEndian);
  seekIfd0(tiff, *header);
  readIfd0(tiff, info);
}

std::optional<rt::DateValue> ReadExifIfdDate(Cursor& cursor, int64_t base) {
  JpegInfosClass ignored;
  const auto header = ReadTiffHeader(cursor, base, ignored);
  if (!header) return std::nullopt;
  TiffData tiff(cursor, base, header->bigEndian);
  int64_t budget = kMaxSubIfdEntries;
  return readSubIfdDate(tiff, header->ifd0 > 8 ? header->ifd0 : 8, budget);
}

int64_t SkipExifPrefix(PictureBytes& bytes, int64_t start) {
  static constexpr std::array<uint8_t, 6> kExif{0x45, 0x78, 0x69, 0x66, 0x00, 0x00};
  std::array<uint8_t, 6> head{};
  if (bytes.readAt(start, head.data(), 6) == 6 && head == kExif) return start + 6;
  return start;
}
