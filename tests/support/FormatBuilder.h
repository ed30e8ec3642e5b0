#pragma once
// Builds the containers of the formats beyond JPEG byte by byte for the reader tests: ISO
// boxes (HEIF, CR3, MP4/QuickTime), TIFF raw files, PNG, WebP and RAF.

#include "tests/support/JpegBuilder.h"

#include <QByteArray>

#include <cstdint>

namespace testsupport {

// An ISO box: 32-bit size, type, payload.
QByteArray box(const char* type, const QByteArray& payload);
// The same with size 1 and a 64-bit size after the type.
QByteArray box64(const char* type, const QByteArray& payload);
// The same with size 0: the box runs to the end of its parent or of the file.
QByteArray boxToEnd(const char* type, const QByteArray& payload);
// A full box: version and 24-bit flags before the payload.
QByteArray fullBox(const char* type, uint8_t version, uint32_t flags, const QByteArray& payload);
// Big-endian integers.
QByteArray be16(uint16_t value);
QByteArray be32(uint32_t value);
QByteArray be64(uint64_t value);

// Movie header (version 0: 32-bit times; 1: 64-bit) created at seconds since 1904.
QByteArray mvhd(uint8_t version, uint64_t created);
// A track with a track header of that version and size.
QByteArray trak(uint8_t version, uint16_t width, uint16_t height);
// A QuickTime "meta" box holding Apple's creation-date key among other keys.
QByteArray appleCreationMeta(const QByteArray& dateText);

// A HEIF picture: ftyp, meta (hdlr, pitm 1, iinf with a hvc1 item 1 and an Exif item 2,
// iloc, iprp with a larger ispe that no item uses and the ispe of item 1), mdat with the Exif item (4-byte header offset, then
// "Exif" 0 0 and the TIFF block), placed after the image data when exifAtEnd.
struct HeifContent {
  QByteArray tiff;  // empty: no Exif item
  uint32_t width = 4032, height = 3024;
  uint8_t ilocVersion = 1;
  bool exifAtEnd = false;
  bool exifInIdat = false;  // construction method 1
  int imageBytes = 300;     // coded image data in mdat
};
QByteArray heifFile(const HeifContent& content);

// A CR3: ftyp "crx ", moov (Canon uuid with CMT1 = IFD0 and CMT2 = Exif IFD, mvhd).
QByteArray cr3File(const QByteArray& cmt1, const QByteArray& cmt2, uint64_t created);
// A TIFF block whose IFD0 holds DateTimeOriginal directly, as CMT2 is.
QByteArray exifIfdTiff(bool bigEndian, const QByteArray& dateTimeOriginal);

// A TIFF-based raw file: IFD0 (a small thumbnail of width x height / 8, DateTime, Exif
// pointer, SubIFDs) chained to IFD1 (a JPEG preview of jpegLength bytes), one SubIFD holding
// the raw image of width x height, an Exif sub-IFD with DateTimeOriginal.
struct RawContent {
  bool bigEndian = false;
  uint16_t magic = 42;
  uint32_t width = 6000, height = 4000;
  QByteArray dateTime = "2021:02:05 10:56:53";
  QByteArray dateTimeOriginal = "2021:02:05 10:56:50";
  int jpegLength = 64;
  QByteArray jpeg;  // the preview itself; empty: a stub of jpegLength bytes
};
QByteArray rawFile(const RawContent& content);

QByteArray pngFile(uint32_t width, uint32_t height, const QByteArray& exifBlock, bool exifAfterImage);
QByteArray webpFile(uint16_t width, uint16_t height, const QByteArray& exifBlock);
// A RAF: its header, then the JPEG its offset and length fields name.
QByteArray rafFile(const QByteArray& jpeg);

}  // namespace testsupport
