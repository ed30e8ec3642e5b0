#include "app/picture/PngWebpReader.h"

#include "app/picture/ContainerBytes.h"
#include "app/picture/ExifTiff.h"
#include "app/picture/PictureCursor.h"
#include "app/picture/SliceBytes.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Chunks followed per file: a bound for files made of millions of empty chunks.
constexpr int kMaxChunks = 1 << 20;

bool startsWith(PictureBytes& bytes, int64_t pos, const char* text) {
  std::array<uint8_t, 8> b{};
  const auto length = static_cast<int64_t>(std::strlen(text));
  return container::readExact(bytes, pos, b.data(), length) && std::memcmp(b.data(), text, static_cast<size_t>(length)) == 0;
}

// The EXIF block of a chunk: its TIFF header, with or without "Exif" 0 0 before it.
void readExifChunk(PictureBytes& bytes, int64_t start, int64_t length, JpegInfosClass& info) {
  SliceBytes chunk(bytes, start, length);
  Cursor cursor(chunk);
  ReadExifTiff(cursor, SkipExifPrefix(chunk, 0), info);
}

int64_t pngSamples(uint8_t colourType) {
  switch (colourType) {
    case 0: return 1;  // grey
    case 2: return 3;  // RGB
    case 3: return 1;  // palette
    case 4: return 2;  // grey and alpha
    case 6: return 4;  // RGBA
    default: return 0;
  }
}

void readVp8Size(PictureBytes& bytes, uint32_t type, int64_t data, JpegInfosClass& info) {
  std::array<uint8_t, 10> b{};
  if (type == container::be32(reinterpret_cast<const uint8_t*>("VP8X"))) {
    if (!container::readExact(bytes, data, b.data(), 10)) return;
    const int64_t width = 1 + (b[4] | (b[5] << 8) | (b[6] << 16));
    const int64_t height = 1 + (b[7] | (b[8] << 8) | (b[9] << 16));
    container::setPictureSize(info, width, height);
  } else if (type == container::be32(reinterpret_cast<const uint8_t*>("VP8 "))) {
    if (!container::readExact(bytes, data, b.data(), 10) || b[3] != 0x9D || b[4] != 0x01 || b[5] != 0x2A) return;
    container::setPictureSize(info, container::le16(&b[6]) & 0x3FFF, container::le16(&b[8]) & 0x3FFF);
  } else if (type == container::be32(reinterpret_cast<const uint8_t*>("VP8L"))) {
    if (!container::readExact(bytes, data, b.data(), 5) || b[0] != 0x2F) return;
    const uint32_t bits = container::le32(&b[1]);
    container::setPictureSize(info, 1 + (bits & 0x3FFF), 1 + ((bits >> 14) & 0x3FFF));
  }
}

}  // namespace

bool LooksLikePng(PictureBytes& bytes) {
  std::array<uint8_t, 8> head{};
  return container::readExact(bytes, 0, head.data(), 8) && head == kPngSignature;
}

bool LooksLikeWebp(PictureBytes& bytes) { return startsWith(bytes, 0, "RIFF") && startsWith(bytes, 8, "WEBP"); }

void ReadPngInfos(PictureBytes& bytes, JpegInfosClass& info) {
  int64_t pos = 8;
  for (int n = 0; n < kMaxChunks; ++n) {
    std::array<uint8_t, 8> head{};
    if (!container::readExact(bytes, pos, head.data(), 8)) return;
    const int64_t length = container::be32(head.data());
    const int64_t data = pos + 8;
    const std::string_view type(reinterpret_cast<const char*>(&head[4]), 4);
    if (type == "IHDR") {
      std::array<uint8_t, 10> h{};
      if (container::readExact(bytes, data, h.data(), 10)) {
        container::setPictureSize(info, container::be32(h.data()), container::be32(&h[4]), h[8], pngSamples(h[9]));
      }
    } else if (type == "eXIf") {
      readExifChunk(bytes, data, length, info);
      return;
    } else if (type == "IEND") {
      return;
    }
    pos = data + length + 4;  // data and CRC
  }
}

void ReadWebpInfos(PictureBytes& bytes, JpegInfosClass& info) {
  std::array<uint8_t, 4> riffSize{};
  if (!container::readExact(bytes, 4, riffSize.data(), 4)) return;
  const int64_t end = std::min<int64_t>(bytes.size(), 8 + int64_t{container::le32(riffSize.data())});
  bool sized = false;
  int64_t pos = 12;
  for (int n = 0; n < kMaxChunks && pos + 8 <= end; ++n) {
    std::array<uint8_t, 8> head{};
    if (!container::readExact(bytes, pos, head.data(), 8)) return;
    const uint32_t type = container::be32(head.data());
    const int64_t length = container::le32(&head[4]);
    const int64_t data = pos + 8;
    if (!sized) {
      readVp8Size(bytes, type, data, info);
      sized = info.ImgWidth() != 0;
    }
    if (type == container::be32(reinterpret_cast<const uint8_t*>("EXIF"))) {
      readExifChunk(bytes, data, std::min(length, end - data), info);
      return;
    }
    pos = data + length + (length & 1);  // chunks are padded to an even length
  }
}
