#include "tests/support/JpegBuilder.h"

namespace testsupport {

ByteWriter& ByteWriter::u8(uint8_t value) {
  data_.append(static_cast<char>(value));
  return *this;
}

ByteWriter& ByteWriter::u16(uint16_t value) {
  if (bigEndian_) return u8(value >> 8).u8(value & 0xFF);
  return u8(value & 0xFF).u8(value >> 8);
}

ByteWriter& ByteWriter::u32(uint32_t value) {
  if (bigEndian_) return u16(value >> 16).u16(value & 0xFFFF);
  return u16(value & 0xFFFF).u16(value >> 16);
}

ByteWriter& ByteWriter::bytes(const QByteArray& value) {
  data_.append(value);
  return *this;
}

ByteWriter& ByteWriter::entry(uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
  return u16(tag).u16(type).u32(count).u32(value);
}

void ByteWriter::patchU32(qsizetype at, uint32_t value) {
  ByteWriter w(bigEndian_);
  w.u32(value);
  data_.replace(at, 4, w.data());
}

namespace {

constexpr uint16_t kAscii = 2;
constexpr uint16_t kShort = 3;
constexpr uint16_t kLong = 4;

QByteArray withNul(const QByteArray& text) { return text + QByteArray(1, '\0'); }

// Ordinary entries (orientation-like shorts) with tags that mean nothing to the reader.
void otherEntries(ByteWriter& w, int count, uint16_t firstTag) {
  for (int i = 0; i < count; ++i) w.entry(static_cast<uint16_t>(firstTag + i), kShort, 1, 1);
}

}  // namespace

QByteArray exifTiff(const ExifContent& c) {
  ByteWriter w(c.bigEndian);
  w.bytes(c.bigEndian ? "MM" : "II").u16(42).u32(static_cast<uint32_t>(8 + c.paddingBeforeIfd0));
  w.bytes(QByteArray(c.paddingBeforeIfd0, '\x55'));

  const bool hasDateTime = !c.dateTime.isEmpty();
  const bool hasSubIfd = !c.dateTimeOriginal.isEmpty();
  const int ifd0Count = c.otherEntries + (hasDateTime ? 1 : 0) + (hasSubIfd ? 1 : 0);
  const bool hasSubSec = hasSubIfd && !c.subSecTimeOriginal.isEmpty();
  const int subCount = c.otherEntries + 1 + (hasSubSec ? 1 : 0);
  // Layout: IFD0, sub-IFD, then the texts.
  const uint32_t ifd0At = static_cast<uint32_t>(w.size());
  const uint32_t subAt = ifd0At + 2 + 12 * ifd0Count + 4;
  const uint32_t textsAt = subAt + (hasSubIfd ? 2 + 12 * subCount + 4 : 0);
  const uint32_t dateTimeAt = textsAt;
  const uint32_t originalAt = textsAt + (hasDateTime ? static_cast<uint32_t>(c.dateTime.size()) + 1 : 0);

  w.u16(static_cast<uint16_t>(ifd0Count));
  otherEntries(w, c.otherEntries / 2, 0x010F);
  const auto pointer = [&] {
    if (hasSubIfd) w.entry(0x8769, kLong, 1, subAt);
  };
  const auto dateTime = [&] {
    if (hasDateTime) w.entry(0x0132, kAscii, static_cast<uint32_t>(c.dateTime.size() + 1), dateTimeAt);
  };
  if (c.pointerBeforeDateTime) {
    pointer();
    dateTime();
  } else {
    dateTime();
    pointer();
  }
  otherEntries(w, c.otherEntries - c.otherEntries / 2, 0x0213);
  w.u32(0);  // no IFD1
  if (hasSubIfd) {
    w.u16(static_cast<uint16_t>(subCount));
    otherEntries(w, c.otherEntries / 2, 0x829A);
    w.entry(0x9003, kAscii, static_cast<uint32_t>(c.dateTimeOriginal.size() + 1), originalAt);
    otherEntries(w, c.otherEntries - c.otherEntries / 2, 0x9204);
    if (hasSubSec) {
      const QByteArray text = withNul(c.subSecTimeOriginal);
      const uint32_t textAt = originalAt + static_cast<uint32_t>(c.dateTimeOriginal.size()) + 1;
      if (text.size() <= 4) {
        ByteWriter inlineText(c.bigEndian);
        inlineText.bytes(text + QByteArray(4 - text.size(), '\0'));
        w.u16(0x9291).u16(kAscii).u32(static_cast<uint32_t>(text.size())).bytes(inlineText.data());
      } else {
        w.entry(0x9291, kAscii, static_cast<uint32_t>(text.size()), textAt);
      }
    }
    w.u32(0);
  }
  if (hasDateTime) w.bytes(withNul(c.dateTime));
  if (hasSubIfd) w.bytes(withNul(c.dateTimeOriginal));
  if (hasSubSec && c.subSecTimeOriginal.size() + 1 > 4) w.bytes(withNul(c.subSecTimeOriginal));
  return w.data();
}

QByteArray exifBody(const QByteArray& tiff) { return QByteArray("Exif\0\0", 6) + tiff; }

JpegBuilder::JpegBuilder() : data_("\xFF\xD8", 2) {}

JpegBuilder& JpegBuilder::segment(uint8_t code, const QByteArray& body) {
  return segmentWithLength(code, static_cast<uint16_t>(body.size() + 2), body);
}

JpegBuilder& JpegBuilder::segmentWithLength(uint8_t code, uint16_t length, const QByteArray& body) {
  ByteWriter w(true);
  w.u8(0xFF).u8(code).u16(length).bytes(body);
  data_.append(w.data());
  return *this;
}

JpegBuilder& JpegBuilder::app0Jfif() {
  ByteWriter w(true);
  w.bytes(QByteArray("JFIF\0", 5)).u8(1).u8(1).u8(0).u16(1).u16(1).u8(0).u8(0);
  return segment(0xE0, w.data());
}

JpegBuilder& JpegBuilder::dqt() {
  ByteWriter w(true);
  w.u8(0);
  for (int i = 0; i < 64; ++i) w.u8(static_cast<uint8_t>(1 + i % 16));
  return segment(0xDB, w.data());
}

JpegBuilder& JpegBuilder::frame(uint8_t code, uint8_t precision, uint16_t height, uint16_t width,
                                uint8_t components) {
  ByteWriter w(true);
  w.u8(precision).u16(height).u16(width).u8(components);
  for (uint8_t i = 1; i <= components; ++i) w.u8(i).u8(i == 1 ? 0x22 : 0x11).u8(i == 1 ? 0 : 1);
  return segment(code, w.data());
}

JpegBuilder& JpegBuilder::scanAndEnd() {
  ByteWriter w(true);
  w.u8(3);
  for (uint8_t i = 1; i <= 3; ++i) w.u8(i).u8(0);
  w.u8(0).u8(63).u8(0);
  segment(0xDA, w.data());
  data_.append(QByteArray("\x12\x34\xFF\x00\x56\x78\x9A", 7));
  data_.append(QByteArray("\xFF\xD9", 2));
  return *this;
}

JpegBuilder& JpegBuilder::raw(const QByteArray& bytes) {
  data_.append(bytes);
  return *this;
}

QByteArray exifJpeg(const ExifContent& content, uint16_t width, uint16_t height) {
  return JpegBuilder()
      .app0Jfif()
      .app1(exifBody(exifTiff(content)))
      .dqt()
      .frame(0xC0, 8, height, width)
      .scanAndEnd()
      .bytes();
}

}  // namespace testsupport
