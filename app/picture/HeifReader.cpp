#include "app/picture/HeifReader.h"

#include "app/picture/ExifTiff.h"
#include "app/picture/PictureCursor.h"
#include "app/picture/SliceBytes.h"

#include <vector>

using isobmff::Box;
using isobmff::FieldReader;
using isobmff::fourcc;

namespace {

// Entries of item tables looked at; extents that take no bytes must not spin.
constexpr uint64_t kMaxEntries = 1 << 16;

struct ItemLocation {
  uint64_t method = 0;  // 0: offsets in the file, 1: in the "idat" box
  uint64_t offset = 0;
  uint64_t length = 0;  // 0: to the end of the file or idat
  uint64_t extents = 0;
};

struct Property {
  uint32_t type = 0;
  uint64_t width = 0, height = 0;  // ispe
  uint64_t bits = 0, channels = 0;  // pixi
};

struct Meta {
  std::optional<uint64_t> primary;
  std::optional<uint64_t> exifItem;
  std::optional<ItemLocation> exifLocation;
  std::optional<Box> idat;
  std::vector<Property> properties;     // ipco, in order (associations count from 1)
  std::vector<uint64_t> primaryProperties;
};

void readPrimary(PictureBytes& bytes, const Box& box, Meta& meta) {
  FieldReader r(bytes, box.payload, box.end);
  const uint64_t version = r.u8();
  r.skip(3);
  const uint64_t id = version == 0 ? r.u16() : r.u32();
  if (r.ok()) meta.primary = id;
}

void readItemInfo(PictureBytes& bytes, const Box& box, Meta& meta) {
  FieldReader r(bytes, box.payload, box.end);
  const uint64_t version = r.u8();
  r.skip(3);
  (void)(version == 0 ? r.u16() : r.u32());  // entry count: the boxes that follow say it as well
  if (!r.ok()) return;
  isobmff::forEachBox(bytes, r.pos(), box.end, [&](const Box& infe) {
    if (infe.type != fourcc("infe")) return true;
    FieldReader e(bytes, infe.payload, infe.end);
    const uint64_t v = e.u8();
    e.skip(3);
    if (v < 2) return true;  // old entries carry no item type
    const uint64_t id = v == 2 ? e.u16() : e.u32();
    e.u16();  // protection index
    if (e.u32() == fourcc("Exif") && e.ok()) meta.exifItem = id;
    return !meta.exifItem;
  });
}

void readItemLocations(PictureBytes& bytes, const Box& box, Meta& meta) {
  if (!meta.exifItem) return;
  FieldReader r(bytes, box.payload, box.end);
  const uint64_t version = r.u8();
  r.skip(3);
  const uint64_t sizes = r.u16();
  const uint64_t offsetSize = sizes >> 12, lengthSize = (sizes >> 8) & 15, baseSize = (sizes >> 4) & 15;
  const uint64_t indexSize = (version == 1 || version == 2) ? sizes & 15 : 0;
  const uint64_t items = version < 2 ? r.u16() : r.u32();
  uint64_t entries = 0;
  for (uint64_t i = 0; i < items && r.ok() && entries < kMaxEntries; ++i, ++entries) {
    const uint64_t id = version < 2 ? r.u16() : r.u32();
    ItemLocation location;
    if (version == 1 || version == 2) location.method = r.u16() & 15;
    r.u16();  // data reference index
    const uint64_t base = r.sized(baseSize);
    location.extents = r.u16();
    for (uint64_t x = 0; x < location.extents && r.ok() && entries < kMaxEntries; ++x, ++entries) {
      r.sized(indexSize);
      const uint64_t offset = r.sized(offsetSize);
      const uint64_t length = r.sized(lengthSize);
      if (x == 0) {
        location.offset = base + offset;
        location.length = length;
      }
    }
    if (r.ok() && id == *meta.exifItem) {
      meta.exifLocation = location;
      return;
    }
  }
}

void readProperties(PictureBytes& bytes, const Box& iprp, Meta& meta) {
  if (const auto ipco = isobmff::findBox(bytes, iprp.payload, iprp.end, fourcc("ipco"))) {
    isobmff::forEachBox(bytes, ipco->payload, ipco->end, [&](const Box& box) {
      Property p{box.type};
      FieldReader r(bytes, box.payload, box.end);
      r.skip(4);  // version and flags
      if (box.type == fourcc("ispe")) {
        p.width = r.u32();
        p.height = r.u32();
      } else if (box.type == fourcc("pixi")) {
        p.channels = r.u8();
        p.bits = r.u8();
      }
      meta.properties.push_back(r.ok() ? p : Property{box.type});
      return true;
    });
  }
  const auto ipma = isobmff::findBox(bytes, iprp.payload, iprp.end, fourcc("ipma"));
  if (!ipma || !meta.primary) return;
  FieldReader r(bytes, ipma->payload, ipma->end);
  const uint64_t version = r.u8();
  const uint64_t flags = r.u16() << 8 | r.u8();
  const uint64_t count = r.u32();
  for (uint64_t i = 0; i < count && i < kMaxEntries && r.ok(); ++i) {
    const uint64_t id = version < 1 ? r.u16() : r.u32();
    const uint64_t associations = r.u8();
    for (uint64_t a = 0; a < associations && r.ok(); ++a) {
      const uint64_t index = (flags & 1) ? (r.u16() & 0x7FFF) : (r.u8() & 0x7F);
      if (id == *meta.primary && r.ok()) meta.primaryProperties.push_back(index);
    }
    if (id == *meta.primary) return;
  }
}

void readExifItem(PictureBytes& bytes, const Meta& meta, JpegInfosClass& info) {
  const ItemLocation& at = *meta.exifLocation;
  if (at.extents != 1 || at.method > 1 || (at.method == 1 && !meta.idat)) return;
  const int64_t areaStart = at.method == 1 ? meta.idat->payload : 0;
  const int64_t areaEnd = at.method == 1 ? meta.idat->end : bytes.size();
  if (at.offset > static_cast<uint64_t>(areaEnd - areaStart)) return;
  const int64_t start = areaStart + static_cast<int64_t>(at.offset);
  const int64_t room = areaEnd - start;
  const int64_t length = (at.length == 0 || at.length > static_cast<uint64_t>(room)) ? room : static_cast<int64_t>(at.length);
  SliceBytes item(bytes, start, length);
  std::array<uint8_t, 4> b{};
  if (!container::readExact(item, 0, b.data(), 4)) return;
  const uint32_t headerOffset = container::be32(b.data());
  if (headerOffset > item.size() - 4) return;
  Cursor cursor(item);
  ReadExifTiff(cursor, SkipExifPrefix(item, 4 + int64_t{headerOffset}), info);
}

void setSize(const Meta& meta, JpegInfosClass& info) {
  const Property* size = nullptr;
  const Property* depth = nullptr;
  for (uint64_t index : meta.primaryProperties) {
    if (index == 0 || index > meta.properties.size()) continue;
    const Property& p = meta.properties[index - 1];
    if (p.type == fourcc("ispe") && !size) size = &p;
    if (p.type == fourcc("pixi") && !depth) depth = &p;
  }
  if (!size) {
    for (const Property& p : meta.properties) {
      if (p.type == fourcc("ispe") && (!size || p.width * p.height > size->width * size->height)) size = &p;
    }
  }
  if (!size) return;
  container::setPictureSize(info, static_cast<int64_t>(size->width), static_cast<int64_t>(size->height),
                            depth ? depth->bits : 0, depth ? depth->channels : 0);
}

}  // namespace

void ReadHeifMeta(PictureBytes& bytes, const Box& box, JpegInfosClass& info) {
  Meta meta;
  const int64_t children = isobmff::metaChildren(bytes, box);
  std::optional<Box> iloc;
  std::optional<Box> iprp;
  isobmff::forEachBox(bytes, children, box.end, [&](const Box& child) {
    if (child.type == fourcc("pitm")) readPrimary(bytes, child, meta);
    if (child.type == fourcc("iinf")) readItemInfo(bytes, child, meta);
    if (child.type == fourcc("iloc") && !iloc) iloc = child;
    if (child.type == fourcc("idat") && !meta.idat) meta.idat = child;
    if (child.type == fourcc("iprp") && !iprp) iprp = child;
    return true;
  });
  // Locations and properties are read once the items they speak of are known, in whatever
  // order the boxes came.
  if (iloc) readItemLocations(bytes, *iloc, meta);
  if (iprp) readProperties(bytes, *iprp, meta);
  setSize(meta, info);
  if (meta.exifLocation) readExifItem(bytes, meta, info);
}
