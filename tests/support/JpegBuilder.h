#pragma once
// Builds JPEG files byte by byte for the picture-reader tests: marker segments, frame headers,
// EXIF APP1 segments with a TIFF block in either byte order.

#include <QByteArray>

#include <cstdint>

namespace testsupport {

// Appends integers in a chosen byte order.
class ByteWriter {
 public:
  explicit ByteWriter(bool bigEndian) : bigEndian_(bigEndian) {}

  ByteWriter& u8(uint8_t value);
  ByteWriter& u16(uint16_t value);
  ByteWriter& u32(uint32_t value);
  ByteWriter& bytes(const QByteArray& value);
  // One 12-byte IFD entry.
  ByteWriter& entry(uint16_t tag, uint16_t type, uint32_t count, uint32_t value);
  // Overwrites 4 bytes at position at.
  void patchU32(qsizetype at, uint32_t value);

  qsizetype size() const { return data_.size(); }
  const QByteArray& data() const { return data_; }
  bool bigEndian() const { return bigEndian_; }

 private:
  bool bigEndian_;
  QByteArray data_;
};

// What a TIFF block built by exifTiff holds. Empty texts leave their entry out.
struct ExifContent {
  bool bigEndian = false;
  QByteArray dateTime;          // IFD0 0x0132
  QByteArray dateTimeOriginal;  // Exif sub-IFD 0x9003 (the sub-IFD exists when this is set)
  QByteArray subSecTimeOriginal;  // Exif sub-IFD 0x9291, after the other entries (inline when it fits)
  bool pointerBeforeDateTime = false;
  int otherEntries = 2;          // ordinary entries around the ones that matter, in each IFD
  int paddingBeforeIfd0 = 0;     // bytes between the TIFF header and IFD0
};

// A TIFF block (header, IFD0, Exif sub-IFD, IFD1 link 0, date texts) as a camera writes it.
QByteArray exifTiff(const ExifContent& content);

// "Exif" 0 0 followed by the TIFF block: the body of an EXIF APP1 segment.
QByteArray exifBody(const QByteArray& tiff);

// A JPEG file assembled segment by segment; starts with SOI.
class JpegBuilder {
 public:
  JpegBuilder();

  // Marker 0xFF code, a length counting itself (body size + 2, truncated to 16 bits), body.
  JpegBuilder& segment(uint8_t code, const QByteArray& body);
  // The same with a length of our choosing (for wrong lengths).
  JpegBuilder& segmentWithLength(uint8_t code, uint16_t length, const QByteArray& body);
  JpegBuilder& app0Jfif();
  JpegBuilder& app1(const QByteArray& body) { return segment(0xE1, body); }
  JpegBuilder& dqt();
  // A frame header: precision, lines, samples per line, components (3 component descriptions).
  JpegBuilder& frame(uint8_t code, uint8_t precision, uint16_t height, uint16_t width,
                     uint8_t components = 3);
  // SOS header, some entropy-coded bytes, EOI.
  JpegBuilder& scanAndEnd();
  JpegBuilder& raw(const QByteArray& bytes);

  const QByteArray& bytes() const { return data_; }

 private:
  QByteArray data_;
};

// A small complete picture: APP0, an EXIF APP1 with content, DQT, SOF0 of the given size,
// a scan and EOI.
QByteArray exifJpeg(const ExifContent& content, uint16_t width = 640, uint16_t height = 480);

}  // namespace testsupport
