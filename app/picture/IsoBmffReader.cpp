#include "app/picture/IsoBmffReader.h"

#include "app/picture/HeifReader.h"
#include "app/picture/IsoBox.h"
#include "app/picture/MovieReader.h"

using isobmff::Box;
using isobmff::fourcc;

bool LooksLikeIsoBmff(PictureBytes& bytes) {
  std::array<uint8_t, 8> head{};
  if (!container::readExact(bytes, 0, head.data(), 8)) return false;
  switch (container::be32(&head[4])) {
    case fourcc("ftyp"):
    case fourcc("moov"):
    case fourcc("mdat"):
    case fourcc("wide"):
    case fourcc("free"):
    case fourcc("skip"):
    case fourcc("pnot"):
      return true;
    default:
      return false;
  }
}

void ReadIsoBmffInfos(PictureBytes& bytes, JpegInfosClass& info) {
  bool metaRead = false;
  bool movieRead = false;
  isobmff::forEachBox(bytes, 0, bytes.size(), [&](const Box& box) {
    if (box.type == fourcc("meta") && !metaRead) {
      metaRead = true;
      ReadHeifMeta(bytes, box, info);
    } else if (box.type == fourcc("moov") && !movieRead) {
      movieRead = true;
      ReadMovie(bytes, box, info);
    }
    return true;
  });
}
