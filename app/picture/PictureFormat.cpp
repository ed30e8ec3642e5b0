#include "app/picture/PictureFormat.h"

#include "app/picture/ContainerBytes.h"
#include "app/picture/ExifTiff.h"
#include "app/picture/IsoBmffReader.h"
#include "app/picture/IsoBox.h"
#include "app/picture/JpegReader.h"
#include "app/picture/PictureCursor.h"
#include "app/picture/PngWebpReader.h"
#include "app/picture/SliceBytes.h"

#include <array>
#include <cstring>

namespace {

constexpr char kRafMagic[] = "FUJIFILMCCD-RAW ";
constexpr int64_t kRafJpegField = 84;  // big-endian offset then length of the embedded JPEG

bool looksLikeTiff(PictureBytes& bytes) {
  std::array<uint8_t, 4> h{};
  if (!container::readExact(bytes, 0, h.data(), 4)) return false;
  if (h[0] == 'I' && h[1] == 'I') {
    const uint16_t magic = container::le16(&h[2]);
    return magic == 42 || magic == 0x55 || magic == 0x4F52 || magic == 0x5352;
  }
  return h[0] == 'M' && h[1] == 'M' && (container::be16(&h[2]) == 42 || container::be16(&h[2]) == 0x4F52);
}

bool looksLikeRaf(PictureBytes& bytes) {
  std::array<uint8_t, 16> h{};
  return container::readExact(bytes, 0, h.data(), 16) && std::memcmp(h.data(), kRafMagic, 16) == 0;
}

// The embedded JPEG of a RAF, inside the data; length 0 when its fields are cut or wrong.
EmbeddedJpeg rafJpeg(PictureBytes& bytes) {
  std::array<uint8_t, 8> f{};
  if (!container::readExact(bytes, kRafJpegField, f.data(), 8)) return {};
  const int64_t offset = container::be32(f.data());
  const int64_t length = container::be32(&f[4]);
  if (offset > bytes.size() || length > bytes.size() - offset) return {};
  return EmbeddedJpeg{offset, length};
}

void readTiffFile(PictureBytes& bytes, JpegInfosClass& info) {
  Cursor cursor(bytes);
  const auto header = ReadTiffHeader(cursor, 0, info, TiffMagic::kRaw);
  if (!header) return;
  const TiffImages images = ReadTiffImages(bytes, 0, *header);
  if (images.width > 0) container::setPictureSize(info, images.width, images.height, images.bits, images.samples);
  ReadExifTiff(cursor, 0, info, TiffMagic::kRaw);
}

void readRaf(PictureBytes& bytes, JpegInfosClass& info) {
  const EmbeddedJpeg jpeg = rafJpeg(bytes);
  SliceBytes embedded(bytes, jpeg.offset, jpeg.length);
  ReadJpegInfos(embedded, info);
}

// The preview of a CR3: the JPEG of the PRVW box inside the top-level preview uuid box.
EmbeddedJpeg cr3Preview(PictureBytes& bytes) {
  using isobmff::fourcc;
  static constexpr std::array<uint8_t, 16> kPreviewUuid{0xea, 0xf4, 0x2b, 0x5e, 0x1c, 0x98, 0x4b, 0x88,
                                                        0xb9, 0xfb, 0xb7, 0xdc, 0x40, 0x6e, 0x4d, 0x16};
  EmbeddedJpeg found;
  isobmff::forEachBox(bytes, 0, bytes.size(), [&](const isobmff::Box& box) {
    std::array<uint8_t, 16> id{};
    if (box.type != fourcc("uuid") || !container::readExact(bytes, box.payload, id.data(), 16) || id != kPreviewUuid) {
      return true;
    }
    // 16 bytes of identifier, 8 of the box's own, then PRVW: 12 bytes of fields, the JPEG's
    // length, the JPEG.
    const auto prvw = isobmff::findBox(bytes, box.payload + 24, box.end, fourcc("PRVW"));
    if (!prvw) return false;
    isobmff::FieldReader r(bytes, prvw->payload, prvw->end);
    r.skip(12);
    const auto length = static_cast<int64_t>(r.u32());
    if (r.ok() && length <= prvw->end - r.pos()) found = EmbeddedJpeg{r.pos(), length};
    return false;
  });
  return found;
}

}  // namespace

PictureFormat DetectPictureFormat(PictureBytes& bytes) {
  std::array<uint8_t, 2> soi{};
  if (container::readExact(bytes, 0, soi.data(), 2) && soi[0] == 0xFF && soi[1] == 0xD8) return PictureFormat::kJpeg;
  if (looksLikeTiff(bytes)) return PictureFormat::kTiff;
  if (LooksLikeIsoBmff(bytes)) return PictureFormat::kIsoBmff;
  if (LooksLikePng(bytes)) return PictureFormat::kPng;
  if (LooksLikeWebp(bytes)) return PictureFormat::kWebp;
  if (looksLikeRaf(bytes)) return PictureFormat::kRaf;
  return PictureFormat::kUnknown;
}

void ReadPictureInfos(PictureBytes& bytes, JpegInfosClass& info) {
  switch (DetectPictureFormat(bytes)) {
    case PictureFormat::kTiff: return readTiffFile(bytes, info);
    case PictureFormat::kIsoBmff: return ReadIsoBmffInfos(bytes, info);
    case PictureFormat::kPng: return ReadPngInfos(bytes, info);
    case PictureFormat::kWebp: return ReadWebpInfos(bytes, info);
    case PictureFormat::kRaf: return readRaf(bytes, info);
    case PictureFormat::kJpeg:
    case PictureFormat::kUnknown: return ReadJpegInfos(bytes, info);
  }
}

EmbeddedJpeg LargestEmbeddedJpeg(PictureBytes& bytes) {
  switch (DetectPictureFormat(bytes)) {
    case PictureFormat::kTiff: {
      Cursor cursor(bytes);
      JpegInfosClass ignored;
      const auto header = ReadTiffHeader(cursor, 0, ignored, TiffMagic::kRaw);
      return header ? ReadTiffImages(bytes, 0, *header).largestJpeg : EmbeddedJpeg{};
    }
    case PictureFormat::kRaf: return rafJpeg(bytes);
    case PictureFormat::kIsoBmff: return cr3Preview(bytes);
    default: return {};
  }
}
