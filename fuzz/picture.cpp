// Fuzzes the picture reader: the input is a picture file's bytes, read through the same core
// as files on disk. Failures the reader reports are expected; crashes, reads outside the
// input, undefined behaviour and hangs are not.
#include "fuzz/PictureFuzzSupport.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = fuzzsupport::setUpPictureReader();
  (void)ready;
  const JpegInfosClass info = PictureInfosFromBytes(std::span(data, size));
  // A size can only come from a frame header, which needs at least SOI, marker, length and
  // six bytes.
  if ((info.ImgWidth() != 0 || info.Layers() != 0) && size < 12) std::abort();
  return 0;
}
