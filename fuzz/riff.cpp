// Fuzzes the chunk readers on whole files: PNG (IHDR, eXIf), WebP (RIFF: VP8X, VP8, VP8L,
// EXIF) and RAF (header, embedded JPEG).
#include "fuzz/PictureFuzzSupport.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto startsWith = [&](const char* magic, size_t length) { return size >= length && std::memcmp(data, magic, length) == 0; };
  if (!startsWith("\x89PNG", 4) && !startsWith("RIFF", 4) && !startsWith("FUJIFILM", 8)) return 0;
  fuzzsupport::readPicture(std::span(data, size));
  return 0;
}
