#include "app/picture/MovieReader.h"

#include "app/picture/ExifTiff.h"
#include "app/picture/PictureCursor.h"
#include "app/picture/QuickTimeDates.h"
#include "app/picture/SliceBytes.h"
#include "app/picture/TiffImages.h"

#include <array>
#include <vector>

using isobmff::Box;
using isobmff::FieldReader;
using isobmff::fourcc;

namespace {

constexpr std::array<uint8_t, 16> kCanonUuid{0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f, 0x11, 0xe0,
                                             0x81, 0x11, 0xf4, 0xce, 0x46, 0x2b, 0x6a, 0x48};
constexpr std::string_view kCreationKey = "com.apple.quicktime.creationdate";
constexpr uint64_t kMaxKeys = 1 << 12;

struct Movie {
  uint64_t created = 0;  // movie header, seconds since 1904 UTC
  std::optional<rt::DateValue> appleDate;
  int64_t width = 0, height = 0;
};

bool isCanonBox(PictureBytes& bytes, const Box& box) {
  std::array<uint8_t, 16> id{};
  return box.type == fourcc("uuid") && container::readExact(bytes, box.payload, id.data(), 16) && id == kCanonUuid;
}

// CMT1 (IFD0) and CMT2 (the Exif IFD) of a CR3.
void readCanonBox(PictureBytes& bytes, const Box& uuid, JpegInfosClass& info) {
  isobmff::forEachBox(bytes, uuid.payload + 16, uuid.end, [&](const Box& box) {
    SliceBytes block(bytes, box.payload, box.end - box.payload);
    Cursor cursor(block);
    if (box.type == fourcc("CMT1")) {
      JpegInfosClass ifd0;
      if (const auto header = ReadTiffHeader(cursor, 0, ifd0)) {
        ReadExifTiff(cursor, 0, ifd0);
        if (ifd0.ModifDate() > 0) info.SetModifDate(ifd0.ModifDate());
        const TiffImages images = ReadTiffImages(block, 0, *header);
        if (images.width > 0) container::setPictureSize(info, images.width, images.height, images.bits, images.samples);
      }
    } else if (box.type == fourcc("CMT2")) {
      if (const auto date = ReadExifIfdDate(cursor, 0)) info.SetCreateDate(*date);
    }
    return true;
  });
}

void readMovieHeader(PictureBytes& bytes, const Box& box, Movie& movie) {
  FieldReader r(bytes, box.payload, box.end);
  const uint64_t version = r.u8();
  r.skip(3);
  const uint64_t created = version == 1 ? r.u64() : r.u32();
  if (r.ok()) movie.created = created;
}

void readTrack(PictureBytes& bytes, const Box& trak, Movie& movie) {
  const auto tkhd = isobmff::findBox(bytes, trak.payload, trak.end, fourcc("tkhd"));
  if (!tkhd || movie.width > 0) return;
  FieldReader r(bytes, tkhd->payload, tkhd->end);
  const uint64_t version = r.u8();
  r.skip(version == 1 ? 3 + 32 + 52 : 3 + 20 + 52);  // times, id, duration; layer..matrix
  const uint64_t width = r.u32() >> 16, height = r.u32() >> 16;  // 16.16 fixed point
  if (r.ok() && width > 0 && height > 0) {
    movie.width = static_cast<int64_t>(width);
    movie.height = static_cast<int64_t>(height);
  }
}

// The 1-based index of the creation-date key in a "keys" box, or 0.
uint64_t creationKeyIndex(PictureBytes& bytes, const Box& keys) {
  FieldReader r(bytes, keys.payload, keys.end);
  r.skip(4);
  const uint64_t count = r.u32();
  for (uint64_t i = 1; i <= count && i <= kMaxKeys && r.ok(); ++i) {
    const int64_t start = r.pos();
    const uint64_t size = r.u32();
    r.u32();  // namespace
    if (!r.ok() || size < 8 || size - 8 > 255) return 0;
    std::array<uint8_t, 255> name{};
    const auto length = static_cast<int64_t>(size - 8);
    if (!container::readExact(bytes, r.pos(), name.data(), length) || r.pos() + length > keys.end) return 0;
    if (std::string_view(reinterpret_cast<const char*>(name.data()), static_cast<size_t>(length)) == kCreationKey) return i;
    r.skip(start + static_cast<int64_t>(size) - r.pos());
  }
  return 0;
}

// The Apple metadata of a movie: "keys" names the entries of "ilst" by position.
void readAppleMeta(PictureBytes& bytes, const Box& meta, Movie& movie) {
  const int64_t children = isobmff::metaChildren(bytes, meta);
  const auto keys = isobmff::findBox(bytes, children, meta.end, fourcc("keys"));
  const auto ilst = isobmff::findBox(bytes, children, meta.end, fourcc("ilst"));
  if (!keys || !ilst) return;
  const uint64_t index = creationKeyIndex(bytes, *keys);
  if (index == 0) return;
  isobmff::forEachBox(bytes, ilst->payload, ilst->end, [&](const Box& entry) {
    if (entry.type != index) return true;
    const auto data = isobmff::findBox(bytes, entry.payload, entry.end, fourcc("data"));
    if (!data) return true;
    std::array<uint8_t, 64> text{};
    const int64_t length = std::min<int64_t>(data->end - data->payload - 8, text.size());
    if (length >= 19 && container::readExact(bytes, data->payload + 8, text.data(), length)) {
      movie.appleDate = DateFromAppleText(std::span(text.data(), static_cast<size_t>(length)));
    }
    return !movie.appleDate;  // a key may come twice (one per language); the first date wins
  });
}

}  // namespace

void ReadMovie(PictureBytes& bytes, const Box& moov, JpegInfosClass& info) {
  Movie movie;
  isobmff::forEachBox(bytes, moov.payload, moov.end, [&](const Box& box) {
    if (box.type == fourcc("mvhd")) readMovieHeader(bytes, box, movie);
    if (box.type == fourcc("trak")) readTrack(bytes, box, movie);
    if (box.type == fourcc("meta") && !movie.appleDate) readAppleMeta(bytes, box, movie);
    if (isCanonBox(bytes, box)) readCanonBox(bytes, box, info);
    return true;
  });
  if (info.CreateDate() <= 0) {
    if (movie.appleDate) {
      info.SetCreateDate(*movie.appleDate);
    } else if (const auto date = LocalDateFromMovieTime(movie.created)) {
      info.SetCreateDate(*date);
    }
  }
  if (info.ImgWidth() == 0 && info.ImgHeight() == 0 && movie.width > 0) {
    container::setPictureSize(info, movie.width, movie.height);
  }
}
