// Fuzzes the TIFF and TIFF-based raw reader (DNG, CR2, NEF, ARW, ORF, RW2, PEF, SRW): the
// input is a whole file; inputs that do not start as TIFF are left to the picture target.
#include "fuzz/PictureFuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || !((data[0] == 'I' && data[1] == 'I') || (data[0] == 'M' && data[1] == 'M'))) return 0;
  fuzzsupport::readPicture(std::span(data, size));
  return 0;
}
