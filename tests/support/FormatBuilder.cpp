#include "tests/support/FormatBuilder.h"

namespace testsupport {

QByteArray be16(uint16_t value) { return ByteWriter(true).u16(value).data(); }
QByteArray be32(uint32_t value) { return ByteWriter(true).u32(value).data(); }
QByteArray be64(uint64_t value) { return be32(static_cast<uint32_t>(value >> 32)) + be32(static_cast<uint32_t>(value)); }

QByteArray box(const char* type, const QByteArray& payload) {
  return be32(static_cast<uint32_t>(8 + payload.size())) + QByteArray(type, 4) + payload;
}
QByteArray box64(const char* type, const QByteArray& payload) {
  return be32(1) + QByteArray(type, 4) + be64(static_cast<uint64_t>(16 + payload.size())) + payload;
}
QByteArray boxToEnd(const char* type, const QByteArray& payload) { return be32(0) + QByteArray(type, 4) + payload; }
QByteArray fullBox(const char* type, uint8_t version, uint32_t flags, const QByteArray& payload) {
  return box(type, QByteArray(1, static_cast<char>(version)) + be32(flags).mid(1) + payload);
}

QByteArray mvhd(uint8_t version, uint64_t created) {
  const QByteArray times = version == 1 ? be64(created) + be64(created + 20) + be32(600) + be64(6000)
                                        : be32(static_cast<uint32_t>(created)) + be32(static_cast<uint32_t>(created + 20)) +
                                              be32(600) + be32(6000);
  return fullBox("mvhd", version, 0, times + QByteArray(80, '\0'));
}

QByteArray trak(uint8_t version, uint16_t width, uint16_t height) {
  const QByteArray times = version == 1 ? QByteArray(32, '\1') : QByteArray(20, '\1');
  const QByteArray tkhd = fullBox("tkhd", version, 7, times + QByteArray(52, '\0') + be32(uint32_t{width} << 16) +
                                                         be32(uint32_t{height} << 16));
  return box("trak", tkhd + box("mdia", QByteArray(12, '\0')));
}

QByteArray appleCreationMeta(const QByteArray& dateText) {
  const auto key = [](const QByteArray& name) { return be32(static_cast<uint32_t>(8 + name.size())) + "mdta" + name; };
  const auto item = [](uint32_t index, const QByteArray& value) {
    return be32(static_cast<uint32_t>(8 + 16 + value.size())) + be32(index) + box("data", be32(1) + be32(0) + value);
  };
  const QByteArray keys = fullBox("keys", 0, 0, be32(2) + key("com.apple.quicktime.make") +
                                                    key("com.apple.quicktime.creationdate"));
  const QByteArray ilst = box("ilst", item(1, "Apple") + item(2, dateText));
  return box("meta", box("hdlr", QByteArray(4, '\0') + "mhlrmdta" + QByteArray(12, '\0')) + keys + ilst);
}

QByteArray heifFile(const HeifContent& c) {
  const QByteArray ftyp = box("ftyp", QByteArray("heic") + be32(0) + "mif1heic");
  const QByteArray exifItem = c.tiff.isEmpty() ? QByteArray() : be32(6) + exifBody(c.tiff);
  const QByteArray image(c.imageBytes, '\x11');
  const auto infe = [](uint16_t id, const char* type) { return fullBox("infe", 2, 0, be16(id) + be16(0) + type + QByteArray(1, '\0')); };
  const QByteArray iinf = fullBox("iinf", 0, 0, be16(c.tiff.isEmpty() ? 1 : 2) + infe(1, "hvc1") +
                                                    (c.tiff.isEmpty() ? QByteArray() : infe(2, "Exif")));
  const QByteArray iprp =
      box("iprp", box("ipco", fullBox("ispe", 0, 0, be32(8000) + be32(6000)) + fullBox("ispe", 0, 0, be32(c.width) + be32(c.height))) +
                      fullBox("ipma", 0, 0, be32(1) + be16(1) + QByteArray(1, '\x01') + QByteArray(1, '\x82')));
  const QByteArray idat = c.exifInIdat ? box("idat", exifItem) : QByteArray();
  // Locations are known once the meta box's size is: build it twice.
  const auto build = [&](uint32_t imageAt, uint32_t exifAt) {
    const auto location = [&](uint16_t id, uint16_t method, uint32_t offset, uint32_t length) {
      return be16(id) + (c.ilocVersion >= 1 ? be16(method) : QByteArray()) + be16(0) + be16(1) + be32(offset) + be32(length);
    };
    QByteArray items = location(1, 0, imageAt, static_cast<uint32_t>(image.size()));
    if (!c.tiff.isEmpty()) {
      items += location(2, c.exifInIdat ? 1 : 0, c.exifInIdat ? 0 : exifAt, static_cast<uint32_t>(exifItem.size()));
    }
    const QByteArray iloc = fullBox("iloc", c.ilocVersion, 0, be16(0x4400) + be16(c.tiff.isEmpty() ? 1 : 2) + items);
    const QByteArray hdlr = fullBox("hdlr", 0, 0, be32(0) + "pict" + QByteArray(13, '\0'));
    return fullBox("meta", 0, 0, hdlr + fullBox("pitm", 0, 0, be16(1)) + iloc + iinf + iprp + idat);
  };
  const QByteArray sizing = build(0, 0);
  const auto mdatStart = static_cast<uint32_t>(ftyp.size() + sizing.size() + 8);
  const QByteArray data = c.exifAtEnd || c.exifInIdat ? image + (c.exifInIdat ? QByteArray() : exifItem) : exifItem + image;
  const uint32_t imageAt = c.exifAtEnd || c.exifInIdat ? mdatStart : mdatStart + static_cast<uint32_t>(exifItem.size());
  const uint32_t exifAt = c.exifAtEnd ? mdatStart + static_cast<uint32_t>(image.size()) : mdatStart;
  return ftyp + build(imageAt, exifAt) + box("mdat", data);
}

QByteArray exifIfdTiff(bool bigEndian, const QByteArray& dateTimeOriginal) {
  ByteWriter w(bigEndian);
  w.bytes(bigEndian ? "MM" : "II").u16(42).u32(8);
  w.u16(2).entry(0x829A, 5, 1, 50).entry(0x9003, 2, 20, 8 + 2 + 24 + 4).u32(0);
  w.bytes(dateTimeOriginal + QByteArray(1, '\0'));
  return w.data();
}

QByteArray cr3File(const QByteArray& cmt1, const QByteArray& cmt2, uint64_t created) {
  static const QByteArray kCanon = QByteArray::fromHex("85c0b687820f11e08111f4ce462b6a48");
  const QByteArray canon = box("uuid", kCanon + box("CNCV", "CanonCR3_001/00.09.00/00.00.00") + box("CMT1", cmt1) + box("CMT2", cmt2));
  return box("ftyp", QByteArray("crx ") + be32(1) + "crx isom") + box("moov", canon + mvhd(0, created) + trak(0, 0, 0)) +
         box("mdat", QByteArray(64, '\0'));
}

QByteArray rawFile(const RawContent& content) {
  RawContent c = content;
  if (!c.jpeg.isEmpty()) c.jpegLength = static_cast<int>(c.jpeg.size());
  constexpr uint16_t kShort = 3, kLong = 4, kAscii = 2;
  ByteWriter w(c.bigEndian);
  const uint16_t magic = c.magic;
  w.bytes(c.bigEndian ? "MM" : "II").u16(magic).u32(8);
  // Layout: IFD0 (8 entries) at 8, IFD1 (2) , SubIFD (3), Exif IFD (1), texts, JPEG.
  const uint32_t ifd0 = 8, ifd1 = ifd0 + 2 + 8 * 12 + 4, sub = ifd1 + 2 + 2 * 12 + 4, exif = sub + 2 + 3 * 12 + 4;
  const uint32_t texts = exif + 2 + 12 + 4, jpeg = texts + 40;
  w.u16(8).entry(0x0100, kShort, 1, c.bigEndian ? (c.width / 8) << 16 : c.width / 8);
  w.entry(0x0101, kLong, 1, c.height / 8).entry(0x0102, kShort, 1, c.bigEndian ? 8u << 16 : 8u);
  w.entry(0x0115, kShort, 1, c.bigEndian ? 3u << 16 : 3u).entry(0x0132, kAscii, 20, texts);
  w.entry(0x014A, kLong, 1, sub).entry(0x8769, kLong, 1, exif).entry(0x0213, kShort, 1, 0).u32(ifd1);
  w.u16(2).entry(0x0201, kLong, 1, jpeg).entry(0x0202, kLong, 1, static_cast<uint32_t>(c.jpegLength)).u32(0);
  w.u16(3).entry(0x0100, kLong, 1, c.width).entry(0x0101, kLong, 1, c.height);
  w.entry(0x0102, kShort, 1, c.bigEndian ? 14u << 16 : 14u).u32(0);
  w.u16(1).entry(0x9003, kAscii, 20, texts + 20).u32(0);
  w.bytes(c.dateTime + QByteArray(1, '\0') + c.dateTimeOriginal + QByteArray(1, '\0'));
  w.bytes(c.jpeg.isEmpty() ? QByteArray("\xFF\xD8\xFF\xD9", 4) + QByteArray(c.jpegLength - 4, '\0') : c.jpeg);
  return w.data();
}

QByteArray pngFile(uint32_t width, uint32_t height, const QByteArray& exifBlock, bool exifAfterImage) {
  const auto chunk = [](const char* type, const QByteArray& data) {
    return be32(static_cast<uint32_t>(data.size())) + QByteArray(type, 4) + data + be32(0);  // CRC not checked
  };
  const QByteArray exif = exifBlock.isEmpty() ? QByteArray() : chunk("eXIf", exifBlock);
  const QByteArray head = QByteArray::fromHex("89504e470d0a1a0a") +
                          chunk("IHDR", be32(width) + be32(height) + QByteArray::fromHex("0806000000"));
  const QByteArray image = chunk("IDAT", QByteArray(100, '\x22')) + chunk("IDAT", QByteArray(100, '\x23'));
  return head + (exifAfterImage ? image + exif : exif + image) + chunk("IEND", QByteArray());
}

QByteArray webpFile(uint16_t width, uint16_t height, const QByteArray& exifBlock) {
  ByteWriter w(false);
  const auto chunk = [&](const char* type, const QByteArray& data) {
    w.bytes(QByteArray(type, 4)).u32(static_cast<uint32_t>(data.size())).bytes(data);
    if (data.size() % 2) w.u8(0);
  };
  ByteWriter vp8x(false);
  vp8x.u32(0x08).u16(static_cast<uint16_t>(width - 1)).u8(0).u16(static_cast<uint16_t>(height - 1)).u8(0);
  chunk("VP8X", vp8x.data());
  chunk("VP8L", QByteArray(9, '\x2F'));
  if (!exifBlock.isEmpty()) chunk("EXIF", exifBlock);
  ByteWriter riff(false);
  riff.bytes("RIFF").u32(static_cast<uint32_t>(4 + w.size())).bytes("WEBP").bytes(w.data());
  return riff.data();
}

QByteArray rafFile(const QByteArray& jpeg) {
  QByteArray header = QByteArray("FUJIFILMCCD-RAW 0201FF383501") + QByteArray(56, '\0');
  header += be32(100) + be32(static_cast<uint32_t>(jpeg.size()));
  header += QByteArray(100 - header.size(), '\0');
  return header + jpeg;
}

}  // namespace testsupport
