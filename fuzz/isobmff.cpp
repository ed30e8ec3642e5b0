// Fuzzes the ISO base media reader on whole files: HEIF/HEIC/AVIF items (iinf, iloc, iprp,
// idat, the Exif item's TIFF block) and CR3 (Canon box, CMT1/CMT2, PRVW preview).
#include "fuzz/PictureFuzzSupport.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8 || std::memcmp(data + 4, "ftyp", 4) != 0) return 0;  // movies: the quicktime target
  fuzzsupport::readPicture(std::span(data, size));
  return 0;
}
